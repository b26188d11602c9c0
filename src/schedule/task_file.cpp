#include "schedule/task_records.h"

#include "store/load_guard.h"
#include "store/messages.h"
#include "store/text_lines.h"
#include "store/text_pool.h"
#include "store/xml_store.h"

#include <QFile>

namespace {

std::unique_ptr<TYotei> readTask(const store::XmlNode& node, store::TextPool& pool) {
    auto task = std::make_unique<TYotei>();
    ReadTaskElement(node, *task, pool);
    return task;
}

} // namespace

void ReadTaskElement(const store::XmlNode& node, TYotei& task, store::TextPool& pool) {
    task.name = node.text("@name", pool);
    task.state = node.text("@state", pool);
    task.tuki = node.text("@tuki", pool);
    task.shuu = node.text("@shuu", pool);
    task.note = store::splitLines(node.text("."));
}

void WriteTaskElement(store::XmlWriter& out, const TYotei& task) {
    out.startElement("yotei");
    out.attribute("name", task.name);
    out.attribute("tuki", task.tuki);
    out.attribute("shuu", task.shuu);
    // Only the done mark is kept: a task added in this run is plainly open at the next start.
    out.attribute("state", task.isDone() ? kYoteiDone : QString());
    out.textLines(task.note);
    out.endElement();
}

bool TYoteiList::LoadFromFile(const QString& folder, store::MessageSink& sink) {
    clear();
    const QString path = folder + kYoteiFileName;
    if (!QFile::exists(path))
        return true;
    // A damaged schedule must not pass for an empty one: it gives the message, and
    // its bytes are copied aside before the next save replaces it.
    const auto read = [this](store::RecordReader& records) {
        store::TextPool pool;
        while (const auto node = records.next("yotei"))
            m_items.push_back(readTask(*node, pool));
    };
    return store::loadDocument(path, sink, msg::LoadFailed, read, [this] { clear(); });
}

bool TYoteiList::SaveToFile(const QString& folder, store::MessageSink& sink) const {
    return store::saveDocument(folder + kYoteiFileName, sink, msg::SaveFailed, [this](store::XmlWriter& out) {
        for (const auto& task : m_items)
            WriteTaskElement(out, *task);
    });
}
