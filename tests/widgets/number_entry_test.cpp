#include "every_dialog.h"
#include "widgets/number_text.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using testsupport::readBytes;
using usability::child;
using usability::EveryDialog;

namespace {

void typeAsKeys(QWidget* field, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void pasteInto(QWidget* field, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

void pick(QDialog& dialog, const char* list, int index) {
    child<QComboBox>(dialog, list)->setCurrentIndex(index);
}

// Fills what else the dialog needs, presses OK and reads back what the
// dialog stored of the field.
QString commit(EveryDialog& notebook, QDialog& dialog, const QString& caption, const QString& field) {
    if (caption == "作物")
        child<QLineEdit>(dialog, "nameEdit")->setText(QStringLiteral("オクラ"));
    if (caption == "作付計画へ追加") {
        pick(dialog, "groupCombo", 0);
        for (const char* list : {"stTukiCombo", "stShuuCombo", "edTukiCombo", "edShuuCombo", "rowCombo"})
            pick(dialog, list, 0);
    }
    if (caption == "グループ")
        child<QLineEdit>(dialog, "groupNameEdit")->setText(QStringLiteral("畝２"));
    if (caption == "購入内容")
        child<QLineEdit>(dialog, "nameEdit")->setText(QStringLiteral("苗"));
    QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    if (dialog.result() != QDialog::Accepted)
        return QStringLiteral("(not accepted)");
    if (caption == "作物") {
        const TSakumotu* crop = notebook.crops.at(notebook.crops.count() - 1);
        return field == "joukanEdit"     ? crop->joukan
               : field == "kabukan1Edit" ? crop->kabukan1
                                         : crop->kabukan2;
    }
    if (caption == "作付計画へ追加")
        return QString::number(static_cast<TForm9&>(dialog).entry()->down);
    if (caption == "グループ")
        return static_cast<TForm1&>(dialog).orderText();
    if (caption == "購入")
        return notebook.costs.at(0)->nen;
    return notebook.lines.at(0)->kingaku;
}

} // namespace

// Every field where a number is typed takes the digits, minus and commas a
// Japanese input method types by default, shows them half-width at once and
// stores them that way.
class NumberEntryTest : public QObject {
    Q_OBJECT

private slots:
    void halfWidthNumber_data();
    void halfWidthNumber();
    void everyNumericFieldTakesFullWidth_data();
    void everyNumericFieldTakesFullWidth();
    void filesKeepHalfWidthDigits();
};

void NumberEntryTest::halfWidthNumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("full-width digits") << "０１２３４５６７８９"
                                       << "0123456789";
    QTest::newRow("full-width minus") << "－４"
                                      << "-4";
    QTest::newRow("minus sign") << "−４"
                                << "-4";
    QTest::newRow("full-width plus") << "＋３"
                                     << "+3";
    QTest::newRow("full-width commas") << "１，２８０，０００"
                                       << "1280000";
    QTest::newRow("commas") << "1,280"
                            << "1280";
    QTest::newRow("half-width stays") << "-45"
                                      << "-45";
    QTest::newRow("letters stay for the checks") << "6O"
                                                 << "6O";
    QTest::newRow("hexadecimal stays") << "$FF"
                                       << "$FF";
    QTest::newRow("ideographic space stays") << "　１"
                                             << "　1";
    QTest::newRow("kanji numerals stay") << "十五"
                                         << "十五";
    QTest::newRow("empty") << ""
                           << "";
}

void NumberEntryTest::halfWidthNumber() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QCOMPARE(::halfWidthNumber(typed), shown);
}

