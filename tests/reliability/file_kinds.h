#pragma once

#include "store/message_sink.h"
#include "support/files.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

// The data files seen from outside: every kind loads into and saves from one
// flat form, so that one test can drive all of them alike. A record is the list
// of its texts, repeated parts (periods, lines, entries) spelled out in order.
namespace rel {

using Record = QStringList;
using Records = QList<Record>;

// One piece of a record that a reader must find, as a path relative to the
// record's element ("@name", "memo", "jiki/@st").
struct RequiredPiece {
    const char* path;
};

struct Kind {
    QString id;
    QString fileName;
    QString loadMessage;
    QString saveMessage;
    // The element of one record, as an absolute path; empty for the page, which is never read.
    const char* recordPath = "";
    // Records before the first one under recordPath: the plan's own name and colours.
    int headerRecords = 0;
    QList<RequiredPiece> required;

    // Fills out with what was read; returns the loader's own result.
    std::function<bool(const QString& folder, Records& out, store::MessageSink& sink)> load;
    // Saves a list built from the records; after gets what that list holds once the save is done.
    std::function<bool(const QString& folder, const Records& records, store::MessageSink& sink,
                       Records* after)>
        save;
    // The records 0..n-1 of a fixed, endless sequence, different from kind to kind.
    std::function<Records(int n)> sample;
    // Replaces every text field of the records with text, keeping the shape;
    // fields that are numbers or marks keep their value.
    std::function<Records(const Records& records, const QString& text)> fillText;

    bool readable() const { return *recordPath != '\0'; }
};

// Crops, plans, tasks, purchases, favourites and the favourites page.
const QList<Kind>& kinds();
const Kind& kind(const QString& id);
QList<Kind> readableKinds();

// The folder path with its final slash, as the loaders take it.
QString folderOf(const QString& dir);

using testsupport::readBytes;
using testsupport::writeBytes;

// Every file below dir with its bytes, by path relative to dir.
QMap<QString, QByteArray> snapshot(const QString& dir);

// Texts that make a reader or writer work: markup characters, code page 932's
// own characters, half-width kana and characters code page 932 cannot hold.
QString mixedText(int n);

} // namespace rel
