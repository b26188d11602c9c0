#include "harvest/photo_import.h"

#include "harvest/harvest_files.h"
#include "harvest/harvest_records.h"
#include "image/jpeg_writer.h"
#include "store/save_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>
#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace photos {

namespace {

quint16 read16(const uchar* p, bool little) {
    return little ? quint16(p[0] | p[1] << 8) : quint16(p[0] << 8 | p[1]);
}

quint32 read32(const uchar* p, bool little) {
    return little ? quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24
                  : quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

// The orientation tag of the TIFF structure inside an EXIF segment; every
// offset is checked against the segment's end, since the bytes are the file's.
int orientationInTiff(const uchar* tiff, qsizetype size) {
    if (size < 8)
        return 1;
    bool little;
    if (tiff[0] == 'I' && tiff[1] == 'I')
        little = true;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        little = false;
    else
        return 1;
    const quint32 ifd = read32(tiff + 4, little);
    if (ifd > quint32(size - 2))
        return 1;
    const int entries = read16(tiff + ifd, little);
    for (int i = 0; i < entries; ++i) {
        const quint64 at = quint64(ifd) + 2 + quint64(i) * 12;
        if (at + 12 > quint64(size))
            return 1;
        if (read16(tiff + at, little) == 0x0112) {
            const int value = read16(tiff + at + 8, little);
            return value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char reason[JMSG_LENGTH_MAX];
};

void leaveOnError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->reason);
    std::longjmp(errors->escape, 1);
}

// A warning on a damaged stream would otherwise go to standard error; the
// library then fills the rest grey, which is a picture worth keeping.
void keepQuiet(j_common_ptr, int) {}

// Nothing with a destructor lives in this function, so the jump out of it is safe.
bool decodeInto(const QByteArray& bytes, int longSide, QImage* out, char* reason) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = leaveOnError;
    errors.base.emit_message = keepQuiet;
    errors.reason[0] = '\0';
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(reason, JMSG_LENGTH_MAX, "%s", errors.reason);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 (unsigned long)bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    const unsigned long longest = std::max(cinfo.image_width, cinfo.image_height);
    unsigned int denom = 1;
    while (denom < 8 && longest / (denom * 2) >= (unsigned long)longSide)
        denom *= 2;
    cinfo.scale_num = 1;
    cinfo.scale_denom = denom;
    jpeg_start_decompress(&cinfo);
    *out = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB888);
    if (out->isNull()) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(reason, JMSG_LENGTH_MAX, "%s", "too large");
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool isJpeg(const QByteArray& bytes) {
    return bytes.size() > 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8;
}

QString canonicalFolder(const QString& folder) {
    return QFileInfo(folder).canonicalFilePath();
}

bool liesInside(const QString& path, const QString& folder) {
    return !folder.isEmpty() && path.startsWith(folder + QLatin1Char('/'));
}

// photos/YYYY made inside the data folder, each step a real folder and no link.
QString photoFolder(const QString& dataFolder, int year, QString* reason) {
    const QString root = canonicalFolder(dataFolder);
    const QString relative =
        kPhotoFolderName + QLatin1Char('/') + QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
    QString path = root;
    for (const QString& part : relative.split(QLatin1Char('/'))) {
        path += QLatin1Char('/') + part;
        const QFileInfo info(path);
        if (info.isSymLink() || (info.exists() && !info.isDir())) {
            *reason = QStringLiteral("写真のフォルダーがデータフォルダーの外を指しています。");
            return QString();
        }
        if (!info.exists() && !QDir().mkdir(path)) {
            *reason = QStringLiteral("写真のフォルダーを作れませんでした。");
            return QString();
        }
    }
    if (!liesInside(canonicalFolder(path), root)) {
        *reason = QStringLiteral("写真のフォルダーがデータフォルダーの外を指しています。");
        return QString();
    }
    return relative;
}

QString unusedName(const QString& dataFolder, const QString& folder, const QDate& date) {
    const QString stamp = date.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('-') +
                          QDateTime::currentDateTime().toString(QStringLiteral("HHmmss"));
    for (int n = 1;; ++n) {
        const QString name = folder + QLatin1Char('/') + stamp + QLatin1Char('-') + QString::number(n) +
                             QStringLiteral(".jpg");
        if (!QFileInfo::exists(dataFolder + QLatin1Char('/') + name) &&
            !QFileInfo(dataFolder + QLatin1Char('/') + name).isSymLink())
            return name;
    }
}

} // namespace