void NumberEntryTest::everyNumericFieldTakesFullWidth_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, const char* caption, const char* field, bool paste,
                        const char* typed, const char* shown) {
        QTest::newRow(name) << QString::fromUtf8(caption) << QString::fromLatin1(field) << paste
                            << QString::fromUtf8(typed) << QString::fromUtf8(shown);
    };
    row("作物 条間", "作物", "joukanEdit", false, "６０", "60");
    row("作物 株間", "作物", "kabukan1Edit", false, "１５", "15");
    row("作物 株間 negative", "作物", "kabukan1Edit", false, "－１５", "-15");
    row("作物 または pasted", "作物", "kabukan2Edit", true, "３０", "30");
    row("作付計画 offset", "作付計画へ追加", "downEdit", false, "－４", "-4");
    row("作付計画 offset pasted", "作付計画へ追加", "downEdit", true, "１２", "12");
    row("グループ 表示順", "グループ", "groupOrderEdit", false, "１０", "10");
    row("購入 年", "購入", "yearEdit", false, "２０２７", "2027");
    row("購入内容 金額", "購入内容", "kingakuEdit", false, "１２８０", "1280");
    row("購入内容 金額 with commas", "購入内容", "kingakuEdit", false, "１，２８０", "1280");
    row("購入内容 金額 pasted", "購入内容", "kingakuEdit", true, "1,280", "1280");
    row("購入内容 金額 no minus", "購入内容", "kingakuEdit", false, "－５", "5");
}

void NumberEntryTest::everyNumericFieldTakesFullWidth() {
    QFETCH(QString, caption);
    QFETCH(QString, field);
    QFETCH(bool, paste);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    EveryDialog notebook;
    auto dialog = notebook.open(caption);
    QVERIFY(EveryDialog::showActive(*dialog));
    auto* edit = child<QLineEdit>(*dialog, qPrintable(field));
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    if (paste)
        pasteInto(edit, typed);
    else
        typeAsKeys(edit, typed);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(commit(notebook, *dialog, caption, field), shown);
    QVERIFY(notebook.platform.allShown().isEmpty());
}

// The two cases, through to the files.
void NumberEntryTest::filesKeepHalfWidthDigits() {
    EveryDialog notebook;
    auto crop = notebook.open("作物");
    QVERIFY(EveryDialog::showActive(*crop));
    child<QLineEdit>(*crop, "nameEdit")->setText(QStringLiteral("オクラ"));
    auto* kabukan = child<QLineEdit>(*crop, "kabukan1Edit");
    kabukan->setFocus();
    typeAsKeys(kabukan, QStringLiteral("１５"));
    QTest::keyClick(kabukan, Qt::Key_Return);
    QCOMPARE(crop->result(), int(QDialog::Accepted));
    QVERIFY(notebook.platform.messages.isEmpty());
    QVERIFY(readBytes(notebook.platform.dataFolder() + kCropFileName).contains("<kabukan1>15</kabukan1>"));

    auto purchase = notebook.open("購入");
    QVERIFY(EveryDialog::showActive(*purchase));
    QTimer::singleShot(0, [] {
        auto* line = qobject_cast<TForm16*>(QApplication::activeModalWidget());
        QVERIFY(line);
        child<QLineEdit>(*line, "nameEdit")->setText(QStringLiteral("苗"));
        auto* amount = child<QLineEdit>(*line, "kingakuEdit");
        amount->setFocus();
        typeAsKeys(amount, QStringLiteral("１，２８０"));
        QTest::keyClick(amount, Qt::Key_Return);
    });
    QTest::mouseClick(child<QPushButton>(*purchase, "lineAddButton"), Qt::LeftButton);
    QCOMPARE(notebook.costs.count(), 0);
    QTest::mouseClick(child<QPushButton>(*purchase, "okButton"), Qt::LeftButton);
    QCOMPARE(purchase->result(), int(QDialog::Accepted));
    const QByteArray file = readBytes(notebook.platform.dataFolder() + kCostFileName);
    QVERIFY2(file.contains("nen=\"2026\" tuki=\"12\" hi=\"28\"><sina>"), file.constData());
    QVERIFY2(file.contains("<kingaku>1280</kingaku>"), file.constData());
}

QTEST_MAIN(NumberEntryTest)
#include "number_entry_test.moc"
