#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <stdexcept>

namespace image {

// Raised when an image cannot be encoded or its file cannot be written; the
// text says why.
class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one JPEG encoding of the program, for the plan chart and the cards:
// 24-bit colour, the library's default parameters, quality 90, baseline.
QByteArray encodeJpeg(const QImage& image);

// Writes the image as JPEG to the path exactly as given (no extension is added),
// replacing the file only once every byte is written. Throws JpegError.
void writeJpeg(const QImage& image, const QString& path);

} // namespace image
