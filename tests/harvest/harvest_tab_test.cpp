#include "app/main_window.h"
#include "cards/record_cards.h"
#include "harvest/diary_dialog.h"
#include "harvest/harvest_dialog.h"
#include "harvest/harvest_files.h"
#include "harvest/harvest_tab.h"
#include "harvest/this_day_window.h"
#include "harvest/yield_window.h"
#include "history_ui/undo_commands.h"
#include "image/jpeg_writer.h"
#include "schedule/task_records.h"
#include "support/files.h"
#include "support/modal.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using testsupport::readBytes;
using testsupport::whenModal;
using testsupport::writeBytes;

namespace {

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n";

void fillHarvest(TFormShukaku* dialog, const QString& crop, const QString& amount, const QString& unit) {
    dialog->findChild<QComboBox*>("cropCombo")->setCurrentText(crop);
    dialog->findChild<QLineEdit*>("amountEdit")->setText(amount);
    dialog->findChild<QComboBox*>("unitCombo")->setCurrentText(unit);
}

QByteArray harvestsXml(const QList<QByteArray>& records) {
    QByteArray body;
    for (const QByteArray& r : records)
        body += r;
    return kDeclaration + "<data>" + body + "</data>";
}

QByteArray harvest(const char* date, const char* crop, const char* amount, const char* unit) {
    return QByteArray("<shukaku hi=\"") + date + "\"><crop>" + crop + "</crop><hatake/><ryou>" + amount +
           "</ryou><tani>" + unit + "</tani><note/></shukaku>";
}

} // namespace

// The tab 収穫・日誌 through its buttons and dialogs, on the files they write.
class HarvestTabTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void sitsAfterPurchasesAndStartsEmpty();
    void addsAHarvestAndFollowsItsMonth();
    void refusesAnAmountThatIsNoNumber();
    void totalsKeepUnitsApart();
    void addsADiaryEntryWithItsPhotosSkippingABrokenOne();
    void diaryCardShowsThePhoto();
    void doneTaskLeavesADiaryLineThatUndoTakesBack();
    void thisDayShowsTheSameDaysOfEarlierYears();
    void yieldWindowChartsEachYear();
    void deleteAsksAndUndoBringsItBack();
    void unreadableDiaryIsReportedAndKeptAside();

private:
    void open();
    void click(const char* name);
    THarvestTab* tab() const { return m_window->harvestTab(); }
    QString folder() const { return m_platform->dataFolder(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TForm5> m_window;
};

void HarvestTabTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
    m_platform->keepHistory = true;
}

void HarvestTabTest::cleanup() {
    m_window.reset();
    m_platform.reset();
    m_dir.reset();
}

void HarvestTabTest::open() {
    m_window = std::make_unique<TForm5>(*m_platform);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->tabWidget()->setCurrentWidget(tab());
}

