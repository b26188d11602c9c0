#include "purchases/purchase_records.h"
#include "store/load_guard.h"
#include "store/messages.h"
#include "store/text_pool.h"
#include "store/xml_store.h"

#include <QFile>

namespace {

// A missing attribute or child throws, so a purchase is appended only when read in full.
std::unique_ptr<TCost> readCost(const store::XmlNode& node, store::TextPool& pool) {
    auto cost = std::make_unique<TCost>();
    cost->nen = node.text("@nen", pool);
    cost->tuki = node.text("@tuki", pool);
    cost->hi = node.text("@hi", pool);
    for (const store::XmlNode& s : node.select("sina")) {
        const QString name = s.text("name", pool);
        const QString kingaku = s.text("kingaku", pool);
        TSina* line = cost->sina.add();
        line->name = name;
        line->kingaku = kingaku;
    }
    return cost;
}

void writeCost(store::XmlWriter& out, const TCost& cost) {
    out.startElement("cost");
    out.attribute("nen", cost.nen);
    out.attribute("tuki", cost.tuki);
    out.attribute("hi", cost.hi);
    for (int i = 0; i < cost.sina.count(); ++i) {
        out.startElement("sina");
        out.textElement("name", cost.sina.at(i)->name);
        out.textElement("kingaku", cost.sina.at(i)->kingaku);
        out.endElement();
    }
    out.endElement();
}

} // namespace

bool TCostList::LoadFromFile(const QString& folder, store::MessageSink& sink) {
    clear();
    const QString path = folder + kCostFileName;
    if (!QFile::exists(path))
        return true;
    const auto read = [this](store::RecordReader& records) {
        store::TextPool pool;
        while (const auto node = records.next("cost"))
            m_items.push_back(readCost(*node, pool));
    };
    return store::loadDocument(path, sink, msg::LoadFailedCost, read, [this] { clear(); });
}

bool TCostList::SaveToFile(const QString& folder, store::MessageSink& sink) const {
    return store::saveDocument(folder + kCostFileName, sink, msg::SaveFailedCost,
                               [this](store::XmlWriter& out) {
                                   for (const auto& cost : m_items)
                                       writeCost(out, *cost);
                               });
}
