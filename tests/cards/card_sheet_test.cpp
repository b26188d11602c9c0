#include "cards/card_sheets.h"
#include "crops/crop_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

QImage paint(const cards::CardSheet& sheet, QSize size = QSize()) {
    if (!size.isValid())
        size = sheet.clientSize;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red); // the sheet must cover all of it
    QPainter painter(&image);
    cards::paintSheet(painter, sheet, size);
    return image;
}

bool black(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

bool white(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(255, 255, 255);
}

// Rows of the area that hold any ink.
QList<int> inkRows(const QImage& image, const QRect& area) {
    QList<int> rows;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!white(image, x, y)) {
                rows << y;
                break;
            }
    return rows;
}

bool inkIn(const QImage& image, const QRect& area) {
    return !inkRows(image, area).isEmpty();
}

// Groups of consecutive rows of solid ink: one per line of text.
int textLines(const QImage& image, const QRect& area) {
    QList<int> rows;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                rows << y;
                break;
            }
    int lines = 0;
    for (int i = 0; i < rows.size(); ++i)
        if (i == 0 || rows[i] != rows[i - 1] + 1)
            ++lines;
    return lines;
}

const cards::CardText* textAt(const cards::CardSheet& sheet, int x, int y) {
    for (const cards::CardText& text : sheet.texts)
        if (text.place.rect(sheet.clientSize).topLeft() == QPoint(x, y))
            return &text;
    return nullptr;
}

TSakumotu cropWithPeriods(int count) {
    TSakumotu crop;
    crop.name = QStringLiteral("トマト");
    for (int i = 1; i <= count; ++i) {
        TJiki* period = crop.jiki.add();
        period->st = QStringLiteral("%1月").arg(i);
        period->ed = QStringLiteral("%1月").arg(i + 1);
    }
    return crop;
}

// The first column of the area that holds any ink, or -1.
int leftmostInk(const QImage& image, const QRect& area) {
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (!white(image, x, y))
                return x;
    return -1;
}

TCost purchaseOf(const QList<std::pair<QString, QString>>& lines) {
    TCost cost;
    for (const auto& [name, amount] : lines) {
        TSina* line = cost.sina.add();
        line->name = name;
        line->kingaku = amount;
    }
    return cost;
}

// The value column of the crop card between the dividers at 123 and 229.
const QRect kPeriodArea(121, 124, 376 - 121, 228 - 124);

} // namespace

class CardSheetTest : public QObject {
    Q_OBJECT

private slots:
    void frameLeavesItsMarginsAndDividerStandsAt120() {
        const QImage image = paint(cards::taskSheet(TYotei()));
        const int w = 472, h = 490;
        QVERIFY(black(image, 17, 19));
        QVERIFY(white(image, 16, 19) && white(image, 17, 18));
        QVERIFY(black(image, w - 17, 19) && white(image, w - 16, 100));
        QVERIFY(black(image, 17, h - 46) && white(image, 100, h - 45));
        QVERIFY(black(image, 120, 20) && black(image, 120, h - 47) && white(image, 121, 300));
        QVERIFY(white(image, 0, 0) && white(image, w - 1, h - 1));
    }

    void resizedSheetFollowsTheRightAndBottomEdges() {
        const QImage image = paint(cards::taskSheet(TYotei()), QSize(600, 700));
        QVERIFY(black(image, 583, 300));
        QVERIFY(black(image, 300, 654));
        QVERIFY(black(image, 582, 89));
        QVERIFY(white(image, 584, 300) && white(image, 300, 655));
    }

    void cropDividers() {
        const QImage image = paint(cards::cropSheet(TSakumotu()));
        for (int y : {89, 123, 229, 265}) {
            QVERIFY(black(image, 18, y));
            QVERIFY(black(image, 479, y));
        }
        QVERIFY(black(image, 121, 55) && black(image, 479, 55));
        QVERIFY(white(image, 119, 55) && white(image, 18, 55));
    }

