#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <vector>

namespace store {

// Writes a data file front to back without building a tree: for long lists the
// tree cost several times the bytes themselves. The bytes are those the tree
// writer gives: the Shift-JIS declaration, the root "data", no indentation,
// libxml2's escapes, code page 932 with references for what it cannot hold.
class XmlWriter {
public:
    XmlWriter();

    void startElement(const char* name);
    // Only right after startElement, before any text or child.
    void attribute(const char* name, const QString& value);
    // Empty text writes nothing, so the element may still close as <name/>.
    void text(const QString& value);
    void endElement();
    void textElement(const char* name, const QString& value);

    // Closes the root and gives the file's bytes. Throws XmlError when an
    // element other than the root is still open.
    QByteArray finish();

private:
    void closeStartTag();
    void appendEscaped(QStringView value, bool inAttribute);

    QByteArray m_out;
    std::vector<const char*> m_open;
    bool m_startTagOpen = false;
};

} // namespace store
