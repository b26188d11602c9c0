#include "image/jpeg_writer.h"

#include "history/data_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace image {

namespace {

constexpr int kQuality = 90;
// The library's message and the words around it.
constexpr size_t kReasonLength = JMSG_LENGTH_MAX + 64;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char reason[kReasonLength];
};

// libjpeg is C: an error may not unwind through it as an exception, so the
// encoder jumps back out and the caller throws.
// The reason is kept in the user's words: the library's own are English.
void leaveOnError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (cinfo->err->msg_code == JERR_IMAGE_TOO_BIG) {
        std::snprintf(errors->reason, kReasonLength, "%s",
                      "画像が大きすぎます（縦横とも 65500 ピクセルまで）。");
    } else {
        char library[JMSG_LENGTH_MAX];
        (*cinfo->err->format_message)(cinfo, library);
        std::snprintf(errors->reason, kReasonLength, "JPEG に変換できませんでした（%s）。", library);
    }
    std::longjmp(errors->escape, 1);
}

// Nothing with a destructor lives in this function, so the jump out of it is safe.
bool encodeRgb(const QImage& rgb, unsigned char** out, unsigned long* size, char* reason) {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = leaveOnError;
    errors.reason[0] = '\0';
    if (setjmp(errors.escape)) {
        jpeg_destroy_compress(&cinfo);
        std::snprintf(reason, kReasonLength, "%s", errors.reason);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, size);
    cinfo.image_width = JDIMENSION(rgb.width());
    cinfo.image_height = JDIMENSION(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, kQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

QByteArray encodeJpeg(const QImage& image) {
    if (image.isNull())
        throw JpegError("保存する画像がありません。");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    char reason[kReasonLength];
    const bool done = encodeRgb(rgb, &out, &size, reason);
    QByteArray bytes;
    if (done)
        bytes = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    if (!done)
        throw JpegError(reason);
    return bytes;
}

QString writeFailureReason(const QString& path, int error) {
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return QStringLiteral("保存先のフォルダーがありません。");
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("保存先のフォルダーがありません。");
    case EACCES:
    case EPERM:
        return QStringLiteral("保存先に書き込む権限がありません。");
    case EROFS:
        return QStringLiteral("保存先は読み取り専用です。");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎて書き込めません。");
    case 0:
        return QString();
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

namespace {

QString failedText(const QString& path) {
    return QStringLiteral("画像を保存できませんでした。\n") + path + QLatin1Char('\n');
}

} // namespace

void writeJpeg(const QImage& image, const QString& path, const QString& dataFolder) {
    if (history::isNotebookFile(path, dataFolder))
        throw JpegError(
            (failedText(path) + QStringLiteral("青葉録のデータファイルには保存できません。")).toStdString());
    writeJpeg(image, path);
}

void writeJpeg(const QImage& image, const QString& path) {
    const QString failed = failedText(path);
    QByteArray bytes;
    try {
        bytes = encodeJpeg(image);
    } catch (const JpegError& e) {
        throw JpegError((failed + QString::fromUtf8(e.what())).toStdString());
    }
    QSaveFile file(path);
    // errno is read at once: what QSaveFile does after a failure may change it.
    const auto fail = [&file, &path, &failed](int error) {
        QString reason = writeFailureReason(path, error);
        if (reason.isEmpty())
            reason = file.errorString();
        file.cancelWriting();
        return JpegError((failed + reason).toStdString());
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw fail(errno);
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw fail(errno);
    if (!file.commit())
        throw fail(errno);
}

} // namespace image
