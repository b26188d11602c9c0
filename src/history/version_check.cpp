#include "history/version_check.h"

#include "history/record_counts.h"
#include "store/xml_store.h"

namespace history {

// Records written before versions had a checksum are checked the long way:
// the version must load and hold as many records as the change counted.
QString versionProblem(const QByteArray& bytes, const Expected& expected) {
    if (expected.bytes >= 0 && bytes.size() != expected.bytes)
        return QStringLiteral("大きさが記録と違います");
    if (!expected.hash.isEmpty())
        return contentHash(bytes) == expected.hash ? QString() : QStringLiteral("内容が記録と違います");
    if (expected.records < 0)
        return QString();
    const store::XmlDocument doc = store::XmlDocument::parse(bytes);
    if (doc.unparsable())
        return QStringLiteral("データとして読み込めません");
    return recordsOf(expected.fileName, doc) == expected.records ? QString()
                                                                 : QStringLiteral("件数が記録と違います");
}

} // namespace history