void HarvestTabTest::click(const char* name) {
    auto* button = m_window->findChild<QAbstractButton*>(name);
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

void HarvestTabTest::sitsAfterPurchasesAndStartsEmpty() {
    open();
    QTabWidget* tabs = m_window->tabWidget();
    QCOMPARE(tabs->indexOf(tab()), 5);
    QCOMPARE(tabs->tabText(5), QStringLiteral("収穫・日誌"));
    QCOMPARE(tabs->tabText(6), QStringLiteral("オススメ"));
    QVERIFY(tab()->harvestRadio()->isChecked());
    QCOMPARE(tab()->years()->count(), 1);
    QCOMPARE(tab()->total()->text(), QStringLiteral("合計 0（0 件）"));
    QVERIFY(!QFileInfo::exists(folder() + kShukakuFileName));
    QVERIFY(m_platform->messages.isEmpty());
}

void HarvestTabTest::addsAHarvestAndFollowsItsMonth() {
    open();
    whenModal<TFormShukaku>([](TFormShukaku* dialog) {
        dialog->findChild<QDateEdit*>("dateEdit")->setDate(QDate(2025, 7, 14));
        fillHarvest(dialog, QStringLiteral("キュウリ"), QStringLiteral("１．５"), "kg");
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    click("harvestAddButton");
    QCOMPARE(readBytes(folder() + kShukakuFileName),
             kDeclaration + "<data><shukaku hi=\"2025-07-14\"><crop>\x83\x4c\x83\x85\x83\x45\x83\x8a</crop>"
                            "<hatake/><ryou>1.5</ryou><tani>kg</tani><note/></shukaku></data>\n");
    QCOMPARE(tab()->years()->currentText(), QStringLiteral("2025"));
    QCOMPARE(tab()->months()->currentText(), QStringLiteral("7"));
    QCOMPARE(tab()->harvestList()->rowCount(), 1);
    QCOMPARE(tab()->harvestList()->row(0)->text(4), QStringLiteral("1.5 kg"));
    QCOMPARE(tab()->total()->text(), QStringLiteral("合計 1.5 kg（1 件）"));
}

void HarvestTabTest::refusesAnAmountThatIsNoNumber() {
    open();
    bool stayedOpen = false;
    whenModal<TFormShukaku>([&stayedOpen](TFormShukaku* dialog) {
        fillHarvest(dialog, "a", "1.2.3", "kg");
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
        stayedOpen = dialog->isVisible();
    });
    click("harvestAddButton");
    QVERIFY(stayedOpen);
    QCOMPARE(m_platform->messages,
             QStringList{QStringLiteral("収穫量を数字で入力してください（小数は 3 桁まで）。")});
    QVERIFY(!QFileInfo::exists(folder() + kShukakuFileName));
}

void HarvestTabTest::totalsKeepUnitsApart() {
    writeBytes(
        folder() + kShukakuFileName,
        harvestsXml({harvest("2025-07-01", "a", "0.5", "kg"), harvest("2025-07-02", "a", "3", "\x8c\xc2"),
                     harvest("2025-07-03", "b", "0.25", "kg"), harvest("2024-07-03", "b", "9", "kg")}));
    open();
    QCOMPARE(tab()->years()->count(), 3);
    QCOMPARE(tab()->total()->text(), QStringLiteral("合計 9.75 kg・3 個（4 件）"));
    tab()->years()->setCurrentIndex(2);
    QCOMPARE(tab()->years()->currentText(), QStringLiteral("2025"));
    QCOMPARE(tab()->total()->text(), QStringLiteral("合計 0.75 kg・3 個（3 件）"));
}

void HarvestTabTest::addsADiaryEntryWithItsPhotosSkippingABrokenOne() {
    open();
    const QString good = m_dir->path() + "/good.jpg";
    QImage picture(2000, 1000, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(writeBytes(good, image::encodeJpeg(picture)));
    QVERIFY(writeBytes(m_dir->path() + "/broken.jpg", "not a photo"));
    m_platform->picturesToOpen = {good, m_dir->path() + "/broken.jpg"};
    tab()->diaryRadio()->click();
    whenModal<TFormNikki>([](TFormNikki* dialog) {
        dialog->findChild<QPlainTextEdit*>("diaryText")->setPlainText(QStringLiteral("支柱を立てた"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("photoAddButton"), Qt::LeftButton);
        QCOMPARE(dialog->photoList()->count(), 2);
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    click("harvestAddButton");
    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY(m_platform->messages[0].contains("broken.jpg"));
    QCOMPARE(m_window->context().harvest->nikki.count(), 1);
    const TNikki* entry = m_window->context().harvest->nikki.at(0);
    QCOMPARE(entry->date, m_platform->date);
    QCOMPARE(entry->photos.size(), 1);
    QVERIFY(entry->photos[0].startsWith("photos/2026/20261209-"));
    QCOMPARE(QImage(folder() + entry->photos[0]).size(), QSize(1600, 800));
    QVERIFY(readBytes(folder() + kNikkiFileName).contains(entry->photos[0].toLatin1()));
    QCOMPARE(tab()->diaryList()->rowCount(), 1);
    QCOMPARE(tab()->diaryList()->row(0)->text(5), QStringLiteral("1"));
}

void HarvestTabTest::diaryCardShowsThePhoto() {
    QVERIFY(QDir().mkpath(folder() + "photos/2025"));
    QImage picture(300, 300, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(writeBytes(folder() + "photos/2025/a.jpg", image::encodeJpeg(picture)));
    writeBytes(folder() + kNikkiFileName,
               kDeclaration + "<data><nikki hi=\"2025-05-01\"><text>x</text><photo>photos/2025/a.jpg</photo>"
                              "</nikki></data>");
    open();
    tab()->diaryRadio()->click();
    tab()->diaryList()->CheckItem(0);
    QImage card;
    whenModal<TFormNikkiCard>([&card](TFormNikkiCard* window) { card = window->cardImage(); });
    click("harvestShowButton");
    QVERIFY(!card.isNull());
    const QColor middle = card.pixelColor(card.width() / 2, 236 + 100);
    QVERIFY2(middle.red() > 200 && middle.green() < 60, qPrintable(middle.name()));
    const QColor caption = card.pixelColor(60, 100);
    QVERIFY(caption.red() > 200 && caption.green() > 200);
}

void HarvestTabTest::doneTaskLeavesADiaryLineThatUndoTakesBack() {
    TYoteiList tasks;
    TYotei* task = tasks.add();
    task->name = QStringLiteral("トマトの支柱");
    task->tuki = "12";
    task->shuu = "2";
    QVERIFY(tasks.SaveToFile(folder(), *m_platform));
    const QByteArray before = readBytes(folder() + kYoteiFileName);
    open();
    m_window->tabWidget()->setCurrentIndex(3);
    click("taskFilter4");
    auto* taskList = m_window->findChild<TListView3*>("taskList");
    taskList->CheckItem(0);
    click("taskDoneButton");
    QCOMPARE(m_window->context().harvest->nikki.count(), 1);
    QCOMPARE(m_window->context().harvest->nikki.at(0)->OneLine(),
             QStringLiteral("【作業記録】トマトの支柱 を完了"));
    QCOMPARE(m_window->context().harvest->nikki.at(0)->date, m_platform->date);
    QVERIFY(QFileInfo::exists(folder() + kNikkiFileName));

    m_window->undoCommands()->Undo();
    QCOMPARE(readBytes(folder() + kYoteiFileName), before);
    QVERIFY(!QFileInfo::exists(folder() + kNikkiFileName));
    QCOMPARE(m_window->context().harvest->nikki.count(), 0);
    QCOMPARE(tab()->diaryList()->rowCount(), 0);
    // 取消 leaves the diary alone.
    taskList->CheckItem(0);
    click("taskUndoneButton");
    QCOMPARE(m_window->context().harvest->nikki.count(), 0);
}

void HarvestTabTest::thisDayShowsTheSameDaysOfEarlierYears() {
    writeBytes(folder() + kShukakuFileName,
               harvestsXml({harvest("2024-12-02", "a", "1", "kg"), harvest("2025-12-16", "b", "2", "kg"),
                            harvest("2025-12-17", "c", "3", "kg"), harvest("2026-12-08", "d", "4", "kg")}));
    writeBytes(folder() + kNikkiFileName,
               kDeclaration + "<data><nikki hi=\"2023-12-09\"><text>old</text></nikki></data>");
    open();
    QStringList rows;
    const auto readRows = [&rows](TThisDayWindow* window) {
        for (int i = 0; i < window->rows()->topLevelItemCount(); ++i)
            rows << window->rows()->topLevelItem(i)->text(0) + " " + window->rows()->topLevelItem(i)->text(1);
    };
    whenModal<TThisDayWindow>(readRows);
    click("thisDayButton");
    QCOMPARE(rows, QStringList({QStringLiteral("2025/12/16 収穫"), QStringLiteral("2024/12/2 収穫"),
                                QStringLiteral("2023/12/9 日誌")}));
    // Around the checked harvest's date instead of today.
    tab()->harvestList()->CheckItem(0);
    rows.clear();
    whenModal<TThisDayWindow>(readRows);
    click("thisDayButton");
    QCOMPARE(rows, QStringList({QStringLiteral("2023/12/9 日誌")}));
}

void HarvestTabTest::yieldWindowChartsEachYear() {
    writeBytes(folder() + kShukakuFileName,
               harvestsXml({harvest("2023-07-01", "a", "2", "kg"), harvest("2025-07-02", "a", "1.5", "kg"),
                            harvest("2025-07-03", "a", "3", "g")}));
    open();
    int tableRows = 0;
    QList<qreal> bars;
    QString title;
    whenModal<TYieldWindow>([&](TYieldWindow* window) {
        tableRows = window->table()->rowCount();
        auto* series = qobject_cast<QBarSeries*>(window->chart()->series().value(0));
        QVERIFY(series);
        for (int i = 0; i < series->barSets()[0]->count(); ++i)
            bars << series->barSets()[0]->at(i);
        title = window->chart()->title();
    });
    click("yieldButton");
    QCOMPARE(tableRows, 3);
    QCOMPARE(bars, QList<qreal>({2.0, 0.0, 1.5}));
    QCOMPARE(title, QStringLiteral("aの年ごとの収穫量（kg）"));
}

void HarvestTabTest::deleteAsksAndUndoBringsItBack() {
    writeBytes(folder() + kShukakuFileName, harvestsXml({harvest("2025-07-01", "a", "0.5", "kg")}));
    const QByteArray before = readBytes(folder() + kShukakuFileName);
    open();
    click("harvestDeleteButton");
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("記録を選択してください。")});
    tab()->harvestList()->CheckItem(0);
    click("harvestDeleteButton");
    QCOMPARE(m_platform->questions,
             QStringList{QStringLiteral("2025/7/1 の a 0.5 kg を削除します。よろしいですか？")});
    QCOMPARE(tab()->harvestList()->rowCount(), 0);
    QVERIFY(readBytes(folder() + kShukakuFileName) != before);
    m_window->undoCommands()->Undo();
    QCOMPARE(readBytes(folder() + kShukakuFileName), before);
    QCOMPARE(tab()->harvestList()->rowCount(), 1);
}

void HarvestTabTest::unreadableDiaryIsReportedAndKeptAside() {
    writeBytes(folder() + kNikkiFileName,
               kDeclaration + "<data><nikki hi=\"2025-13-01\"><text>x</text></nikki>");
    open();
    QCOMPARE(m_platform->messages.size(), 1);
    QVERIFY(m_platform->messages[0].startsWith(QString::fromUtf8(LoadFailedNikki)));
    QCOMPARE(m_window->context().harvest->nikki.count(), 0);
}

QTEST_MAIN(HarvestTabTest)
#include "harvest_tab_test.moc"
