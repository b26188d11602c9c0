#include "crops/integer_text.h"

#include <QTest>

// The spacing fields' reading of a whole number, row by row.
class IntegerTextTest : public QObject {
    Q_OBJECT

private slots:
    void readsWholeNumbers_data();
    void readsWholeNumbers();
};

void IntegerTextTest::readsWholeNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("passes");

    QTest::newRow("empty") << "" << true;
    QTest::newRow("decimal") << "45" << true;
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("leading zeros") << "007" << true;
    QTest::newRow("leading blanks") << "   45" << true;
    QTest::newRow("plus") << "+7" << true;
    QTest::newRow("minus") << "-5" << true;
    QTest::newRow("blanks then sign") << "  -5" << true;
    QTest::newRow("dollar hex") << "$1F" << true;
    QTest::newRow("dollar hex lower") << "$ff" << true;
    QTest::newRow("0x hex") << "0x10" << true;
    QTest::newRow("0X hex") << "0XaB" << true;
    QTest::newRow("signed hex") << "-$10" << true;
    QTest::newRow("largest") << "2147483647" << true;
    QTest::newRow("smallest") << "-2147483648" << true;
    QTest::newRow("all hex bits") << "$FFFFFFFF" << true;

    QTest::newRow("blanks only") << "  " << false;
    QTest::newRow("letter O") << "6O" << false;
    QTest::newRow("blank inside") << "3 0" << false;
    QTest::newRow("trailing blank") << "45 " << false;
    QTest::newRow("decimal point") << "4.5" << false;
    QTest::newRow("sign alone") << "-" << false;
    QTest::newRow("two signs") << "--5" << false;
    QTest::newRow("sign after blank after sign") << "- 5" << false;
    QTest::newRow("dollar alone") << "$" << false;
    QTest::newRow("0x alone") << "0x" << false;
    QTest::newRow("hex digits without prefix") << "1F" << false;
    QTest::newRow("bad hex digit") << "$1G" << false;
    QTest::newRow("too large") << "2147483648" << false;
    QTest::newRow("too small") << "-2147483649" << false;
    QTest::newRow("hex too large") << "$100000000" << false;
    QTest::newRow("full-width digits") << QStringLiteral("４５") << false;
    QTest::newRow("ideographic space") << QStringLiteral("　45") << false;
    QTest::newRow("unit") << "45cm" << false;
}

void IntegerTextTest::readsWholeNumbers() {
    QFETCH(QString, text);
    QFETCH(bool, passes);
    QCOMPARE(PassesIntegerTest(text), passes);
}

QTEST_APPLESS_MAIN(IntegerTextTest)
#include "integer_text_test.moc"