    void cropTextsAtTheirRows() {
        TSakumotu crop = cropWithPeriods(1);
        crop.kamoku = QStringLiteral("ナス科");
        crop.okiniiri2 = QStringLiteral("桃太郎");
        crop.kabukan1 = QStringLiteral("45");
        crop.memo = QStringList{QStringLiteral("一行目"), QString(), QStringLiteral("三行目")};
        const cards::CardSheet sheet = cards::cropSheet(crop);
        QCOMPARE(textAt(sheet, 31, 29)->text, QStringLiteral("作物名"));
        QCOMPARE(textAt(sheet, 128, 29)->text, QStringLiteral("トマト"));
        QCOMPARE(textAt(sheet, 128, 64)->text, QStringLiteral("ナス科"));
        QCOMPARE(textAt(sheet, 31, 98)->text, QStringLiteral("お気に入り品種"));
        QCOMPARE(textAt(sheet, 31, 98)->font, cards::FontKind::SmallCaption);
        QCOMPARE(textAt(sheet, 128, 98)->text, QStringLiteral("桃太郎"));
        QCOMPARE(textAt(sheet, 31, 133)->text, QStringLiteral("栽培期間"));
        QCOMPARE(textAt(sheet, 128, 133)->text, QStringLiteral("1月～2月"));
        QCOMPARE(textAt(sheet, 31, 239)->text, QStringLiteral("条間と株間"));
        QCOMPARE(textAt(sheet, 128, 239)->text, QStringLiteral("株間45cm"));
        QCOMPARE(textAt(sheet, 31, 278)->text, QStringLiteral("栽培メモ"));
        const cards::CardText* memo = textAt(sheet, 128, 278);
        QCOMPARE(memo->text, QStringLiteral("一行目\n\n三行目"));
        QCOMPARE(memo->font, cards::FontKind::MultiLine);
        QVERIFY(memo->wrap);
    }

    void cropWithSevenPeriodsShowsFive() {
        const cards::CardSheet sheet = cards::cropSheet(cropWithPeriods(7));
        QVERIFY(textAt(sheet, 128, 208));
        QCOMPARE(textAt(sheet, 128, 208)->text, QStringLiteral("5月～6月"));
        QCOMPARE(textLines(paint(sheet), kPeriodArea), 5);
        const QList<int> rows = inkRows(paint(sheet), kPeriodArea);
        QVERIFY(rows.first() >= 133 && rows.last() < 229);
    }

    void cropWithoutPeriodsShowsFiveEmptyLines() {
        QCOMPARE(textLines(paint(cards::cropSheet(cropWithPeriods(0))), kPeriodArea), 0);
        QVERIFY(!textAt(cards::cropSheet(cropWithPeriods(0)), 128, 133));
    }

    void memoWrapsAtTheFieldWidthAndStopsAtTheFrame() {
        TSakumotu crop;
        crop.memo = QStringList{QString(60, QChar(0x3042))}; // あ × 60
        for (int i = 0; i < 40; ++i)
            crop.memo << QStringLiteral("行%1").arg(i);
        const QImage image = paint(cards::cropSheet(crop));
        QVERIFY(textLines(image, QRect(121, 266, 355, 60)) >= 3);         // the long line wraps
        QVERIFY(!inkIn(image, QRect(478, 266, 1, 273)));                  // never past the field
        QVERIFY(inkRows(image, QRect(121, 266, 355, 274)).last() <= 537); // cut above the frame
    }

    void taskNameWrapsOverThreeLinesAtMost() {
        TYotei task;
        task.name = QString(200, QChar(0x4E88)); // 予 × 200
        task.tuki = QStringLiteral("4");
        task.shuu = QStringLiteral("2");
        const cards::CardSheet sheet = cards::taskSheet(task);
        const QImage image = paint(sheet);
        QCOMPARE(textLines(image, QRect(121, 20, 330, 68)), 3);
        QCOMPARE(textAt(sheet, 128, 98)->text, QStringLiteral("4月2週"));
        QCOMPARE(textAt(sheet, 31, 98)->font, cards::FontKind::SmallCaption);
        QCOMPARE(textAt(sheet, 31, 133)->text, QStringLiteral("ノート"));
    }

    void taskStateIsNotShown() {
        TYotei task;
        task.state = kYoteiDone;
        for (const cards::CardText& text : cards::taskSheet(task).texts)
            QVERIFY(!text.text.contains(kYoteiDone));
    }

    void purchaseColumnsAndTotal() {
        TCost cost;
        cost.nen = QStringLiteral("2014");
        cost.tuki = QStringLiteral("5");
        cost.hi = QStringLiteral("3");
        TSina* seedlings = cost.sina.add();
        seedlings->name = QStringLiteral("苗");
        seedlings->kingaku = QStringLiteral("1500");
        TSina* compost = cost.sina.add();
        compost->name = QStringLiteral("堆肥");
        compost->kingaku = QStringLiteral("0500");
        const cards::CardSheet sheet = cards::purchaseSheet(cost);
        QCOMPARE(textAt(sheet, 128, 29)->text, QStringLiteral("2014/5/3"));
        QCOMPARE(textAt(sheet, 31, 72)->text, QStringLiteral("購入品"));
        QCOMPARE(sheet.lines.size(), 1);
        const cards::CardLines& lines = sheet.lines.first();
        QCOMPARE(lines.names, QStringList({QStringLiteral("苗"), QStringLiteral("堆肥")}));
        QCOMPARE(lines.figures, QStringList({QStringLiteral("1,500円"), QStringLiteral("500円")}));
        QCOMPARE(lines.place.rect(sheet.clientSize), QRect(128, 72, 467 - 128, 514 - 72));
        QCOMPARE(lines.figureWidth, 60);
        QCOMPARE(lines.gap, 407 - 401);
        const cards::CardText* total = textAt(sheet, 128, 516);
        QCOMPARE(total->text, QStringLiteral("合計 2,000円"));
        QCOMPARE(total->place.rect(sheet.clientSize).right(), 466);
        const QImage image = paint(sheet);
        QVERIFY(black(image, 18, 57) && black(image, 479, 57));
        QVERIFY(inkIn(image, QRect(440, 72, 27, 15)));  // amounts end at the column's right edge
        QVERIFY(inkIn(image, QRect(420, 516, 47, 16))); // the total is right-aligned
        QVERIFY(!inkIn(image, QRect(128, 516, 200, 20)));
    }

