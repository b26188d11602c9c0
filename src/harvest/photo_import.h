#pragma once

#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QString>

// Photos of the diary live inside the data folder, under photos/YYYY/, as
// JPEG files of at most kPhotoLongSide pixels on their long side, turned
// upright as the camera's orientation mark asked. The gardener's original is
// only read.
namespace photos {

inline constexpr int kPhotoLongSide = 1600;
// A larger file is no photo a garden diary needs, and reading it whole would cost the memory.
inline constexpr qint64 kLargestPhotoFile = 64 * 1024 * 1024;

// The EXIF orientation (1 to 8) of a JPEG's APP1 segment; 1 when there is none
// or it cannot be read.
int exifOrientation(const QByteArray& jpeg);
// The picture turned as orientation asks.
QImage upright(const QImage& image, int orientation);

// A JPEG decoded with libjpeg-turbo, already reduced by the library's own
// scaling to the smallest size that is still at least longSide on its long side.
// Null when the bytes are no JPEG it can read; reason then says why.
QImage decodeJpeg(const QByteArray& bytes, int longSide, QString* reason);

// The picture ready to keep: upright and no longer than kPhotoLongSide.
// Null, with the reason, when the file cannot be read as a picture.
QImage preparePhoto(const QString& sourcePath, QString* reason);

struct Imported {
    QString name;   // photos/YYYY/..., empty on failure
    QString reason; // why not, in the gardener's words
};
// Copies the picture at sourcePath into the notebook for a diary entry of that
// date. Refuses to write anywhere the photo folder's links would lead outside
// the data folder. The file is written atomically under a name not yet used.
Imported importPhoto(const QString& sourcePath, const QString& dataFolder, const QDate& date);

// The file of a stored photo name, or empty when the name is not one the
// program writes or the file it names does not lie inside the data folder.
QString photoPath(const QString& dataFolder, const QString& name);
// The stored photo, or a null image when it is missing, unsafe or unreadable.
QImage loadPhoto(const QString& dataFolder, const QString& name);

} // namespace photos
