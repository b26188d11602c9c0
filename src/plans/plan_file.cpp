#include "plans/plan_records.h"

#include "store/load_guard.h"
#include "store/messages.h"
#include "store/xml_store.h"

#include <QFile>

namespace {

int readNumber(const store::XmlNode& node, const char* path) {
    const std::optional<int> value = wholeNumber(node.text(path));
    if (!value)
        throw store::XmlError(std::string("not a whole number: ") + path);
    return *value;
}

// The offset is forgiving: an empty or garbled text draws the entry in its row.
int readOffset(const store::XmlNode& node) {
    return wholeNumber(node.text("@down")).value_or(0);
}

void readColour(const store::XmlNode& node, const char* path, int& colour) {
    if (!node.select(path).isEmpty())
        colour = readNumber(node, path);
}

std::unique_ptr<TSakumotu2> readEntry(const store::XmlNode& node) {
    auto entry = std::make_unique<TSakumotu2>();
    entry->name = node.text("@name");
    entry->StTuki = node.text("@StTuki");
    entry->StShuu = node.text("@StShuu");
    entry->EdTuki = node.text("@EdTuki");
    entry->EdShuu = node.text("@EdShuu");
    entry->ichi = readNumber(node, "@ichi");
    entry->down = readOffset(node);
    return entry;
}

std::unique_ptr<TGroup> readGroup(const store::XmlNode& node) {
    auto group = std::make_unique<TGroup>();
    group->name = node.text("@name");
    group->order = readNumber(node, "@order");
    for (const store::XmlNode& child : node.select("sakumotu"))
        group->append(readEntry(child));
    group->SortEntries();
    return group;
}

// The first plan of the file; the file holds no other.
store::XmlNode planNode(store::RecordReader& records) {
    const std::optional<store::XmlNode> node = records.next("sakutuke");
    if (!node)
        throw store::XmlError("missing node sakutuke");
    return *node;
}

void writeEntry(store::XmlWriter& out, const TSakumotu2& entry) {
    out.startElement("sakumotu");
    out.attribute("name", entry.name);
    out.attribute("StTuki", entry.StTuki);
    out.attribute("StShuu", entry.StShuu);
    out.attribute("EdTuki", entry.EdTuki);
    out.attribute("EdShuu", entry.EdShuu);
    out.attribute("ichi", QString::number(entry.ichi));
    out.attribute("down", QString::number(entry.down));
    out.endElement();
}

void writeGroup(store::XmlWriter& out, const TGroup& group) {
    out.startElement("group");
    out.attribute("name", group.name);
    out.attribute("order", QString::number(group.order));
    for (int i = 0; i < group.count(); ++i)
        writeEntry(out, *group.at(i));
    out.endElement();
}

} // namespace

bool TGroupList::LoadFromFile(const QString& folder, const QString& fileName, store::MessageSink& sink) {
    // The plan object lives for the whole run: nothing of the previous plan may stay.
    const auto reset = [this] {
        clear();
        name.clear();
        YajirusiColor = 0;
        MojiColor = 0;
        SenColor = 0;
        HaikeiColor = 0xFFFFFF;
    };
    reset();
    const QString path = folder + fileName;
    if (!QFile::exists(path))
        return true;
    return store::loadDocument(
        path, sink, msg::LoadFailed, [this](store::RecordReader& records) { ReadElement(planNode(records)); },
        reset);
}

void TGroupList::ReadElement(const store::XmlNode& plan) {
    name = plan.text("@name");
    readColour(plan, "@YajirusiColor", YajirusiColor);
    readColour(plan, "@MojiColor", MojiColor);
    readColour(plan, "@SenColor", SenColor);
    readColour(plan, "@HaikeiColor", HaikeiColor);
    for (const store::XmlNode& node : plan.select("group"))
        appendGroup(readGroup(node));
    SortGroups();
}

void TGroupList::WriteElement(store::XmlWriter& out, const QString& planName) const {
    out.startElement("sakutuke");
    out.attribute("name", planName);
    out.attribute("YajirusiColor", QString::number(YajirusiColor));
    out.attribute("MojiColor", QString::number(MojiColor));
    out.attribute("SenColor", QString::number(SenColor));
    out.attribute("HaikeiColor", QString::number(HaikeiColor));
    for (const auto& group : m_items)
        writeGroup(out, *group);
    out.endElement();
}

bool TGroupList::SaveToFile(const QString& folder, const QString& planName, const QString& fileName,
                            store::MessageSink& sink) const {
    return store::saveDocument(folder + fileName, sink, msg::SaveFailed,
                               [&](store::XmlWriter& out) { WriteElement(out, planName); });
}

QString ReadPlanName(const QString& folder, const QString& fileName, store::MessageSink& sink) {
    const QString path = folder + fileName;
    QString name;
    if (!QFile::exists(path))
        return name;
    store::loadDocument(
        path, sink, msg::LoadFailed,
        [&name](store::RecordReader& records) { name = planNode(records).text("@name"); },
        [&name] { name.clear(); });
    return name;
}

bool RenameCropInAllPlans(const QString& folder, const QString& oldName, const QString& newName,
                          store::MessageSink& sink) {
    bool allDone = true;
    for (const PlanFileInfo& file : PlanFiles()) {
        TGroupList plan;
        // Writing back only the part that could be read would destroy the rest of the user's plan.
        if (!plan.LoadFromFile(folder, file.fileName, sink)) {
            allDone = false;
            continue;
        }
        plan.RenameCrop(oldName, newName);
        allDone = plan.SaveToFile(folder, plan.name, file.fileName, sink) && allDone;
    }
    return allDone;
}
