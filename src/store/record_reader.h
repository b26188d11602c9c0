#pragma once

#include "store/save_recorder.h"
#include "store/xml_store.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class QFile;

typedef struct _xmlTextReader xmlTextReader;

namespace store {

// Reads a data file's records one at a time, as the parser meets them. Only
// the record in hand is ever built: the whole document of a ledger of years
// takes many times the file's size, and building it was most of the time the
// program spent reading. The file is held to the rules of a whole parse: a
// break anywhere in it, or a document type, makes it unreadable.
class RecordReader {
public:
    // A missing file reads as one without records; one that cannot be opened is broken.
    static RecordReader open(const QString& path);
    explicit RecordReader(const QByteArray& bytes);
    RecordReader(RecordReader&& other) noexcept;
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;
    RecordReader& operator=(RecordReader&&) = delete;

    // The next element called name under the root, whole, as the path
    // "/data/<name>" selects it; none once the records are over or the file
    // breaks off. The node lives until the next call.
    std::optional<XmlNode> next(const char* name);
    // Reads to the end of the file, so that a break after the last record is found.
    void finish();

    bool broken() const { return m_broken; }
    // A root other than the plain "data": nothing in the file is a record.
    bool foreignRoot() const { return m_foreignRoot; }
    // Of the elements passed so far; complete once finish() has run.
    const ElementCounts& counts() const { return m_counts; }

private:
    RecordReader() = default;
    explicit RecordReader(std::unique_ptr<QFile> file);
    void start();
    bool toNextElementBelowRoot();
    xmlNode* expandCounted();
    void breakOff();

    // What the reader parses, held for as long as it does.
    std::unique_ptr<QFile> m_file;
    QByteArray m_bytes;
    xmlTextReader* m_reader = nullptr;
    bool m_broken = false;
    bool m_foreignRoot = false;
    // The reader stands on an element below the root that has been expanded.
    bool m_onRecord = false;
    ElementCounts m_counts{0, 0};
};

} // namespace store
