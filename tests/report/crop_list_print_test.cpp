#include "crops/crop_list_print.h"
#include "crops/crop_records.h"
#include "report/pdf_tools.h"
#include "support/scripted_platform.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Also plays the user at the print dialog: notes what it was offered and,
// when told to, picks a page range or a number of copies.
class PrintingPlatform : public ScriptedPlatform {
public:
    using ScriptedPlatform::ScriptedPlatform;

    int dialogs = 0;
    int offeredFrom = 0;
    int offeredTo = 0;
    int offeredCopies = 0;
    QPrinter::PrintRange offeredRange = QPrinter::Selection;
    QPageLayout::Orientation offeredOrientation = QPageLayout::Landscape;
    int pickFrom = 0; // 0: all pages
    int pickTo = 0;
    int pickCopies = 1;

    bool printDialog(QPrinter& printer) override {
        ++dialogs;
        offeredFrom = printer.fromPage();
        offeredTo = printer.toPage();
        offeredCopies = printer.copyCount();
        offeredRange = printer.printRange();
        offeredOrientation = printer.pageLayout().orientation();
        const bool accepted = ScriptedPlatform::printDialog(printer);
        if (pickFrom > 0) {
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(pickFrom, pickTo);
        }
        printer.setCopyCount(pickCopies);
        return accepted;
    }
};

TSakumotu* addCrop(TSakumotuList& crops, const QString& name, const QString& start = QString()) {
    TSakumotu* crop = crops.add();
    crop->name = name;
    if (!start.isEmpty()) {
        TJiki* period = crop->jiki.add();
        period->st = start;
        period->ed = QStringLiteral("4月");
    }
    return crop;
}

// The catalogue as the main window holds it: the dummy first.
void fill(TSakumotuList& crops, int count) {
    crops.add()->name = kDummyCropName;
    for (int i = 1; i <= count; ++i)
        addCrop(crops, QStringLiteral("作物%1").arg(i, 2, 10, QLatin1Char('0')));
}

} // namespace

class CropListPrintTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString pdf() const { return m_dir.filePath(QStringLiteral("list.pdf")); }
    std::unique_ptr<PrintingPlatform> platform() {
        QFile::remove(pdf());
        auto p = std::make_unique<PrintingPlatform>(m_dir.path() + QLatin1Char('/'));
        p->printFile = pdf();
        return p;
    }

private slots:
    void initTestCase() {
        if (!pdftools::available())
            QSKIP("poppler-utils are not installed");
    }

    void dummyAndThreeCropsGiveThreeRowsInCatalogueOrder() {
        TSakumotuList crops;
        crops.add()->name = kDummyCropName;
        addCrop(crops, QStringLiteral("ナス"), QStringLiteral("1月"));
        addCrop(crops, QStringLiteral("キュウリ"), QStringLiteral("2月"));
        addCrop(crops, QStringLiteral("トマト"), QStringLiteral("3月"));
        auto p = platform();
        printCropList(crops, *p);
        QCOMPARE(pdftools::pageCount(pdf()), 1);
        const QString text = pdftools::pageText(pdf(), 1);
        const int nasu = int(text.indexOf(QStringLiteral("ナス")));
        const int kyuuri = int(text.indexOf(QStringLiteral("キュウリ")));
        const int tomato = int(text.indexOf(QStringLiteral("トマト")));
        QVERIFY2(nasu >= 0 && nasu < kyuuri && kyuuri < tomato, qPrintable(text));
        QCOMPARE(text.count(QStringLiteral("月～4月")), 3);
        QVERIFY(text.contains(QStringLiteral("1月～4月")));
        QVERIFY(!text.contains(QStringLiteral("ダミー")));
        QVERIFY(p->errors.isEmpty());
    }

    void printsOnA4() {
        TSakumotuList crops;
        fill(crops, 1);
        auto p = platform();
        printCropList(crops, *p);
        QVERIFY(QString::fromUtf8(pdftools::run(QStringLiteral("pdfinfo"), {pdf()}))
                    .contains(QStringLiteral("(A4)")));
    }

    void twoPagesCarryNumberTitleAndColumnHeader() {
        TSakumotuList crops;
        fill(crops, 30);
        auto p = platform();
        printCropList(crops, *p);
        QCOMPARE(pdftools::pageCount(pdf()), 2);
        for (int page = 1; page <= 2; ++page) {
            const QString text = pdftools::pageText(pdf(), page);
            QVERIFY2(text.contains(QRegularExpression(QStringLiteral("%1\\s*ページ").arg(page))),
                     qPrintable(text));
            // The blanks of the title are narrower than the gap the extractor reads as a space.
            QVERIFY(text.contains(QRegularExpression(QStringLiteral("作\\s*物\\s*一\\s*覧"))));
            QVERIFY(text.contains(QStringLiteral("作物名")));
            QVERIFY(text.contains(QStringLiteral("お気に入り品種")));
        }
        QVERIFY(pdftools::pageText(pdf(), 1).contains(QStringLiteral("作物18")));
        QVERIFY(pdftools::pageText(pdf(), 2).contains(QStringLiteral("作物19")));
        QVERIFY(pdftools::pageText(pdf(), 2).contains(QStringLiteral("作物30")));
    }

    void dialogOffersEveryPreparedPageOnceInPortrait() {
        TSakumotuList crops;
        fill(crops, 40);
        auto p = platform();
        printCropList(crops, *p);
        QCOMPARE(p->dialogs, 1);
        QCOMPARE(p->offeredFrom, 1);
        QCOMPARE(p->offeredTo, 3);
        QCOMPARE(p->offeredRange, QPrinter::AllPages);
        QCOMPARE(p->offeredCopies, 1);
        QCOMPARE(p->offeredOrientation, QPageLayout::Portrait);
    }

    void pageRangeTwoToTwoPrintsOnePage() {
        TSakumotuList crops;
        fill(crops, 30);
        auto p = platform();
        p->pickFrom = 2;
        p->pickTo = 2;
        printCropList(crops, *p);
        QCOMPARE(pdftools::pageCount(pdf()), 1);
        const QString text = pdftools::pageText(pdf(), 1);
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("2\\s*ページ"))));
        QVERIFY(text.contains(QStringLiteral("作物19")));
        QVERIFY(!text.contains(QStringLiteral("作物18")));
    }

    void copiesPrintTheListAgain() {
        TSakumotuList crops;
        fill(crops, 3);
        auto p = platform();
        p->pickCopies = 2;
        printCropList(crops, *p);
        QCOMPARE(pdftools::pageCount(pdf()), 2);
        QVERIFY(pdftools::pageText(pdf(), 2).contains(QStringLiteral("作物03")));
    }

    void cancelPrintsNothing() {
        TSakumotuList crops;
        fill(crops, 3);
        auto p = platform();
        p->printDialogAccepts = false;
        printCropList(crops, *p);
        QCOMPARE(p->dialogs, 1);
        QVERIFY(!QFile::exists(pdf()));
        QCOMPARE(crops.count(), 4);
        QVERIFY(p->allShown().isEmpty());
    }
};

QTEST_MAIN(CropListPrintTest)
#include "crop_list_print_test.moc"
