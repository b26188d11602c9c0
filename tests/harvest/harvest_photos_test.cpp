#include "harvest/photo_import.h"
#include "image/jpeg_writer.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// An APP1 segment holding a big-endian TIFF with one IFD entry: the orientation.
QByteArray exifSegment(int orientation) {
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01", 2);                                       // one entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8);                     // orientation, SHORT, 1
    tiff += char(0) + QByteArray(1, char(orientation)) + QByteArray(2, 0); // value, padded
    tiff += QByteArray(4, 0);                                              // no next IFD
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(body.size()) + 2;
    return QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + body;
}

QByteArray withOrientation(const QByteArray& jpeg, int orientation) {
    return jpeg.left(2) + exifSegment(orientation) + jpeg.mid(2);
}

// Left half red, right half blue.
QImage halves(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    return image;
}

bool isRed(QRgb c) {
    return qRed(c) > 200 && qBlue(c) < 60;
}

bool isBlue(QRgb c) {
    return qBlue(c) > 200 && qRed(c) < 60;
}

} // namespace

// Photos come into the notebook upright, small enough, inside its folder; the
// original is only read, and nothing read from the diary leads out of the folder.
class HarvestPhotosTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void keepsALargePhotoAtMostLongSide();
    void turnsThePhotoAsItsOrientationAsks_data();
    void turnsThePhotoAsItsOrientationAsks();
    void readsNoOrientationFromBrokenExif_data();
    void readsNoOrientationFromBrokenExif();
    void reportsAPictureItCannotRead_data();
    void reportsAPictureItCannotRead();
    void refusesAPhotoFolderThatLeadsOutside();
    void storedNamesNeverLeadOutside();

private:
    QString source(const QString& name, const QByteArray& bytes);
    QStringList photoFiles() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
    QString m_outside;
};

void HarvestPhotosTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_data = m_dir->path() + "/data/";
    m_outside = m_dir->path() + "/outside/";
    QVERIFY(QDir().mkpath(m_data));
    QVERIFY(QDir().mkpath(m_outside));
}

QString HarvestPhotosTest::source(const QString& name, const QByteArray& bytes) {
    const QString path = m_outside + name;
    writeBytes(path, bytes);
    return path;
}

QStringList HarvestPhotosTest::photoFiles() const {
    QStringList found;
    QDir photos(m_data + "photos");
    for (const QString& year : photos.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        for (const QString& file : QDir(photos.filePath(year)).entryList(QDir::Files))
            found << "photos/" + year + "/" + file;
    return found;
}

void HarvestPhotosTest::keepsALargePhotoAtMostLongSide() {
    const QByteArray original = image::encodeJpeg(halves(3300, 1650));
    const QString path = source("big.jpg", original);
    const photos::Imported imported = photos::importPhoto(path, m_data, QDate(2025, 7, 14));
    QCOMPARE(imported.reason, QString());
    QVERIFY(imported.name.startsWith("photos/2025/20250714-"));
    QCOMPARE(photoFiles(), QStringList{imported.name});
    const QImage stored = photos::loadPhoto(m_data, imported.name);
    QCOMPARE(stored.size(), QSize(photos::kPhotoLongSide, photos::kPhotoLongSide / 2));
    QVERIFY(isRed(stored.pixel(100, 400)));
    QVERIFY(isBlue(stored.pixel(1500, 400)));
    QCOMPARE(readBytes(path), original);
    // A second photo of the same day takes a name of its own.
    const photos::Imported second = photos::importPhoto(path, m_data, QDate(2025, 7, 14));
    QVERIFY(!second.name.isEmpty());
    QVERIFY(second.name != imported.name);
}

void HarvestPhotosTest::turnsThePhotoAsItsOrientationAsks_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("redAt");
    QTest::addColumn<QPoint>("blueAt");
    QTest::newRow("as taken") << 1 << QSize(400, 200) << QPoint(50, 100) << QPoint(350, 100);
    QTest::newRow("mirrored") << 2 << QSize(400, 200) << QPoint(350, 100) << QPoint(50, 100);
    QTest::newRow("upside down") << 3 << QSize(400, 200) << QPoint(350, 100) << QPoint(50, 100);
    QTest::newRow("turned right") << 6 << QSize(200, 400) << QPoint(100, 50) << QPoint(100, 350);
    QTest::newRow("turned left") << 8 << QSize(200, 400) << QPoint(100, 350) << QPoint(100, 50);
}

