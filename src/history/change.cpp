#include "history/change.h"

#include <QStringList>

namespace history {

namespace {

const QByteArray kHeader = "aobaroku-history 1";

const char* const kKindNames[] = {"command", "undo", "redo", "restore", "unreadable"};
const char* const kStatusNames[] = {"open", "intent", "closed"};

template <class Enum, size_t N>
std::optional<Enum> fromName(const QString& text, const char* const (&names)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (text == QLatin1String(names[i]))
            return Enum(i);
    return std::nullopt;
}

void line(QByteArray& out, const char* key, const QString& value) {
    out += key;
    out += ' ';
    out += value.toUtf8();
    out += '\n';
}

void writeFile(QByteArray& out, const FileChange& f) {
    line(out, "file", f.file);
    if (!f.existedBefore)
        line(out, "before", QStringLiteral("none"));
    else if (f.lost())
        line(out, "before", QStringLiteral("lost"));
    else
        line(out, "before", QStringLiteral("kept %1 %2").arg(f.kept).arg(f.keptBytes));
    // Lines of their own: a reader that does not know them passes them by.
    if (!f.keptHash.isEmpty())
        line(out, "hash", f.keptHash);
    line(out, "records", QStringLiteral("%1 %2").arg(f.recordsBefore).arg(f.recordsAfter));
    line(out, "after", f.after.text());
    if (f.external)
        line(out, "external", QStringLiteral("1"));
    if (f.pending)
        line(out, "pending", QStringLiteral("1"));
    if (f.hasConfirmed)
        line(out, "confirmed", f.confirmedAfter.text() + QStringLiteral(" %1").arg(f.confirmedRecords));
    if (!f.goal.isEmpty() || f.goalRecords != -1)
        line(out, "goal",
             (f.goal.isEmpty() ? QStringLiteral("none") : f.goal) + QStringLiteral(" %1").arg(f.goalRecords));
    if (!f.goalHash.isEmpty())
        line(out, "goalcheck", QStringLiteral("%1 ").arg(f.goalBytes) + f.goalHash);
}

int number(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok ? n : -1;
}

ChangeId idNumber(const QString& text) {
    bool ok = false;
    const ChangeId n = text.toLongLong(&ok);
    return ok ? n : -1;
}

// One "key value" line of a file entry; false when the value makes no sense.
bool readFileLine(FileChange& f, const QString& key, const QString& value) {
    const QStringList words = value.split(QLatin1Char(' '));
    if (key == QLatin1String("before")) {
        f.existedBefore = words[0] != QLatin1String("none");
        if (words[0] == QLatin1String("kept")) {
            if (words.size() != 3 || words[1].isEmpty())
                return false;
            bool ok = false;
            f.kept = words[1];
            f.keptBytes = words[2].toLongLong(&ok);
            if (!ok || f.keptBytes < 0)
                return false;
        }
    } else if (key == QLatin1String("hash")) {
        f.keptHash = value;
    } else if (key == QLatin1String("records") && words.size() == 2) {
        f.recordsBefore = number(words[0]);
        f.recordsAfter = number(words[1]);
    } else if (key == QLatin1String("after")) {
        f.after = FileIdentity::fromText(value);
    } else if (key == QLatin1String("external")) {
        f.external = true;
    } else if (key == QLatin1String("pending")) {
        f.pending = true;
    } else if (key == QLatin1String("confirmed") && words.size() == 2) {
        f.hasConfirmed = true;
        f.confirmedAfter = FileIdentity::fromText(words[0]);
        f.confirmedRecords = number(words[1]);
    } else if (key == QLatin1String("goal") && words.size() == 2) {
        f.goal = words[0] == QLatin1String("none") ? QString() : words[0];
        f.goalRecords = number(words[1]);
    } else if (key == QLatin1String("goalcheck") && words.size() == 2) {
        f.goalBytes = words[0].toLongLong();
        f.goalHash = words[1];
    }
    return true;
}

bool readChangeLine(Change& c, const QString& key, const QString& value) {
    if (key == QLatin1String("id"))
        c.id = idNumber(value);
    else if (key == QLatin1String("kind")) {
        const auto kind = fromName<ChangeKind>(value, kKindNames);
        if (!kind)
            return false;
        c.kind = *kind;
    } else if (key == QLatin1String("target"))
        c.target = number(value);
    else if (key == QLatin1String("time"))
        c.time = QDateTime::fromString(value, Qt::ISODate);
    else if (key == QLatin1String("name"))
        c.name = value;
    else if (key == QLatin1String("status")) {
        const auto status = fromName<ChangeStatus>(value, kStatusNames);
        if (!status)
            return false;
        c.status = *status;
    }
    return true;
}

} // namespace

FileChange* Change::file(const QString& name) {
    for (FileChange& f : files)
        if (f.file == name)
            return &f;
    return nullptr;
}

const FileChange* Change::file(const QString& name) const {
    return const_cast<Change*>(this)->file(name);
}

qint64 Change::keptBytes() const {
    qint64 bytes = 0;
    for (const FileChange& f : files)
        bytes += f.keptBytes;
    return bytes;
}

QByteArray serialize(const Change& change) {
    QByteArray out = kHeader + '\n';
    line(out, "id", QString::number(change.id));
    line(out, "kind", QLatin1String(kKindNames[int(change.kind)]));
    line(out, "target", QString::number(change.target));
    line(out, "time", change.time.toString(Qt::ISODate));
    line(out, "name", change.name);
    line(out, "status", QLatin1String(kStatusNames[int(change.status)]));
    for (const FileChange& f : change.files)
        writeFile(out, f);
    out += "end\n";
    return out;
}

std::optional<Change> parseChange(const QByteArray& bytes) {
    const QList<QByteArray> lines = bytes.split('\n');
    // The last element is what follows the final line end: nothing.
    if (lines.size() < 3 || lines.first() != kHeader || lines[lines.size() - 2] != "end" ||
        !lines.last().isEmpty())
        return std::nullopt;
    Change change;
    FileChange* current = nullptr;
    for (qsizetype i = 1; i < lines.size() - 2; ++i) {
        const QString text = QString::fromUtf8(lines[i]);
        const qsizetype space = text.indexOf(QLatin1Char(' '));
        const QString key = space < 0 ? text : text.left(space);
        const QString value = space < 0 ? QString() : text.mid(space + 1);
        if (key == QLatin1String("file")) {
            if (value.isEmpty())
                return std::nullopt;
            change.files.append(FileChange{});
            current = &change.files.last();
            current->file = value;
        } else if (!(current ? readFileLine(*current, key, value) : readChangeLine(change, key, value))) {
            return std::nullopt;
        }
    }
    if (change.id <= 0 || !change.time.isValid())
        return std::nullopt;
    return change;
}

} // namespace history
