#include "favourites/favourite_records.h"
#include "store/load_guard.h"
#include "store/messages.h"
#include "store/xml_store.h"

#include <QFile>

namespace {

// A missing child throws, so a favourite is appended only when read in full.
std::unique_ptr<TOkini> readOkini(const store::XmlNode& node) {
    auto okini = std::make_unique<TOkini>();
    okini->name = node.text("name");
    okini->url = node.text("url");
    okini->memo = node.text("memo");
    return okini;
}

void writeOkini(store::XmlWriter& out, const TOkini& okini) {
    out.startElement("okini");
    out.textElement("name", okini.name);
    out.textElement("url", okini.url);
    out.textElement("memo", okini.memo);
    out.endElement();
}

} // namespace

bool TOkiniList::LoadFromFile(const QString& folder, store::MessageSink& sink) {
    const QString path = folder + kOkiniFileName;
    if (!QFile::exists(path))
        return true;
    const auto read = [this](store::RecordReader& records) {
        while (const auto node = records.next("okini"))
            m_items.push_back(readOkini(*node));
    };
    return store::loadDocument(path, sink, msg::LoadFailedOkini, read, [this] { clear(); });
}

bool TOkiniList::SaveToFile(const QString& folder, store::MessageSink& sink) const {
    return store::saveDocument(folder + kOkiniFileName, sink, msg::SaveFailedOkini,
                               [this](store::XmlWriter& out) {
                                   for (const auto& okini : m_items)
                                       writeOkini(out, *okini);
                               });
}
