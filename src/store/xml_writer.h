#pragma once

#include "store/save_recorder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstring>
#include <string_view>
#include <vector>

namespace store {

// Writes a data file front to back without building a tree: for long lists the
// tree cost several times the bytes themselves. The bytes are those the tree
// writer gives: the Shift-JIS declaration, the root "data", no indentation,
// libxml2's escapes, code page 932 with references for what it cannot hold.
// Only the control characters XML cannot hold are left out, where the tree
// writer wrote them as they were and so made the file unreadable.
class XmlWriter {
public:
    // The bytes expected, so that a long list is not copied over and over as
    // the buffer grows; the size of the file being replaced is a good guess.
    explicit XmlWriter(qsizetype expectedBytes = 0);

    void startElement(const char* name);
    // Only right after startElement, before any text or child.
    void attribute(const char* name, const QString& value);
    // Empty text writes nothing, so the element may still close as <name/>.
    void text(const QString& value);
    // The same as text(joinLines(lines)), without building the joined text.
    void textLines(const QStringList& lines);
    void endElement();
    void textElement(const char* name, const QString& value);

    // Closes the root and gives the file's bytes. Throws XmlError when an
    // element other than the root is still open.
    QByteArray finish();
    // The elements written one and three levels below the root.
    ElementCounts counts() const { return m_counts; }

private:
    // The buffer is grown by hand and filled through a pointer: QByteArray's
    // own append costs more than the few bytes of a tag it appends.
    char* room(qsizetype bytes) {
        if (m_used + bytes > m_out.size())
            grow(bytes);
        return m_data + m_used;
    }
    void append(std::string_view text) {
        std::memcpy(room(qsizetype(text.size())), text.data(), text.size());
        m_used += qsizetype(text.size());
    }
    void grow(qsizetype bytes);
    void closeStartTag();
    void appendEscaped(QStringView value, bool inAttribute);

    // Written are the first m_used bytes; the rest is room to grow into.
    QByteArray m_out;
    char* m_data = nullptr;
    qsizetype m_used = 0;
    std::vector<std::string_view> m_open;
    bool m_startTagOpen = false;
    ElementCounts m_counts{0, 0};
};

} // namespace store
