#pragma once

#include "store/message_sink.h"
#include "store/save_file.h"
#include "store/xml_store.h"
#include "store/xml_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace store {

// The common frame of every loader: a missing file is quietly empty (when
// mustExist is false the file is not tested first, as the crop loader does);
// an unparsable file or a record that breaks the reading gives the one message.
// Records read in full before the failure stay; the file is kept aside before
// the next save replaces it.
template <class ReadRecords>
bool loadDocument(const QString& path, MessageSink& sink, const char* message, ReadRecords readRecords) {
    try {
        XmlDocument doc = XmlDocument::load(path);
        if (doc.unparsable()) {
            sink.loadFailed(QString::fromUtf8(message), path);
            return false;
        }
        readRecords(doc);
        if (SaveRecorder* recorder = saveRecorder())
            recorder->fileRead(path, doc);
    } catch (const std::exception&) {
        noteUnreadable(path);
        sink.loadFailed(QString::fromUtf8(message), path);
        return false;
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