void HarvestPhotosTest::turnsThePhotoAsItsOrientationAsks() {
    QFETCH(int, orientation);
    QFETCH(QSize, size);
    QFETCH(QPoint, redAt);
    QFETCH(QPoint, blueAt);
    const QByteArray bytes = withOrientation(image::encodeJpeg(halves(400, 200)), orientation);
    QCOMPARE(photos::exifOrientation(bytes), orientation);
    const photos::Imported imported = photos::importPhoto(source("p.jpg", bytes), m_data, QDate(2025, 1, 2));
    QCOMPARE(imported.reason, QString());
    const QImage stored = photos::loadPhoto(m_data, imported.name);
    QCOMPARE(stored.size(), size);
    QVERIFY(isRed(stored.pixel(redAt)));
    QVERIFY(isBlue(stored.pixel(blueAt)));
}

void HarvestPhotosTest::readsNoOrientationFromBrokenExif_data() {
    QTest::addColumn<QByteArray>("segment");
    const QByteArray good = exifSegment(6);
    QByteArray farOffset = good;
    farOffset[4 + 6 + 7] = char(0x7f); // the first IFD far beyond the segment
    QByteArray manyEntries = good;
    manyEntries[4 + 6 + 8] = char(0xff);  // 65,000 entries in a few bytes,
    manyEntries[4 + 6 + 11] = char(0x11); // none of them the orientation
    QByteArray longSegment = good;
    longSegment[2] = char(0x7f); // a length beyond the file
    QTest::newRow("IFD beyond the end") << farOffset;
    QTest::newRow("more entries than bytes") << manyEntries;
    QTest::newRow("segment beyond the file") << longSegment;
    QTest::newRow("not exif") << QByteArray("\xff\xe1\0\x08JFXX\0\0", 10);
}

void HarvestPhotosTest::readsNoOrientationFromBrokenExif() {
    QFETCH(QByteArray, segment);
    const QByteArray jpeg = image::encodeJpeg(halves(40, 20));
    QCOMPARE(photos::exifOrientation(jpeg.left(2) + segment + jpeg.mid(2)), 1);
}

void HarvestPhotosTest::reportsAPictureItCannotRead_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no picture") << QByteArray("this is no photo");
    QTest::newRow("JPEG start only") << QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0", 11);
    QTest::newRow("empty") << QByteArray();
}

void HarvestPhotosTest::reportsAPictureItCannotRead() {
    QFETCH(QByteArray, bytes);
    const photos::Imported imported =
        photos::importPhoto(source("bad.jpg", bytes), m_data, QDate(2025, 1, 2));
    QCOMPARE(imported.name, QString());
    QVERIFY(!imported.reason.isEmpty());
    QCOMPARE(photoFiles(), QStringList());
    const photos::Imported missing = photos::importPhoto(m_outside + "none.jpg", m_data, QDate(2025, 1, 2));
    QVERIFY(!missing.reason.isEmpty());
}

void HarvestPhotosTest::refusesAPhotoFolderThatLeadsOutside() {
    const QString path = source("p.jpg", image::encodeJpeg(halves(40, 20)));
    QVERIFY(QFile::link(m_outside, m_data + "photos"));
    photos::Imported imported = photos::importPhoto(path, m_data, QDate(2025, 1, 2));
    QCOMPARE(imported.name, QString());
    QVERIFY(!imported.reason.isEmpty());
    QVERIFY(!QFileInfo::exists(m_outside + "2025"));
    // A year folder that is a link is refused the same way.
    QVERIFY(QFile::remove(m_data + "photos"));
    QVERIFY(QDir().mkpath(m_data + "photos"));
    QVERIFY(QFile::link(m_outside, m_data + "photos/2025"));
    imported = photos::importPhoto(path, m_data, QDate(2025, 1, 2));
    QCOMPARE(imported.name, QString());
    QCOMPARE(QDir(m_outside).entryList(QDir::Files), QStringList{"p.jpg"});
}

void HarvestPhotosTest::storedNamesNeverLeadOutside() {
    const QByteArray jpeg = image::encodeJpeg(halves(40, 20));
    writeBytes(m_outside + "secret.jpg", jpeg);
    QVERIFY(QDir().mkpath(m_data + "photos/2025"));
    QVERIFY(QFile::link(m_outside + "secret.jpg", m_data + "photos/2025/link.jpg"));
    writeBytes(m_data + "photos/2025/own.jpg", jpeg);
    QCOMPARE(photos::photoPath(m_data, "photos/2025/link.jpg"), QString());
    QCOMPARE(photos::photoPath(m_data, "photos/2025/../../../outside/secret.jpg"), QString());
    QCOMPARE(photos::photoPath(m_data, m_outside + "secret.jpg"), QString());
    QVERIFY(photos::loadPhoto(m_data, "photos/2025/link.jpg").isNull());
    QVERIFY(!photos::photoPath(m_data, "photos/2025/own.jpg").isEmpty());
    QCOMPARE(photos::loadPhoto(m_data, "photos/2025/own.jpg").size(), QSize(40, 20));
}

QTEST_GUILESS_MAIN(HarvestPhotosTest)
#include "harvest_photos_test.moc"
