#include "store/record_reader.h"

#include <QFile>
#include <libxml/parser.h>
#include <libxml/xmlreader.h>
#include <utility>

namespace store {

namespace {

// The options of a whole parse: no entity substitution, no DTD loading, no network.
constexpr int kOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;

bool isPlainElement(const xmlNode* node, const char* name) {
    return !node->ns && xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name));
}

} // namespace

RecordReader RecordReader::open(const QString& path) {
    auto file = std::make_unique<QFile>(path);
    if (!file->exists())
        return RecordReader();
    if (!file->open(QIODevice::ReadOnly)) {
        RecordReader unreadable;
        unreadable.m_broken = true;
        return unreadable;
    }
    return RecordReader(std::move(file));
}

// Read a part at a time as the parser asks: a copy of the whole file would
// cost as much again as parsing it.
RecordReader::RecordReader(std::unique_ptr<QFile> file) : m_file(std::move(file)) {
    initXml();
    m_reader = xmlReaderForFd(m_file->handle(), nullptr, nullptr, kOptions);
    if (m_reader)
        start();
    else
        breakOff();
}

RecordReader::RecordReader(const QByteArray& bytes) : m_bytes(bytes) {
    initXml();
    // The reader parses the bytes in place; m_bytes keeps them alive and unmoved.
    m_reader = xmlReaderForMemory(m_bytes.constData(), int(m_bytes.size()), nullptr, nullptr, kOptions);
    if (m_reader)
        start();
    else
        breakOff();
}

RecordReader::RecordReader(RecordReader&& other) noexcept
    : m_file(std::move(other.m_file)), m_bytes(std::move(other.m_bytes)),
      m_reader(std::exchange(other.m_reader, nullptr)), m_broken(other.m_broken),
      m_foreignRoot(other.m_foreignRoot), m_onRecord(other.m_onRecord), m_counts(other.m_counts) {}

RecordReader::~RecordReader() {
    if (m_reader)
        xmlFreeTextReader(m_reader);
}

// Up to the root. The program never writes a document type; one in a file
// declares entities, and reading the text would expand them: a few kilobytes
// could swell into gigabytes.
void RecordReader::start() {
    for (;;) {
        const int read = xmlTextReaderRead(m_reader);
        if (read != 1)
            return breakOff();
        const int type = xmlTextReaderNodeType(m_reader);
        if (type == XML_READER_TYPE_DOCUMENT_TYPE)
            return breakOff();
        if (type != XML_READER_TYPE_ELEMENT)
            continue;
        m_foreignRoot =
            xmlTextReaderConstNamespaceUri(m_reader) != nullptr ||
            !xmlStrEqual(xmlTextReaderConstName(m_reader), reinterpret_cast<const xmlChar*>("data"));
        return;
    }
}

// Moves past the record in hand without building anything more of it.
bool RecordReader::toNextElementBelowRoot() {
    if (m_broken || !m_reader)
        return false;
    for (;;) {
        const int moved = m_onRecord ? xmlTextReaderNext(m_reader) : xmlTextReaderRead(m_reader);
        m_onRecord = false;
        if (moved == 0)
            return false;
        if (moved != 1) {
            breakOff();
            return false;
        }
        if (xmlTextReaderNodeType(m_reader) == XML_READER_TYPE_ELEMENT && xmlTextReaderDepth(m_reader) == 1)
            return true;
    }
}

// The element in hand, whole; counted as the history counts a file's records.
xmlNode* RecordReader::expandCounted() {
    xmlNode* node = xmlTextReaderExpand(m_reader);
    if (!node) {
        breakOff();
        return nullptr;
    }
    m_onRecord = true;
    ++m_counts.depth1;
    m_counts.depth3 += XmlNode(node).elementsBelow(2);
    return node;
}

void RecordReader::breakOff() {
    m_broken = true;
    if (m_reader) {
        xmlFreeTextReader(m_reader);
        m_reader = nullptr;
    }
}

std::optional<XmlNode> RecordReader::next(const char* name) {
    while (toNextElementBelowRoot()) {
        xmlNode* node = expandCounted();
        if (node && !m_foreignRoot && isPlainElement(node, name))
            return XmlNode(node);
    }
    return std::nullopt;
}

void RecordReader::finish() {
    while (toNextElementBelowRoot())
        expandCounted();
}

} // namespace store
