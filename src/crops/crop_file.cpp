#include "crops/crop_records.h"
#include "store/load_guard.h"
#include "store/messages.h"
#include "store/text_lines.h"
#include "store/xml_store.h"

namespace {

std::unique_ptr<TSakumotu> readCrop(const store::XmlNode& node) {
    auto crop = std::make_unique<TSakumotu>();
    crop->name = node.text("@name");
    crop->kamoku = node.text("@kamoku");
    crop->okiniiri1 = node.text("okiniiri1");
    crop->okiniiri2 = node.text("okiniiri2");
    crop->joukan = node.text("joukan");
    crop->kabukan1 = node.text("kabukan1");
    crop->kabukan2 = node.text("kabukan2");
    for (const store::XmlNode& j : node.select("jiki")) {
        const QString st = j.text("@st");
        const QString ed = j.text("@ed");
        TJiki* period = crop->jiki.add();
        period->st = st;
        period->ed = ed;
    }
    crop->memo = store::splitLines(node.text("memo"));
    return crop;
}

void writeCrop(store::XmlWriter& out, const TSakumotu& crop) {
    out.startElement("sakumotu");
    out.attribute("name", crop.name);
    out.attribute("kamoku", crop.kamoku);
    out.textElement("okiniiri1", crop.okiniiri1);
    out.textElement("okiniiri2", crop.okiniiri2);
    out.textElement("joukan", crop.joukan);
    out.textElement("kabukan1", crop.kabukan1);
    out.textElement("kabukan2", crop.kabukan2);
    for (int i = 0; i < crop.jiki.count(); ++i) {
        out.startElement("jiki");
        out.attribute("st", crop.jiki.at(i)->st);
        out.attribute("ed", crop.jiki.at(i)->ed);
        out.endElement();
    }
    out.startElement("memo");
    out.textLines(crop.memo);
    out.endElement();
    out.endElement();
}

} // namespace

bool TSakumotuList::LoadFromFile(const QString& folder, store::MessageSink& sink) {
    clear();
    const auto read = [this](store::RecordReader& records) {
        while (const auto node = records.next("sakumotu"))
            m_items.push_back(readCrop(*node));
    };
    return store::loadDocument(folder + kCropFileName, sink, msg::LoadFailed, read, [this] { clear(); });
}

bool TSakumotuList::SaveToFile(const QString& folder, store::MessageSink& sink) const {
    return store::saveDocument(folder + kCropFileName, sink, msg::SaveFailed, [this](store::XmlWriter& out) {
        for (const auto& crop : m_items)
            if (crop->name != kDummyCropName)
                writeCrop(out, *crop);
    });
}
