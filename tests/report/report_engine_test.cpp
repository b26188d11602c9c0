#include "report/mm_canvas.h"
#include "report/pdf_tools.h"
#include "report/report.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Rows "row 1", "row 2", ... and a count of passes, so a test sees the loop restart.
class CountingRows : public report::RowSource {
public:
    explicit CountingRows(int count) : m_count(count) {}
    int passes = 0;

    void reset() override {
        m_next = 0;
        ++passes;
    }
    bool next(QStringList& fields) override {
        if (m_next >= m_count)
            return false;
        fields = {QStringLiteral("row %1").arg(++m_next)};
        return true;
    }

private:
    int m_count;
    int m_next = 0;
};

QFont plainFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(10);
    return font;
}

// Page header 20 mm, column header 10 mm, detail 50 mm: five rows on 277 mm of body.
report::Report sampleReport() {
    report::Report r;
    r.pageHeader = report::Band(20);
    r.pageHeader.addText(QStringLiteral("TITLE"), QRectF(0, 2, 100, 10), plainFont());
    r.pageHeader.addPageNumber(QRectF(150, 2, 20, 10), plainFont());
    r.pageHeader.addText(QStringLiteral("PAGE"), QRectF(172, 2, 18, 10), plainFont());
    r.columnHeader = report::Band(10);
    r.columnHeader.addFrame(QRectF(0, 0, 190, 10));
    r.detail = report::Band(50);
    r.detail.addField(0, QRectF(2, 2, 100, 10), plainFont());
    r.detail.addLine(QPointF(0, 50), QPointF(190, 50));
    return r;
}

