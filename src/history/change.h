#pragma once

#include "history/file_identity.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace history {

// Ids only grow; 64 bits never run out, however long a notebook is kept.
using ChangeId = qint64;

// What one change did to one data file. Everything the history window lists is
// here, so that no kept version ever has to be read to list it.
struct FileChange {
    QString file; // its name in the data folder, e.g. "yotei.xml"

    // The version the change replaced: kept under `kept` in the history, or the
    // file did not exist, or it existed but could not be kept.
    bool existedBefore = false;
    QString kept;
    qint64 keptBytes = 0;
    // The kept bytes' checksum (contentHash); empty in records written before
    // there was one, whose versions are then checked by reading them.
    QString keptHash;
    bool lost() const { return existedBefore && kept.isEmpty(); }

    int recordsBefore = -1; // -1: not known
    int recordsAfter = -1;
    FileIdentity after; // the file as the change left it
    // The version replaced was not the one the program last read or wrote.
    bool external = false;

    // A command's save that may not have reached the file yet: written down
    // before the file is renamed into place, settled by the next record.
    bool pending = false;
    bool hasConfirmed = false; // an earlier save of the same change did reach it
    FileIdentity confirmedAfter;
    int confirmedRecords = -1;

    // Undo and restore only: the state they bring the file to, a kept
    // version or (goal empty) no file at all.
    QString goal;
    int goalRecords = -1;
    qint64 goalBytes = -1; // -1: not known
    QString goalHash;
};

enum class ChangeKind { Command, Undo, Redo, Restore, Unreadable };

enum class ChangeStatus {
    Open,   // a command still saving, or one that was killed while it saved
    Intent, // an undo or restore about to write its files, or killed while it did
    Closed,
};

struct Change {
    ChangeId id = 0;
    ChangeKind kind = ChangeKind::Command;
    ChangeId target = 0; // the change undone, redone or restored to
    QDateTime time;
    QString name;
    ChangeStatus status = ChangeStatus::Closed;
    QList<FileChange> files;

    FileChange* file(const QString& name);
    const FileChange* file(const QString& name) const;
    // The bytes of every version this change keeps.
    qint64 keptBytes() const;
};

// A plain text record, one "key value" per line, closed by "end": a record cut
// short is no record at all.
QByteArray serialize(const Change& change);
std::optional<Change> parseChange(const QByteArray& bytes);

} // namespace history
