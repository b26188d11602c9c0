#include "store/xml_writer.h"

#include "store/cp932.h"
#include "store/xml_store.h"

namespace store {

namespace {

// U+FFFE and U+FFFF, which XML cannot hold even as references.
bool isNonCharacter(const char* s, qsizetype left) {
    return left >= 3 && uchar(s[1]) == 0xBF && (uchar(s[2]) == 0xBE || uchar(s[2]) == 0xBF);
}

// What stands for the character starting at s in markup: text null keeps it, ""
// drops it. Control characters are dropped because XML 1.0 cannot hold them at
// all: written as they are, one pasted control character would make the whole
// file unreadable.
struct Replacement {
    const char* text = nullptr;
    qsizetype width = 1;
};

Replacement replacementOf(const char* s, qsizetype left, bool inAttribute) {
    const uchar c = uchar(*s);
    switch (c) {
    case '&':
        return {"&amp;"};
    case '<':
        return {"&lt;"};
    case '>':
        return {"&gt;"};
    case '\r':
        return {"&#13;"};
    case '"':
        return {inAttribute ? "&quot;" : nullptr};
    case '\n':
        return {inAttribute ? "&#10;" : nullptr};
    case '\t':
        return {inAttribute ? "&#9;" : nullptr};
    case 0xEF:
        return isNonCharacter(s, left) ? Replacement{"", 3} : Replacement{};
    default:
        return {c < 0x20 ? "" : nullptr};
    }
}

void appendEscaped(QByteArray& out, const QString& value, bool inAttribute) {
    const QByteArray utf8 = value.toUtf8();
    const char* s = utf8.constData();
    const qsizetype n = utf8.size();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const Replacement r = replacementOf(s + i, n - i, inAttribute);
        if (!r.text)
            continue;
        out.append(s + kept, i - kept);
        out.append(r.text);
        i += r.width - 1;
        kept = i + 1;
    }
    out.append(s + kept, n - kept);
}

} // namespace

XmlWriter::XmlWriter() {
    m_utf8.reserve(64 * 1024);
    m_utf8.append("<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n");
    startElement("data");
}

void XmlWriter::startElement(const char* name) {
    closeStartTag();
    m_utf8.append('<');
    m_utf8.append(name);
    m_open.push_back(name);
    m_startTagOpen = true;
}

void XmlWriter::attribute(const char* name, const QString& value) {
    if (!m_startTagOpen)
        throw XmlError(std::string("attribute after content: ") + name);
    m_utf8.append(' ');
    m_utf8.append(name);
    m_utf8.append("=\"");
    appendEscaped(m_utf8, value, true);
    m_utf8.append('"');
}

void XmlWriter::text(const QString& value) {
    if (value.isEmpty())
        return;
    closeStartTag();
    appendEscaped(m_utf8, value, false);
}

void XmlWriter::endElement() {
    if (m_open.empty())
        throw XmlError("no element to end");
    if (m_startTagOpen) {
        m_utf8.append("/>");
        m_startTagOpen = false;
    } else {
        m_utf8.append("</");
        m_utf8.append(m_open.back());
        m_utf8.append('>');
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
    m_utf8.append('\n');
    return toCp932WithReferences(m_utf8);
}

void XmlWriter::closeStartTag() {
    if (!m_startTagOpen)
        return;
    m_utf8.append('>');
    m_startTagOpen = false;
}

} // namespace store