// An A4 page at 10 dots per millimetre, painter origin at the paper's corner.
QImage paintedPage(const report::Report& r, const report::Page& page, int number) {
    QImage image(2100, 2970, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    QPainter painter(&image);
    r.paintPage(painter, page, number);
    return image;
}

bool darkAt(const QImage& image, double xMm, double yMm) {
    return qGray(image.pixel(int(xMm * 10), int(yMm * 10))) < 128;
}

bool inkIn(const QImage& image, const QRectF& mm) {
    for (int y = int(mm.top() * 10); y < int(mm.bottom() * 10); ++y)
        for (int x = int(mm.left() * 10); x < int(mm.right() * 10); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

class ReportEngineTest : public QObject {
    Q_OBJECT

private slots:
    void fitsWholeDetailBandsBetweenHeadersAndBottomMargin() {
        QCOMPARE(sampleReport().rowsPerPage(), 4); // (277 - 30) / 50
        report::Report r = sampleReport();
        r.detail = report::Band(24.7); // exactly ten rows
        QCOMPARE(r.rowsPerPage(), 10);
    }

    void preparationSplitsRowsIntoPages() {
        CountingRows rows(9);
        const QList<report::Page> pages = sampleReport().prepare(rows);
        QCOMPARE(pages.size(), 3);
        QCOMPARE(pages[0].rows.size(), 4);
        QCOMPARE(pages[2].rows.size(), 1);
        QCOMPARE(pages[2].rows[0], QStringList{QStringLiteral("row 9")});
    }

    void reportWithoutRowsHasOnePageOfHeaders() {
        CountingRows rows(0);
        QCOMPARE(sampleReport().prepare(rows).size(), 1);
    }

    void everyPassRestartsTheRowLoop() {
        CountingRows rows(5);
        const report::Report r = sampleReport();
        QCOMPARE(r.prepare(rows).size(), 2);
        QCOMPARE(r.prepare(rows).size(), 2);
        QCOMPARE(rows.passes, 2);
    }

    void bandsSitBelowEachOtherFromTheMargins() {
        const report::Report r = sampleReport();
        CountingRows rows(2);
        const QImage page = paintedPage(r, r.prepare(rows).first(), 1);
        // Column header frame: top edge at 10 + 20 mm, left edge at 10 mm.
        QVERIFY(darkAt(page, 50, 30));
        QVERIFY(darkAt(page, 10, 35));
        QVERIFY(!darkAt(page, 50, 29));
        // The detail line closes each 50 mm band: 10 + 30 + 50 and + 100.
        QVERIFY(darkAt(page, 100, 90));
        QVERIFY(darkAt(page, 100, 140));
        QVERIFY(!darkAt(page, 100, 190));
        // The row text starts 2 mm into its band.
        QVERIFY(inkIn(page, QRectF(12, 42, 20, 6)));
    }

    void linesAreTwoPixelsAtNinetySixDpiWide() {
        const report::Report r = sampleReport();
        CountingRows rows(1);
        const QImage page = paintedPage(r, r.prepare(rows).first(), 1);
        int thickness = 0;
        for (int y = 280; y < 320; ++y)
            thickness += qGray(page.pixel(500, y)) < 128 ? 1 : 0;
        QVERIFY2(thickness >= 5 && thickness <= 6, qPrintable(QString::number(thickness))); // 0.53 mm
    }

    void textIsCutAtItsCellEdge() {
        report::Report r = sampleReport();
        r.detail = report::Band(20);
        r.detail.addField(0, QRectF(0, 0, 10, 10), plainFont());
        report::Page long_;
        long_.rows << QStringList{QStringLiteral("WWWWWWWWWWWWWWWWWWWW")};
        const QImage page = paintedPage(r, long_, 1);
        QVERIFY(inkIn(page, QRectF(10, 41, 10, 9)));
        QVERIFY(!inkIn(page, QRectF(20.1, 41, 20, 9)));
    }

    void pageNumberFollowsThePage() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        if (!pdftools::available())
            QSKIP("poppler-utils are not installed");
        QPdfWriter writer(pdf);
        CountingRows rows(6);
        QCOMPARE(sampleReport().print(writer, rows, {}), 2);
        QCOMPARE(pdftools::pageCount(pdf), 2);
        QVERIFY(pdftools::pageText(pdf, 1).contains(QRegularExpression(QStringLiteral("1\\s*PAGE"))));
        QVERIFY(pdftools::pageText(pdf, 2).contains(QRegularExpression(QStringLiteral("2\\s*PAGE"))));
        QVERIFY(pdftools::pageText(pdf, 2).contains(QStringLiteral("TITLE")));
        QVERIFY(pdftools::pageText(pdf, 2).contains(QStringLiteral("row 5")));
    }

    void printsOnlyTheChosenPages() {
        if (!pdftools::available())
            QSKIP("poppler-utils are not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        QPdfWriter writer(pdf);
        CountingRows rows(9);
        report::PageSelection selection;
        selection.ranges.addPage(2);
        QCOMPARE(sampleReport().print(writer, rows, selection), 1);
        QCOMPARE(pdftools::pageCount(pdf), 1);
        QVERIFY(pdftools::pageText(pdf, 1).contains(QStringLiteral("row 5")));
        QVERIFY(!pdftools::pageText(pdf, 1).contains(QStringLiteral("row 4")));
    }

    void copiesRepeatTheWholeRange() {
        if (!pdftools::available())
            QSKIP("poppler-utils are not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        QPdfWriter writer(pdf);
        CountingRows rows(6);
        report::PageSelection selection;
        selection.copies = 2;
        QCOMPARE(sampleReport().print(writer, rows, selection), 4);
        QCOMPARE(pdftools::pageCount(pdf), 4);
        QVERIFY(pdftools::pageText(pdf, 3).contains(QStringLiteral("row 1")));
        QVERIFY(pdftools::pageText(pdf, 4).contains(QStringLiteral("row 5")));
    }

    void rangeBeyondTheLastPagePrintsNothing() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        QPdfWriter writer(pdf);
        CountingRows rows(2);
        report::PageSelection selection;
        selection.ranges.addRange(3, 5);
        QCOMPARE(sampleReport().print(writer, rows, selection), 0);
        QVERIFY(!QFileInfo::exists(pdf) || QFileInfo(pdf).size() == 0);
    }
};

QTEST_MAIN(ReportEngineTest)
#include "report_engine_test.moc"
