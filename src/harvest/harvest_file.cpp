#include "harvest/harvest_files.h"
#include "harvest/harvest_records.h"
#include "store/load_guard.h"
#include "store/text_pool.h"
#include "store/xml_store.h"

#include <QFile>

// shukaku.xml: <data><shukaku hi="2025-07-14"><crop/><hatake/><ryou/><tani/><note/></shukaku>...
// nikki.xml:   <data><nikki hi="2025-07-14" kind=""><text/><crop/><hatake/><photo/>...</nikki>...
// A record lacking a part, or with a date that is no date, stops the reading:
// the file is then kept aside before the next save, as every data file is.

namespace {

int digits(QStringView text) {
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// YYYY-MM-DD and nothing else; read by hand, since a long log has thousands.
QDate readDate(const store::XmlNode& node, store::TextPool& pool) {
    const QString text = node.text("@hi", pool);
    QDate date;
    if (text.size() == 10 && text[4] == u'-' && text[7] == u'-')
        date = QDate(digits(QStringView(text).left(4)), digits(QStringView(text).mid(5, 2)),
                     digits(QStringView(text).mid(8, 2)));
    if (!date.isValid() || date.year() < 1)
        throw store::XmlError("invalid date");
    return date;
}

QString dateAttribute(const QDate& date) {
    return date.toString(Qt::ISODate);
}

// The text of an optional child: empty when it is not there.
QString optionalText(const store::XmlNode& node, const char* name, store::TextPool& pool) {
    const QList<store::XmlNode> found = node.select(name);
    return found.isEmpty() ? QString() : found.first().text(".", pool);
}

void readShukaku(const store::XmlNode& node, TShukaku& record, store::TextPool& pool) {
    record.date = readDate(node, pool);
    record.crop = node.text("crop", pool);
    record.hatake = node.text("hatake", pool);
    record.ryou = node.text("ryou", pool);
    record.tani = node.text("tani", pool);
    record.note = optionalText(node, "note", pool);
}

void writeShukaku(store::XmlWriter& out, const TShukaku& record) {
    out.startElement("shukaku");
    out.attribute("hi", dateAttribute(record.date));
    out.textElement("crop", record.crop);
    out.textElement("hatake", record.hatake);
    out.textElement("ryou", record.ryou);
    out.textElement("tani", record.tani);
    out.textElement("note", record.note);
    out.endElement();
}

void readNikki(const store::XmlNode& node, TNikki& record, store::TextPool& pool) {
    record.date = readDate(node, pool);
    record.kind = node.select("@kind").isEmpty() ? QString() : node.text("@kind", pool);
    record.text = node.text("text");
    record.crop = optionalText(node, "crop", pool);
    record.hatake = optionalText(node, "hatake", pool);
    for (const store::XmlNode& photo : node.select("photo"))
        record.photos << photo.text(".");
}

void writeNikki(store::XmlWriter& out, const TNikki& record) {
    out.startElement("nikki");
    out.attribute("hi", dateAttribute(record.date));
    if (!record.kind.isEmpty())
        out.attribute("kind", record.kind);
    out.textElement("text", record.text);
    out.textElement("crop", record.crop);
    out.textElement("hatake", record.hatake);
    for (const QString& photo : record.photos)
        out.textElement("photo", photo);
    out.endElement();
}

// The shared frame of both files: records are appended only when read in full.
template <class List, class Read>
bool loadList(List& list, const QString& path, const char* message, const char* element,
              store::MessageSink& sink, Read read) {
    list.clear();
    if (!QFile::exists(path))
        return true;
    const auto readAll = [&](store::RecordReader& records) {
        store::TextPool pool;
        while (const auto node = records.next(element)) {
            typename std::remove_reference_t<decltype(*list.at(0))> record;
            read(*node, record, pool);
            *list.add() = std::move(record);
        }
    };
    return store::loadDocument(path, sink, message, readAll, [&list] { list.clear(); });
}

} // namespace

bool TShukakuList::LoadFromFile(const QString& folder, store::MessageSink& sink) {
    return loadList(*this, folder + kShukakuFileName, LoadFailedShukaku, "shukaku", sink, readShukaku);
}

bool TShukakuList::SaveToFile(const QString& folder, store::MessageSink& sink) const {
    return store::saveDocument(folder + kShukakuFileName, sink, SaveFailedShukaku,
                               [this](store::XmlWriter& out) {
                                   for (const auto& record : m_items)
                                       writeShukaku(out, *record);
                               });
}

bool TNikkiList::LoadFromFile(const QString& folder, store::MessageSink& sink) {
    return loadList(*this, folder + kNikkiFileName, LoadFailedNikki, "nikki", sink, readNikki);
}

bool TNikkiList::SaveToFile(const QString& folder, store::MessageSink& sink) const {
    return store::saveDocument(folder + kNikkiFileName, sink, SaveFailedNikki, [this](store::XmlWriter& out) {
        for (const auto& record : m_items)
            writeNikki(out, *record);
    });
}
