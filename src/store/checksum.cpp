#include "store/checksum.h"

#include <algorithm>
#include <zlib.h>

namespace store {

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

} // namespace store