int exifOrientation(const QByteArray& jpeg) {
    const auto* p = reinterpret_cast<const uchar*>(jpeg.constData());
    const qsizetype size = jpeg.size();
    if (!isJpeg(jpeg))
        return 1;
    qsizetype at = 2;
    while (at + 4 <= size && p[at] == 0xFF) {
        const uchar marker = p[at + 1];
        if (marker == 0xDA || marker == 0xD9)
            break;
        const qsizetype length = read16(p + at + 2, false);
        if (length < 2 || at + 2 + length > size)
            break;
        const uchar* segment = p + at + 4;
        const qsizetype segmentSize = length - 2;
        if (marker == 0xE1 && segmentSize >= 6 && std::memcmp(segment, "Exif\0\0", 6) == 0)
            return orientationInTiff(segment + 6, segmentSize - 6);
        at += 2 + length;
    }
    return 1;
}

QImage upright(const QImage& image, int orientation) {
    QTransform t;
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.transformed(t.rotate(180));
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(t.rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(t.rotate(90));
    case 7:
        return image.transformed(t.rotate(270)).mirrored(true, false);
    case 8:
        return image.transformed(t.rotate(270));
    default:
        return image;
    }
}

QImage decodeJpeg(const QByteArray& bytes, int longSide, QString* reason) {
    QImage image;
    char why[JMSG_LENGTH_MAX];
    if (!decodeInto(bytes, longSide, &image, why)) {
        if (reason)
            *reason = QStringLiteral("JPEG として読めませんでした（%1）。").arg(QString::fromLocal8Bit(why));
        return QImage();
    }
    return image;
}

QImage preparePhoto(const QString& sourcePath, QString* reason) {
    QFile file(sourcePath);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = QStringLiteral("写真を開けませんでした。");
        return QImage();
    }
    if (file.size() > kLargestPhotoFile) {
        *reason = QStringLiteral("写真のファイルが大きすぎます（64MB まで）。");
        return QImage();
    }
    const QByteArray bytes = file.readAll();
    QImage image;
    if (isJpeg(bytes)) {
        image = decodeJpeg(bytes, kPhotoLongSide, reason);
        if (image.isNull())
            return image;
        image = upright(image, exifOrientation(bytes));
    } else {
        // Other formats (PNG) through Qt's readers, which turn them upright themselves.
        QImageReader reader(sourcePath);
        reader.setAutoTransform(true);
        image = reader.read();
        if (image.isNull()) {
            *reason = QStringLiteral("画像として読めませんでした。");
            return image;
        }
    }
    if (std::max(image.width(), image.height()) > kPhotoLongSide)
        image = image.scaled(kPhotoLongSide, kPhotoLongSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

Imported importPhoto(const QString& sourcePath, const QString& dataFolder, const QDate& date) {
    Imported result;
    const QImage image = preparePhoto(sourcePath, &result.reason);
    if (image.isNull())
        return result;
    const QString root = canonicalFolder(dataFolder);
    const QString folder = photoFolder(dataFolder, date.year(), &result.reason);
    if (folder.isEmpty())
        return result;
    const QString name = unusedName(root, folder, date);
    try {
        store::saveBytes(root + QLatin1Char('/') + name, image::encodeJpeg(image));
    } catch (const std::exception& e) {
        result.reason = QStringLiteral("写真を保存できませんでした。\n") + QString::fromUtf8(e.what());
        return result;
    }
    result.name = name;
    return result;
}

QString photoPath(const QString& dataFolder, const QString& name) {
    if (!IsSafePhotoName(name))
        return QString();
    const QString root = canonicalFolder(dataFolder);
    const QString real = QFileInfo(root + QLatin1Char('/') + name).canonicalFilePath();
    return liesInside(real, root) ? real : QString();
}

QImage loadPhoto(const QString& dataFolder, const QString& name) {
    const QString path = photoPath(dataFolder, name);
    if (path.isEmpty())
        return QImage();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestPhotoFile)
        return QImage();
    const QByteArray bytes = file.readAll();
    return upright(decodeJpeg(bytes, kPhotoLongSide, nullptr), exifOrientation(bytes));
}

} // namespace photos
