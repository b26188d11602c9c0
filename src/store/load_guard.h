#pragma once

#include "store/message_sink.h"
#include "store/record_reader.h"
#include "store/save_file.h"
#include "store/xml_store.h"
#include "store/xml_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace store {

// The common frame of every loader: a missing file is quietly empty; an
// unparsable file or a record that breaks the reading gives the one message,
// and the file is kept aside before the next save replaces it. Records read in
// full before a record breaks the reading stay. A file that breaks off gives
// none, as one that cannot be parsed at all: its records come before the break
// is found, and discardRecords takes them back.
template <class ReadRecords, class DiscardRecords>
bool loadDocument(const QString& path, MessageSink& sink, const char* message, ReadRecords readRecords,
                  DiscardRecords discardRecords) {
    const auto fail = [&] {
        noteUnreadable(path);
        sink.loadFailed(QString::fromUtf8(message), path);
        return false;
    };
    try {
        RecordReader records = RecordReader::open(path);
        bool recordsWhole = true;
        try {
            readRecords(records);
        } catch (const std::exception&) {
            recordsWhole = false;
        }
        records.finish();
        if (records.broken()) {
            discardRecords();
            return fail();
        }
        if (!recordsWhole)
            return fail();
        if (records.foreignRoot())
            noteUnreadable(path);
        if (SaveRecorder* recorder = saveRecorder())
            recorder->fileRead(path, records.counts());
    } catch (const std::exception&) {
        return fail();
    }
    return true;
}

// The common frame of every saver: writes the records into a fresh document,
// replaces the file atomically, and reports the one message on any failure,
// with the cause on a line of its own when it is one the user can act on.
template <class WriteRecords>
bool saveDocument(const QString& path, MessageSink& sink, const char* message, WriteRecords writeRecords) {
    try {
        XmlWriter out(QFileInfo(path).size());
        writeRecords(out);
        const QByteArray bytes = out.finish();
        saveBytes(path, bytes, out.counts());
    } catch (const std::exception& e) {
        const QString cause = failureCause(e);
        sink.message(QString::fromUtf8(message) + (cause.isEmpty() ? QString() : QLatin1Char('\n') + cause));
        if (SaveRecorder* recorder = saveRecorder())
            recorder->saveFailed(path);
        return false;
    }
    return true;
}

} // namespace store
