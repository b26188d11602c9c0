#include "store/xml_writer.h"

#include "store/cp932.h"
#include "store/xml_store.h"

#include <algorithm>

namespace store {

namespace {

// A character the code page lacks grows to at most eight bytes ("&#65533;"),
// a pair of UTF-16 units to at most ten.
constexpr qsizetype kMostBytesPerUnit = 8;

char* appendAscii(char* out, const char* text) {
    while (*text)
        *out++ = *text++;
    return out;
}

// libxml2 writes what the code page lacks as a decimal reference.
char* appendReference(char* out, char32_t codePoint) {
    char digits[8];
    int n = 0;
    do {
        digits[n++] = char('0' + codePoint % 10);
        codePoint /= 10;
    } while (codePoint);
    *out++ = '&';
    *out++ = '#';
    while (n)
        *out++ = digits[--n];
    *out++ = ';';
    return out;
}

// What stands for an ASCII character in markup: null keeps it, "" drops it.
// Control characters are dropped because XML 1.0 cannot hold them at all:
// written as they are, one pasted control character would make the whole file
// unreadable at the next start.
const char* asciiReplacement(char16_t c, bool inAttribute) {
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '\r':
        return "&#13;";
    case '"':
        return inAttribute ? "&quot;" : nullptr;
    case '\n':
        return inAttribute ? "&#10;" : nullptr;
    case '\t':
        return inAttribute ? "&#9;" : nullptr;
    default:
        return c < 0x20 ? "" : nullptr;
    }
}

char* appendCharacter(char* out, char16_t c) {
    const quint16 code = cp932Code(c);
    if (code == 0)
        return appendReference(out, c);
    if (code > 0xFF)
        *out++ = char(code >> 8);
    *out++ = char(code & 0xFF);
    return out;
}

// A UTF-16 unit that is no character by itself: a surrogate pair stands for one
// character the code page lacks; a lone half becomes '?', as Qt's UTF-8
// conversion makes it; U+FFFE and U+FFFF, which XML cannot hold, go.
char* appendSpecial(char* out, QStringView value, qsizetype& i) {
    const char16_t c = value[i].unicode();
    if (c == 0xFFFE || c == 0xFFFF)
        return out;
    if (QChar::isHighSurrogate(c) && i + 1 < value.size() && QChar::isLowSurrogate(value[i + 1].unicode()))
        return appendReference(out, QChar::surrogateToUcs4(c, value[++i].unicode()));
    *out++ = '?';
    return out;
}

} // namespace

// The guess is bounded: a stray huge file in the folder must not make a small
// list reserve its size.
XmlWriter::XmlWriter(qsizetype expectedBytes)
    : m_out(std::clamp<qsizetype>(expectedBytes + expectedBytes / 8, 64 * 1024, 64 * 1024 * 1024),
            Qt::Uninitialized),
      m_data(m_out.data()) {
    append("<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n");
    startElement("data");
}

void XmlWriter::grow(qsizetype bytes) {
    m_out.resize(std::max(m_out.size() * 2, m_used + bytes));
    m_data = m_out.data();
}

// Escapes and encodes in one pass straight into the file's bytes: converting
// each value on its own cost more than the whole rest of a save.
void XmlWriter::appendEscaped(QStringView value, bool inAttribute) {
    char* const begin = room(value.size() * kMostBytesPerUnit);
    char* out = begin;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t c = value[i].unicode();
        const char* replacement = c < 0x80 ? asciiReplacement(c, inAttribute) : nullptr;
        if (replacement)
            out = appendAscii(out, replacement);
        else if (c < 0x80)
            *out++ = char(c);
        else if (QChar::isSurrogate(c) || c >= 0xFFFE)
            out = appendSpecial(out, value, i);
        else
            out = appendCharacter(out, c);
    }
    m_used += out - begin;
}

void XmlWriter::startElement(const char* name) {
    closeStartTag();
    const std::string_view tag(name);
    append("<");
    append(tag);
    if (m_open.size() == 1)
        ++m_counts.depth1;
    else if (m_open.size() == 3)
        ++m_counts.depth3;
    m_open.push_back(tag);
    m_startTagOpen = true;
}

void XmlWriter::attribute(const char* name, const QString& value) {
    if (!m_startTagOpen)
        throw XmlError(std::string("attribute after content: ") + name);
    append(" ");
    append(name);
    append("=\"");
    appendEscaped(value, true);
    append("\"");
}

void XmlWriter::text(const QString& value) {
    if (value.isEmpty())
        return;
    closeStartTag();
    appendEscaped(value, false);
}

void XmlWriter::textLines(const QStringList& lines) {
    for (const QString& line : lines) {
        closeStartTag();
        appendEscaped(line, false);
        append("&#13;\n");
    }
}

void XmlWriter::endElement() {
    if (m_open.empty())
        throw XmlError("no element to end");
    if (m_startTagOpen) {
        append("/>");
        m_startTagOpen = false;
    } else {
        append("</");
        append(m_open.back());
        append(">");
    }
    m_open.pop_back();
}

void XmlWriter::textElement(const char* name, const QString& value) {
    startElement(name);
    text(value);
    endElement();
}

QByteArray XmlWriter::finish() {
    if (m_open.size() != 1)
        throw XmlError("elements left open");
    endElement();
    append("\n");
    m_out.resize(m_used);
    return m_out;
}

void XmlWriter::closeStartTag() {
    if (!m_startTagOpen)
        return;
    append(">");
    m_startTagOpen = false;
}

} // namespace store
