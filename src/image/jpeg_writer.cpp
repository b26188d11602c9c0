#include "image/jpeg_writer.h"

#include "store/outside_write.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
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

namespace {

QString failedText(const QString& path) {
    return QStringLiteral("画像を保存できませんでした。\n") + path + QLatin1Char('\n');
}

} // namespace

void writeJpeg(const QImage& image, const QString& path, const store::NotebookFiles& notebook) {
    const QString failed = failedText(path);
    QByteArray bytes;
    try {
        bytes = encodeJpeg(image);
    } catch (const JpegError& e) {
        throw JpegError((failed + QString::fromUtf8(e.what())).toStdString());
    }
    const store::OutsideWrite written = store::writeOutsideNotebook(path, bytes, notebook);
    if (written.result == store::OutsideWrite::Result::Refused)
        throw JpegError(
            (failed + QStringLiteral("青葉録のデータファイルには保存できません。")).toStdString());
    if (written.result == store::OutsideWrite::Result::Failed)
        throw JpegError((failed + written.reason).toStdString());
}

} // namespace image