    void purchaseAmountIsNeverCut_data() {
        QTest::addColumn<QString>("amount");
        QTest::newRow("fits the column") << QStringLiteral("1500");
        QTest::newRow("seven digits") << QStringLiteral("1234567");
        QTest::newRow("ten digits") << QStringLiteral("3000000000");
    }

    // The amount ends at x 467 and shows all its digits; a long name beside it
    // stops short of it, and the total stays right-aligned.
    void purchaseAmountIsNeverCut() {
        QFETCH(QString, amount);
        const TCost cost =
            purchaseOf({{QString(), amount}, {QString(40, QChar(0x82D7)), QStringLiteral("1")}});
        const QImage image = paint(cards::purchaseSheet(cost));
        const QString text = MoneyText(amount) + QStringLiteral("円");
        const int width =
            QFontMetrics(cards::cardFont(cards::FontKind::MultiLine), &image).horizontalAdvance(text);
        const QRect firstLine(121, 72, 467 - 121 + 1, 14);
        QVERIFY(inkIn(image, QRect(460, 72, 8, 14)));
        QVERIFY(!inkIn(image, QRect(468, 72, 10, 14)));
        QVERIFY2(leftmostInk(image, firstLine) <= 467 - width + 3, qPrintable(text));
        QVERIFY(leftmostInk(image, firstLine) >= std::max(128, 467 - width - 3));
        if (width <= 60)
            QVERIFY(leftmostInk(image, firstLine) >= 407);
        // The long name of the second line leaves a clear gap before its amount's column.
        const int step = QFontMetrics(cards::cardFont(cards::FontKind::MultiLine), &image).lineSpacing();
        const QRect secondLine(121, 72 + step + 2, 467 - 121 + 1, 10);
        const int amountLeft = std::min(407, 467 - width);
        QVERIFY(!inkIn(image, QRect(amountLeft - 3, secondLine.top(), 3, secondLine.height())));
        QVERIFY(inkIn(image, QRect(amountLeft - 30, secondLine.top(), 20, secondLine.height())));
        QVERIFY(inkIn(image, QRect(440, 516, 27, 16)));
        QVERIFY(!inkIn(image, QRect(468, 516, 10, 16)));
    }

    // Lines beyond the card's room are not dropped silently: the last line that
    // fits reads ほか N 件 with their sum, so the card still adds up.
    void purchaseLinesBeyondTheCardAreSummedOnTheLastLine() {
        QList<std::pair<QString, QString>> lines;
        for (int i = 1; i <= 30; ++i)
            lines << std::pair(QStringLiteral("品%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("100"));
        const QRect column(121, 58, 467 - 121 + 1, 514 - 58);
        const QImage full = paint(cards::purchaseSheet(purchaseOf(lines))).copy(column);
        int shown = 0;
        for (int k = 1; k < 30 && shown == 0; ++k) {
            QList<std::pair<QString, QString>> folded = lines.mid(0, k - 1);
            folded << std::pair(QStringLiteral("ほか %1 件").arg(30 - k + 1),
                                QString::number((30 - k + 1) * 100));
            if (paint(cards::purchaseSheet(purchaseOf(folded))).copy(column) == full)
                shown = k;
        }
        QVERIFY2(shown >= 20, "no line reads ほか N 件 with the sum of the rest");
        // and that line is really there to read.
        QVERIFY(paint(cards::purchaseSheet(purchaseOf(lines.mid(0, shown - 1)))).copy(column) != full);
    }

    void purchaseWithoutLinesShowsZeroTotal() {
        TCost cost;
        const cards::CardSheet sheet = cards::purchaseSheet(cost);
        QCOMPARE(textAt(sheet, 128, 516)->text, QStringLiteral("合計 0円"));
        const QImage image = paint(sheet);
        QVERIFY(!inkIn(image, QRect(121, 58, 355, 510 - 58)));
        QVERIFY(inkIn(image, QRect(400, 516, 67, 16)));
    }
};

QTEST_MAIN(CardSheetTest)
#include "card_sheet_test.moc"
