#include "sync/conflict_copies.h"

#include "store/notebook_files.h"
#include "store/xml_store.h"

#include <QDir>
#include <QRegularExpression>
#include <libxml/tree.h>
#include <sys/stat.h>

namespace syncing {

namespace {

// Copies larger than this are no notebook file a program wrote.
constexpr qint64 kLargestCopy = 512LL * 1024 * 1024;

const QList<QRegularExpression>& namePatterns() {
    static const QList<QRegularExpression> patterns{
        QRegularExpression(QStringLiteral(R"(^(.+)\.sync-conflict-\d{8}-\d{6}-[A-Z0-9]{7}(\.[^.]+)$)")),
        QRegularExpression(QStringLiteral(R"(^(.+) \(conflicted copy \d{4}-\d{2}-\d{2} \d{6}\)(\.[^.]+)$)")),
        QRegularExpression(
            QStringLiteral(R"(^(.+) \([^()/]* conflicted copy \d{4}-\d{2}-\d{2}(?: \d+)?\)(\.[^.]+)$)")),
    };
    return patterns;
}

QByteArray dump(xmlNode* node) {
    xmlBuffer* buffer = xmlBufferCreate();
    xmlNodeDump(buffer, node->doc, node, 0, 0);
    QByteArray bytes(reinterpret_cast<const char*>(xmlBufferContent(buffer)), xmlBufferLength(buffer));
    xmlBufferFree(buffer);
    return bytes;
}

QList<xmlNode*> records(const store::XmlDocument& doc) {
    QList<xmlNode*> list;
    for (xmlNode* n = doc.root().raw()->children; n; n = n->next)
        if (n->type == XML_ELEMENT_NODE)
            list << n;
    return list;
}

QString cropName(xmlNode* node) {
    xmlChar* name = xmlGetProp(node, BAD_CAST "name");
    const QString text = name ? QString::fromUtf8(reinterpret_cast<const char*>(name)) : QString();
    xmlFree(name);
    return text;
}

} // namespace

QString conflictCopyOf(const QString& name) {
    for (const QRegularExpression& pattern : namePatterns()) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch()) {
            const QString file = match.captured(1) + match.captured(2);
            return store::isDataFile(file) ? file : QString();
        }
    }
    return QString();
}

QList<ConflictCopy> findConflictCopies(const QString& folder) {
    QList<ConflictCopy> copies;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString file = conflictCopyOf(name);
        struct stat info {};
        if (!file.isEmpty() && ::lstat(QFile::encodeName(folder + name).constData(), &info) == 0 &&
            S_ISREG(info.st_mode))
            copies.append({name, file});
    }
    return copies;
}

Merged mergeCopy(const QString& dataFile, const QByteArray& current, const QByteArray& copy) {
    Merged merged;
    if (copy.size() > kLargestCopy)
        return merged;
    store::XmlDocument ours =
        current.isEmpty() ? store::XmlDocument::create() : store::XmlDocument::parse(current);
    const store::XmlDocument theirs = store::XmlDocument::parse(copy);
    if (ours.unparsable() || ours.isEmpty() || theirs.unparsable() || theirs.isEmpty())
        return merged;
    const bool byName = dataFile == QStringLiteral("sakumotu.xml");
    QSet<QByteArray> have;
    QHash<QString, QByteArray> named;
    for (xmlNode* n : records(ours)) {
        have.insert(dump(n));
        if (byName)
            named.insert(cropName(n), dump(n));
    }
    xmlNode* root = ours.root().raw();
    for (xmlNode* n : records(theirs)) {
        const QByteArray text = dump(n);
        if (have.contains(text))
            continue;
        if (byName && named.contains(cropName(n))) {
            merged.differing << cropName(n);
            continue;
        }
        xmlAddChild(root, xmlDocCopyNode(n, root->doc, 1));
        have.insert(text);
        ++merged.added;
    }
    merged.bytes = ours.serialize();
    merged.readable = true;
    return merged;
}

} // namespace syncing
