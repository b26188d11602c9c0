#include "history/version_check.h"

#include "history/record_counts.h"
#include "store/xml_store.h"

#include <zlib.h>

namespace history {

QString contentHash(const QByteArray& bytes) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    // zlib takes lengths of 32 bits.
    for (qsizetype done = 0; done < bytes.size();) {
        const uInt n = uInt(std::min<qsizetype>(bytes.size() - done, 1 << 30));
        crc = ::crc32(crc, reinterpret_cast<const Bytef*>(bytes.constData() + done), n);
        done += n;
    }
    return QStringLiteral("crc32:%1").arg(quint32(crc), 8, 16, QLatin1Char('0'));
}

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
