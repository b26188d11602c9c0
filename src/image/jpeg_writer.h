#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <stdexcept>

namespace store {
struct NotebookFiles;
}

namespace image {

// Raised when an image cannot be encoded or its file cannot be written. The
// text is for the user: what failed, the path on the next line, and why.
class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one JPEG encoding of the program, for the plan chart and the cards:
// 24-bit colour, the library's default parameters, quality 90, baseline.
// Throws JpegError with the reason alone.
QByteArray encodeJpeg(const QImage& image);

// Writes the image as JPEG to the path the user chose, exactly as given (no
// extension is added), atomically as every file of the program is written.
// A file of the notebook is refused, since replacing it with a picture would
// lose it beyond any undo. Throws JpegError.
void writeJpeg(const QImage& image, const QString& path, const store::NotebookFiles& notebook);

} // namespace image
