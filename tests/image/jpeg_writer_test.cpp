#include "image/jpeg_writer.h"
#include "plans/plan_chart.h"
#include "plans/plan_records.h"
#include "store/outside_write.h"
#include "settings/preferences.h"
#include "support/file_size_limit.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using testsupport::readBytes;

namespace {

// Images written where no notebook is.
const store::NotebookFiles kNoNotebook;

QImage sample() {
    QImage image(123, 45, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 2, y * 5, (x + y) % 256));
    return image;
}

// The marker codes of the segments before the scan data.
QList<int> markers(const QByteArray& jpeg) {
    QList<int> found;
    int at = 2; // after SOI
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        const int marker = uchar(jpeg[at + 1]);
        found << marker;
        if (marker == 0xDA)
            break;
        at += 2 + (uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]));
    }
    return found;
}

QByteArray segment(const QByteArray& jpeg, int wanted) {
    int at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF) {
        const int length = uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]);
        if (uchar(jpeg[at + 1]) == wanted)
            return jpeg.mid(at + 4, length - 2);
        at += 2 + length;
    }
    return QByteArray();
}

} // namespace

class JpegWriterTest : public QObject {
    Q_OBJECT

private slots:
    void writesBaselineJpegUnderTheExactName() {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/作付計画");
        image::writeJpeg(sample(), path, kNoNotebook);
        QVERIFY(QFile::exists(path));
        QVERIFY(!QFile::exists(path + QStringLiteral(".jpg")));
        const QByteArray bytes = readBytes(path);
        QVERIFY(bytes.startsWith("\xFF\xD8"));
        const QList<int> found = markers(bytes);
        QVERIFY(found.contains(0xC0));  // baseline
        QVERIFY(!found.contains(0xC2)); // not progressive
        QVERIFY(!found.contains(0xC1));
        const QByteArray frame = segment(bytes, 0xC0);
        QCOMPARE(int(uchar(frame[0])), 8);                     // 8 bits per sample
        QCOMPARE(uchar(frame[1]) << 8 | uchar(frame[2]), 45);  // height
        QCOMPARE(uchar(frame[3]) << 8 | uchar(frame[4]), 123); // width
        QCOMPARE(int(uchar(frame[5])), 3);                     // colour
        // Quality 90 scales the standard luminance table by 20 %: its first entry 16 becomes 3.
        const QByteArray tables = segment(bytes, 0xDB);
        QCOMPARE(int(uchar(tables[0])), 0); // 8-bit table 0
        QCOMPARE(int(uchar(tables[1])), 3);
    }

    void outputDecodesToTheImage() {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/flat.jpg");
        QImage flat(64, 32, QImage::Format_RGB888);
        flat.fill(QColor(200, 40, 90));
        image::writeJpeg(flat, path, kNoNotebook);
        QImage decoded;
        QVERIFY(decoded.load(path, "JPG"));
        QCOMPARE(decoded.size(), flat.size());
        const QColor c = decoded.pixelColor(30, 15);
        QVERIFY(std::abs(c.red() - 200) <= 3);
        QVERIFY(std::abs(c.green() - 40) <= 3);
        QVERIFY(std::abs(c.blue() - 90) <= 3);
    }

    void chartOfEmptyPlanIsSavedAtItsFullSize() {
        TGroupList plan;
        QImage chartImage;
        DrawChart(plan, chartImage, settings::kDefaultImageCaption);
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/sakutuke.jpg");
        image::writeJpeg(chartImage, path, kNoNotebook);
        QImage decoded;
        QVERIFY(decoded.load(path));
        QCOMPARE(decoded.size(), QSize(697, 17));
    }

    void everyPixelFormatGivesTheSameFile() {
        const QImage rgb32 = sample();
        const QByteArray expected = image::encodeJpeg(rgb32);
        QCOMPARE(image::encodeJpeg(rgb32.convertToFormat(QImage::Format_RGB888)), expected);
        QCOMPARE(image::encodeJpeg(rgb32.convertToFormat(QImage::Format_ARGB32)), expected);
    }

    void matchesTheLibrarysOwnEncoder() {
        const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
        if (cjpeg.isEmpty())
            QSKIP("cjpeg is not installed");
        QTemporaryDir dir;
        const QImage rgb = sample().convertToFormat(QImage::Format_RGB888);
        QByteArray ppm =
            "P6\n" + QByteArray::number(rgb.width()) + ' ' + QByteArray::number(rgb.height()) + "\n255\n";
        for (int y = 0; y < rgb.height(); ++y)
            ppm.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
        QFile input(dir.path() + QStringLiteral("/in.ppm"));
        QVERIFY(input.open(QIODevice::WriteOnly));
        input.write(ppm);
        input.close();
        QProcess process;
        process.start(cjpeg, {QStringLiteral("-quality"), QStringLiteral("90"), QStringLiteral("-baseline"),
                              input.fileName()});
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(image::encodeJpeg(rgb), process.readAllStandardOutput());
    }

    void failedWriteSaysWhyInJapanese_data() {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<qint64>("sizeLimit"); // 0: none
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder")
            << "missing/kounyu.jpg" << qint64(0) << QStringLiteral("保存先のフォルダーがありません。");
        QTest::newRow("below a regular file")
            << "plain/kounyu.jpg" << qint64(0) << QStringLiteral("保存先のフォルダーがありません。");
        QTest::newRow("a folder of that name")
            << "folder" << qint64(0) << QStringLiteral("同じ名前のフォルダーがあります。");
        QTest::newRow("file too large")
            << "kounyu.jpg" << qint64(100) << QStringLiteral("ファイルが大きすぎて書き込めません。");
    }

    // The message names the failure, the path and the reason, one to a line.
    void failedWriteSaysWhyInJapanese() {
        QFETCH(QString, relativePath);
        QFETCH(qint64, sizeLimit);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile plain(dir.path() + QStringLiteral("/plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString path = dir.path() + QLatin1Char('/') + relativePath;
        QString text;
        try {
            std::optional<testsupport::FileSizeLimit> limit;
            if (sizeLimit > 0)
                limit.emplace(rlim_t(sizeLimit));
            image::writeJpeg(sample(), path, kNoNotebook);
        } catch (const image::JpegError& error) {
            text = QString::fromUtf8(error.what());
        }
        QCOMPARE(text, QStringLiteral("画像を保存できませんでした。\n") + path + QLatin1Char('\n') + reason);
        QVERIFY(!QFileInfo(path).isFile());
    }

    void tooLargeImageSaysSoInJapanese() {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/sakutuke.jpg");
        QImage tall(8, 65501, QImage::Format_RGB32);
        tall.fill(Qt::white);
        QString text;
        try {
            image::writeJpeg(tall, path, kNoNotebook);
        } catch (const image::JpegError& error) {
            text = QString::fromUtf8(error.what());
        }
        QCOMPARE(text, QStringLiteral("画像を保存できませんでした。\n") + path +
                           QStringLiteral("\n画像が大きすぎます（縦横とも 65500 ピクセルまで）。"));
    }

    void replacesAnExistingFile() {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/chart.jpg");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old bytes");
        old.close();
        image::writeJpeg(sample(), path, kNoNotebook);
        QCOMPARE(readBytes(path), image::encodeJpeg(sample()));
    }

    void nullImageRaises() { QVERIFY_THROWS_EXCEPTION(image::JpegError, image::encodeJpeg(QImage())); }
};

QTEST_MAIN(JpegWriterTest)
#include "jpeg_writer_test.moc"
