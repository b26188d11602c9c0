#include "fuzz/fuzz_loaders.h"

#include "plans/plan_records.h"
#include "schedule/task_records.h"
#include "support/messages.h"

#include <QDir>
#include <QTemporaryDir>

namespace rel {

namespace {

QString dataFolder() {
    static QTemporaryDir dir;
    return folderOf(dir.path());
}

void emptyFolder(const QString& folder) {
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(name);
}

// Only the done mark is stored: any other state reads back as open.
Records asStored(const Kind& kind, Records records) {
    if (kind.id == QLatin1String("tasks"))
        for (Record& r : records)
            if (r[1] != kYoteiDone)
                r[1].clear();
    return records;
}

QString checkPlanName(const QString& folder, const QString& fileName, const Records& read, bool readOk) {
    store::RecordingSink sink;
    const QString name = ReadPlanName(folder, fileName, sink);
    if (sink.messages.size() > 1)
        return QStringLiteral("the plan name gave more than one message");
    if (readOk && !sink.messages.isEmpty())
        return QStringLiteral("the plan name failed where the plan loaded");
    if (readOk && !read.isEmpty() && name != read.first().first())
        return QStringLiteral("the plan name differs from the plan's");
    return QString();
}

} // namespace

QString replayThroughLoader(const Kind& kind, const QByteArray& bytes) {
    const QString folder = dataFolder();
    emptyFolder(folder);
    if (!writeBytes(folder + kind.fileName, bytes))
        return QStringLiteral("cannot write the input");

    Records read;
    store::RecordingSink sink;
    const bool ok = kind.load(folder, read, sink);
    if (sink.messages.size() > 1)
        return QStringLiteral("more than one message: ") + sink.messages.join(QLatin1Char('|'));
    if (!sink.messages.isEmpty() && testsupport::firstLine(sink.messages.first()) != kind.loadMessage)
        return QStringLiteral("a message of another file: ") + sink.messages.first();
    if (ok != sink.messages.isEmpty())
        return QStringLiteral("the result and the message disagree");
    if (kind.id == QLatin1String("plans")) {
        const QString broken = checkPlanName(folder, kind.fileName, read, ok);
        if (!broken.isEmpty())
            return broken;
    }

    store::RecordingSink saveSink;
    if (!kind.save(folder, read, saveSink, nullptr))
        return QStringLiteral("what was read cannot be saved");
    const QStringList aside = QDir(folder).entryList({kind.fileName + QStringLiteral(".unreadable-*")});
    if (!ok && aside.isEmpty())
        return QStringLiteral("a file read in part was overwritten without a copy");
    if (aside.size() > 1)
        return QStringLiteral("copied aside more than once");
    if (!aside.isEmpty() && readBytes(folder + aside.first()) != bytes)
        return QStringLiteral("the copy aside differs from the file");

    Records again;
    store::RecordingSink againSink;
    if (!kind.load(folder, again, againSink) || !againSink.messages.isEmpty())
        return QStringLiteral("the saved file does not load");
    if (again != asStored(kind, read))
        return QStringLiteral("what was read changed through a save");
    return QString();
}

} // namespace rel
