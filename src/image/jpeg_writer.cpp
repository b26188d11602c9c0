#include "image/jpeg_writer.h"

#include <QSaveFile>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace image {

namespace {

constexpr int kQuality = 90;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char reason[JMSG_LENGTH_MAX];
};

// libjpeg is C: an error may not unwind through it as an exception, so the
// encoder jumps back out and the caller throws.
void leaveOnError(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->reason);
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
        std::snprintf(reason, JMSG_LENGTH_MAX, "%s", errors.reason);
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
        throw JpegError("there is no image to encode");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    char reason[JMSG_LENGTH_MAX];
    const bool done = encodeRgb(rgb, &out, &size, reason);
    QByteArray bytes;
    if (done)
        bytes = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    if (!done)
        throw JpegError(std::string("cannot encode the JPEG image: ") + reason);
    return bytes;
}

void writeJpeg(const QImage& image, const QString& path) {
    const QByteArray bytes = encodeJpeg(image);
    QSaveFile file(path);
    const auto fail = [&file, &path]() {
        return JpegError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()).toStdString());
    };
    if (!file.open(QIODevice::WriteOnly))
        throw fail();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        throw fail();
    }
    if (!file.commit())
        throw fail();
}

} // namespace image
