#include "history/version_pack.h"

#include <QtEndian>
#include <cstring>
#include <limits>
#include <zlib.h>

namespace history {

namespace {

// No data file starts with it: they are XML, or damaged files kept as they were,
// and a damaged file that happened to would only fail to unpack, never be written.
const QByteArray kMark = QByteArrayLiteral("aobaroku-packed-1\n");
// The mark, then the version's size in eight bytes, little-endian.
const qsizetype kHeader = kMark.size() + 8;

} // namespace

bool isPacked(const QByteArray& stored) {
    return stored.startsWith(kMark);
}

// The fastest level: an eleventh of the size at a few times the speed of the
// default, and the unpacking costs the same either way.
QByteArray packVersion(const QByteArray& version) {
    uLongf size = compressBound(uLong(version.size()));
    QByteArray stored(kHeader + qsizetype(size), Qt::Uninitialized);
    memcpy(stored.data(), kMark.constData(), size_t(kMark.size()));
    qToLittleEndian<quint64>(quint64(version.size()), stored.data() + kMark.size());
    if (compress2(reinterpret_cast<Bytef*>(stored.data() + kHeader), &size,
                  reinterpret_cast<const Bytef*>(version.constData()), uLong(version.size()), 1) != Z_OK)
        return QByteArray();
    stored.truncate(kHeader + qsizetype(size));
    return stored;
}

std::optional<QByteArray> unpackVersion(const QByteArray& stored) {
    if (!isPacked(stored))
        return stored;
    if (stored.size() < kHeader)
        return std::nullopt;
    const quint64 size = qFromLittleEndian<quint64>(stored.constData() + kMark.size());
    if (size > quint64(std::numeric_limits<int>::max()))
        return std::nullopt;
    QByteArray version(qsizetype(size), Qt::Uninitialized);
    uLongf unpacked = uLongf(size);
    if (uncompress(reinterpret_cast<Bytef*>(version.data()), &unpacked,
                   reinterpret_cast<const Bytef*>(stored.constData() + kHeader),
                   uLong(stored.size() - kHeader)) != Z_OK ||
        unpacked != size)
        return std::nullopt;
    return version;
}

} // namespace history
