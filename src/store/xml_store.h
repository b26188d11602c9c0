#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <stdexcept>

typedef struct _xmlDoc xmlDoc;
typedef struct _xmlNode xmlNode;

namespace store {

class TextPool;

// Raised when a record lacks an attribute or child that must be there, or the
// XML library refuses an operation.
class XmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised when a document cannot be written; the old file is then still whole.
class SaveError : public std::runtime_error {
public:
    // error: the system's (errno), 0 when none is known. reason: why, in the
    // user's words, when the one who refused knows better than the error.
    explicit SaveError(const std::string& what, int error = 0, QString reason = QString())
        : std::runtime_error(what), m_error(error), m_reason(std::move(reason)) {}
    int error() const { return m_error; }
    const QString& reason() const { return m_reason; }

private:
    int m_error;
    QString m_reason;
};

class XmlNode {
public:
    explicit XmlNode(xmlNode* node) : m_node(node) {}

    // Text of the first node the path selects ("@name" or "child"); throws XmlError when none.
    QString text(const char* path) const;
    // The same, shared through pool with every equal text read before.
    QString text(const char* path, TextPool& pool) const;
    QList<XmlNode> select(const char* path) const;
    // The elements `levels` below this one: 1 for its children.
    int elementsBelow(int levels) const;

    XmlNode append(const char* name);
    void setAttribute(const char* name, const QString& value);
    void setText(const QString& value);

    xmlNode* raw() const { return m_node; }

private:
    xmlNode* m_node;
};

class XmlDocument {
public:
    XmlDocument(XmlDocument&&) noexcept;
    XmlDocument& operator=(XmlDocument&&) noexcept;
    ~XmlDocument();

    // A missing or unparsable file gives a document without nodes. An unparsable
    // one is also remembered so that its bytes are copied aside before the first
    // save replaces it.
    static XmlDocument load(const QString& path);
    static XmlDocument parse(const QByteArray& bytes);
    // A new document: the Shift-JIS declaration and the root element "data".
    static XmlDocument create();

    bool isEmpty() const { return m_doc == nullptr; }
    bool unparsable() const { return m_unparsable; }
    QList<XmlNode> select(const char* path) const;
    XmlNode root() const;
    // The elements `levels` below the root: 1 for its children.
    int elementsBelowRoot(int levels) const;

    QByteArray serialize() const;
    // Atomic replacement of the file; throws SaveError.
    void save(const QString& path) const;

private:
    XmlDocument() = default;
    xmlDoc* m_doc = nullptr;
    bool m_unparsable = false;
};

// Makes libxml2 read and write the Shift-JIS names as Windows code page 932,
// refuse every external entity and keep its English messages to itself. Safe
// to call often, from any thread.
void initXml();

} // namespace store
