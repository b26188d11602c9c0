#include "history/history_naming.h"

#include "store/notebook_files.h"

#include <QSet>

namespace history {

namespace {

const QString kRecordSuffix = QStringLiteral(".change");
const QString kWritingSuffix = QStringLiteral(".change.writing");

QString idText(ChangeId id) {
    return QStringLiteral("%1").arg(id, 8, 10, QLatin1Char('0'));
}

// Only the one spelling idText gives: no sign, no other count of zeros.
ChangeId idOf(const QString& text) {
    if (text.size() < 8 || text.size() > 15)
        return 0;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    const ChangeId id = text.toLongLong();
    return id > 0 && id <= kLargestId && idText(id) == text ? id : 0;
}

ChangeId idBefore(const QString& name, const QString& suffix) {
    return name.endsWith(suffix) ? idOf(name.chopped(suffix.size())) : 0;
}

bool isOwnKept(const Change& change, const FileChange& f) {
    return f.kept.isEmpty() || f.kept == keptName(change.id, f.file);
}

bool isEarlierKept(const Change& change, const FileChange& f) {
    if (f.goal.isEmpty())
        return true;
    const std::optional<KeptName> goal = parseKeptName(f.goal);
    return goal && goal->file == f.file && goal->id < change.id;
}

} // namespace

QString recordName(ChangeId id) {
    return idText(id) + kRecordSuffix;
}

QString recordWritingName(ChangeId id) {
    return idText(id) + kWritingSuffix;
}

ChangeId recordId(const QString& name) {
    return idBefore(name, kRecordSuffix);
}

ChangeId recordWritingId(const QString& name) {
    return idBefore(name, kWritingSuffix);
}

QString keptName(ChangeId id, const QString& dataFile) {
    return idText(id) + QLatin1Char('-') + dataFile;
}

std::optional<KeptName> parseKeptName(const QString& name) {
    const qsizetype dash = name.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return std::nullopt;
    KeptName kept{idOf(name.left(dash)), name.mid(dash + 1)};
    if (kept.id == 0 || !store::isDataFile(kept.file))
        return std::nullopt;
    return kept;
}

bool namesAreOurs(const Change& change) {
    if (change.id <= 0 || change.id > kLargestId || change.target < 0 || change.target >= change.id)
        return false;
    QSet<QString> seen;
    for (const FileChange& f : change.files) {
        if (!store::isDataFile(f.file) || seen.contains(f.file) || !isOwnKept(change, f) ||
            !isEarlierKept(change, f))
            return false;
        seen.insert(f.file);
    }
    return true;
}

} // namespace history
