#include "crops/crop_list_report.h"
#include "crops/crop_records.h"

#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

TSakumotu* addCrop(TSakumotuList& crops, const QString& name) {
    TSakumotu* crop = crops.add();
    crop->name = name;
    return crop;
}

QStringList allNames(TForm39& form) {
    QStringList names;
    QStringList fields;
    form.reset();
    while (form.next(fields))
        names << fields.value(TForm39::FieldName);
    return names;
}

// Page 1 at 10 dots per millimetre.
QImage firstPage(TForm39& form) {
    QImage image(2100, 2970, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000);
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    QPainter painter(&image);
    form.report().paintPage(painter, form.report().prepare(form).first(), 1);
    return image;
}

// Positions on the paper: the body starts at the 10 mm margins.
constexpr double kColumnHeaderTop = 10 + 15.1;
constexpr double kDetailTop = kColumnHeaderTop + 13.8;

bool darkAt(const QImage& image, double xMm, double yMm) {
    return qGray(image.pixel(int(xMm * 10 + 0.5), int(yMm * 10 + 0.5))) < 128;
}

bool inkIn(const QImage& image, const QRectF& mm) {
    for (int y = int(mm.top() * 10); y < int(mm.bottom() * 10); ++y)
        for (int x = int(mm.left() * 10); x < int(mm.right() * 10); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

class CropListReportTest : public QObject {
    Q_OBJECT

private slots:
    void rowsFollowCatalogueOrderWithoutTheDummy() {
        TSakumotuList crops;
        crops.add()->name = kDummyCropName;
        addCrop(crops, QStringLiteral("ナス"));
        addCrop(crops, QStringLiteral("キュウリ"));
        addCrop(crops, QStringLiteral("トマト"));
        TForm39 form(crops);
        const QStringList expected{QStringLiteral("ナス"), QStringLiteral("キュウリ"),
                                   QStringLiteral("トマト")};
        QCOMPARE(allNames(form), expected);
        QCOMPARE(allNames(form), expected); // the loop starts over for every run
    }

    void rowCarriesTheFourTextForms() {
        TSakumotuList crops;
        TSakumotu* crop = addCrop(crops, QStringLiteral("トマト"));
        crop->okiniiri1 = QStringLiteral("桃太郎");
        crop->okiniiri2 = QStringLiteral("アイコ");
        TJiki* period = crop->jiki.add();
        period->st = QStringLiteral("3月");
        period->ed = QStringLiteral("4月");
        crop->joukan = QStringLiteral("60");
        crop->kabukan1 = QStringLiteral("45");
        crop->kabukan2 = QStringLiteral("30");
        TForm39 form(crops);
        QStringList fields;
        form.reset();
        QVERIFY(form.next(fields));
        QCOMPARE(fields, (QStringList{QStringLiteral("トマト"), QStringLiteral("桃太郎、アイコ"),
                                      QStringLiteral("3月～4月"),
                                      QStringLiteral("条間60cmで、株間45（または30）cm")}));
        QVERIFY(!form.next(fields));
    }

    void eighteenCropsFillAPage() {
        TSakumotuList crops;
        crops.add()->name = kDummyCropName;
        for (int i = 0; i < 18; ++i)
            addCrop(crops, QString::number(i));
        TForm39 form(crops);
        QCOMPARE(form.report().prepare(form).size(), 1);
        addCrop(crops, QStringLiteral("19"));
        QCOMPARE(form.report().prepare(form).size(), 2);
    }

    void gridOfColumnHeaderAndDetail() {
        TSakumotuList crops;
        addCrop(crops, QStringLiteral("トマト"));
        TForm39 form(crops);
        const QImage page = firstPage(form);
        // Frame of the column header: top, left and right edges.
        QVERIFY(darkAt(page, 60, kColumnHeaderTop));
        QVERIFY(darkAt(page, 10, kColumnHeaderTop + 3));
        QVERIFY(darkAt(page, 200, kColumnHeaderTop + 3));
        // Vertical lines at 34.0 and 76.9 through both bands.
        QVERIFY(darkAt(page, 44.0, kColumnHeaderTop + 3));
        QVERIFY(darkAt(page, 86.9, kDetailTop + 3));
        // The horizontal line of the right cell: 7.0 in the header, 6.8 in the detail.
        QVERIFY(darkAt(page, 150, kColumnHeaderTop + 7.0));
        QVERIFY(!darkAt(page, 60, kColumnHeaderTop + 7.0));
        QVERIFY(darkAt(page, 150, kDetailTop + 6.8));
        QVERIFY(!darkAt(page, 60, kDetailTop + 6.8));
        // The detail closes 13.5 mm below its top; nothing follows the only row.
        QVERIFY(darkAt(page, 60, kDetailTop + 13.5));
        QVERIFY(!darkAt(page, 60, kDetailTop + 20));
    }

    void headerTextsAtTheirPlaces() {
        TSakumotuList crops;
        addCrop(crops, QStringLiteral("トマト"));
        TForm39 form(crops);
        const QImage page = firstPage(form);
        QVERIFY(inkIn(page, QRectF(10 + 81.8, 10 + 6.4, 30, 5))); // 作 物 一 覧
        QVERIFY(!inkIn(page, QRectF(10, 10, 70, 14)));            // nothing left of the title
        QVERIFY(inkIn(page, QRectF(10 + 168, 10 + 1.9, 5.3, 4))); // the number, right-aligned in its box
        QVERIFY(!inkIn(page,
                       QRectF(10 + 162.5, 10 + 1.9, 4, 4))); // a one-digit number leaves the box's left empty
        QVERIFY(inkIn(page, QRectF(10 + 174.6, 10 + 1.9, 10, 4)));              // ページ
        QVERIFY(inkIn(page, QRectF(10 + 1.9, kColumnHeaderTop + 4.8, 10, 3)));  // 作物名
        QVERIFY(inkIn(page, QRectF(10 + 78.1, kColumnHeaderTop + 1.6, 10, 3))); // 栽培時期
        QVERIFY(inkIn(page, QRectF(10 + 78.1, kColumnHeaderTop + 8.7, 5, 3)));  // 間隔
    }

    void cropWithoutDetailsLeavesThreeCellsEmpty() {
        TSakumotuList crops;
        addCrop(crops, QStringLiteral("トマト"));
        TForm39 form(crops);
        const QImage page = firstPage(form);
        QVERIFY(inkIn(page, QRectF(10 + 1.9, kDetailTop + 5.0, 10, 3)));
        QVERIFY(!inkIn(page, QRectF(10 + 35, kDetailTop + 1, 41, 12)));
        QVERIFY(!inkIn(page, QRectF(10 + 78, kDetailTop + 1, 110, 5.4)));
        QVERIFY(!inkIn(page, QRectF(10 + 78, kDetailTop + 7.6, 110, 5.4)));
    }

    void longNameIsCutAtItsCell() {
        TSakumotuList crops;
        addCrop(crops, QStringLiteral("とても長い名前の作物とても長い名前の作物"));
        TForm39 form(crops);
        const QImage page = firstPage(form);
        QVERIFY(inkIn(page, QRectF(10 + 25, kDetailTop + 5.0, 8.5, 3)));
        // Between the line at 34.0 and the next cell's text at 35.5.
        QVERIFY(!inkIn(page, QRectF(10 + 34.5, kDetailTop + 1, 1, 12)));
    }
};

QTEST_MAIN(CropListReportTest)
#include "crop_list_report_test.moc"
