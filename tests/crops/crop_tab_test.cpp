#include "crops/crop_dialog.h"
#include "crops/crop_tab.h"
#include "notebook/notebook.h"
#include "plans/plan_records.h"
#include "store/messages.h"
#include "support/files.h"
#include "support/modal.h"
#include "support/scripted_platform.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"

#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using testsupport::whenModal;

using testsupport::readBytes;

namespace {

TSakumotu* addCrop(TSakumotuList& list, const QString& name, const QString& variety = {}) {
    TSakumotu* crop = list.add();
    crop->name = name;
    crop->okiniiri1 = variety;
    return crop;
}

} // namespace

// The tab 作物一覧 driven through its buttons, its rows and its header, with
// the crop dialog answered as a user would and the desktop scripted.
class CropTabTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsTheCatalogueWithoutTheDummy();
    void addAppendsSavesRedrawsAndChecksNothing();
    void addCancelChangesNothing();
    void commandsWithoutCheckedRowAskForACrop();
    void changeOfFamilyOnlyAsksNothing();
    void renameYesRewritesAllEightPlans();
    void renameNoLeavesThePlansByteForByte();
    void changeCancelLeavesCropAndFile();
    void deleteYesRemovesAndSaves();
    void deleteNoKeepsEverything();
    void showHandsTheCheckedCropToTheCard();
    void printWithOnlyTheDummyWarns();
    void printWithCropsHandsOver();
    void headerSortsAscendingIgnoringCase();
    void headerSortFollowsJapaneseCollation();
    void secondHeaderClickGivesTheSameOrder();
    void checkColumnHeaderLeavesOrder();
    void addAfterSortRestoresCatalogueOrder();
    void unwritableFolderShowsMessageAndStillRefreshes();

private:
    void loadCatalogue();
    void clickRow(int index);
    void clickHeader(int column);
    void clickButton(const char* name);
    QStringList column(int index) const;
    QList<int> checkedRows() const;
    QString folder() const { return m_dir->path() + "/"; }
    QString cropFile() const { return folder() + "sakumotu.xml"; }
    void writePlans(QStringList& missing);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TSakumotuList> m_crops;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<TCropTab> m_tab;
    int m_redraws = 0;
    int m_reloads = 0;
};

void CropTabTest::initTestCase() {
    // The program runs under the Japanese locale whatever the machine says.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

void CropTabTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_platform = std::make_unique<ScriptedPlatform>(folder());
    m_crops = std::make_unique<TSakumotuList>();
    m_context = std::make_unique<AppContext>();
    m_context->platform = m_platform.get();
    m_context->crops = m_crops.get();
    m_redraws = 0;
    m_reloads = 0;
    m_context->redrawChart = [this] { ++m_redraws; };
    m_context->reloadPlan = [this] { ++m_reloads; };
    m_context->renameCropInPlans = [this](const QString& oldName, const QString& newName) {
        return Notebook::renameCropInPlans(folder(), oldName, newName, *m_platform);
    };
    m_tab = std::make_unique<TCropTab>(*m_context);
    m_tab->resize(760, 560);
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));

    TSakumotuList file;
    TSakumotu* tomato = addCrop(file, QStringLiteral("トマト"), QStringLiteral("桃太郎"));
    tomato->kamoku = QStringLiteral("ナス科ナス属");
    tomato->joukan = "60";
    tomato->kabukan1 = "45";
    tomato->kabukan2 = "30";
    TJiki* period = tomato->jiki.add();
    period->st = QStringLiteral("4月下旬");
    period->ed = QStringLiteral("5月上旬");
    addCrop(file, QStringLiteral("ナス"), QStringLiteral("千両2号"))->kamoku = QStringLiteral("ナス科");
    addCrop(file, QStringLiteral("オクラ"));
    QVERIFY(file.SaveToFile(folder(), *m_platform));
    loadCatalogue();
}

void CropTabTest::cleanup() {
    m_tab.reset();
    m_context.reset();
    m_crops.reset();
    m_platform.reset();
    m_dir.reset();
}

// As the main window starts: read the file, put the dummy first, fill the list.
void CropTabTest::loadCatalogue() {
    QVERIFY(m_crops->LoadFromFile(folder(), *m_platform));
    m_crops->insert(0)->name = kDummyCropName;
    m_tab->RefreshCropList();
}

void CropTabTest::clickRow(int index) {
    TListView3* list = m_tab->list();
    const QRect rect = list->visualItemRect(list->row(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(60, rect.center().y()));
}

void CropTabTest::clickHeader(int column) {
    QHeaderView* header = m_tab->list()->header();
    const QPoint at(header->sectionViewportPosition(column) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

void CropTabTest::clickButton(const char* name) {
    auto* button = m_tab->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

QStringList CropTabTest::column(int index) const {
    QStringList texts;
    for (int i = 0; i < m_tab->list()->rowCount(); ++i)
        texts << m_tab->list()->row(i)->text(index);
    return texts;
}

QList<int> CropTabTest::checkedRows() const {
    QList<int> rows;
    for (int i = 0; i < m_tab->list()->rowCount(); ++i)
        if (m_tab->list()->isChecked(i))
            rows << i;
    return rows;
}

// Seven plan files naming ナス and トマト; sakutuke6.xml is left missing.
void CropTabTest::writePlans(QStringList& missing) {
    for (const PlanFileInfo& info : PlanFiles()) {
        if (info.fileName == QStringLiteral("sakutuke6.xml")) {
            missing << info.fileName;
            continue;
        }
        TGroupList plan;
        TGroup* group = plan.add();
        group->name = QStringLiteral("畝1");
        group->order = 1;
        for (const QString& name :
             {QStringLiteral("ナス"), QStringLiteral("トマト"), QStringLiteral("ナス")}) {
            TSakumotu2* entry = group->add();
            entry->name = name;
            entry->StTuki = "4";
            entry->StShuu = "1";
            entry->EdTuki = "8";
            entry->EdShuu = "2";
            entry->ichi = group->count();
        }
        QVERIFY(
            plan.SaveToFile(folder(), QStringLiteral("計画") + info.fileName, info.fileName, *m_platform));
    }
}

void CropTabTest::listsTheCatalogueWithoutTheDummy() {
    QCOMPARE(m_crops->count(), 4);
    QCOMPARE(column(1),
             QStringList({QStringLiteral("トマト"), QStringLiteral("ナス"), QStringLiteral("オクラ")}));
    QCOMPARE(column(2), QStringList({QStringLiteral("桃太郎"), QStringLiteral("千両2号"), QString()}));
    QCOMPARE(column(3), QStringList({QStringLiteral("4月下旬～5月上旬"), QString(), QString()}));
    QCOMPARE(column(4),
             QStringList({QStringLiteral("条間60cmで、株間45（または30）cm"), QString(), QString()}));
    QCOMPARE(TListView3::rowData(m_tab->list()->row(0)), static_cast<const void*>(m_crops->at(1)));
    QCOMPARE(checkedRows(), QList<int>());
    QCOMPARE(m_tab->list()->caption(1), QStringLiteral("作物名"));
    QVERIFY(!m_tab->list()->header()->isSortIndicatorShown());
}

void CropTabTest::addAppendsSavesRedrawsAndChecksNothing() {
    clickRow(1);
    whenModal<TForm2>([](TForm2* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("作物（追加）"));
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("ピーマン"));
        dialog->findChild<QLineEdit*>("kabukan1Edit")->setText("45");
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    clickButton("cropAddButton");

    QCOMPARE(m_crops->count(), 5);
    QCOMPARE(m_crops->at(4)->name, QStringLiteral("ピーマン"));
    QCOMPARE(column(1).last(), QStringLiteral("ピーマン"));
    QCOMPARE(column(4).last(), QStringLiteral("株間45cm"));
    QCOMPARE(checkedRows(), QList<int>());
    QCOMPARE(m_redraws, 1);
    TSakumotuList reread;
    QVERIFY(reread.LoadFromFile(folder(), *m_platform));
    QCOMPARE(reread.count(), 4);
    QCOMPARE(reread.at(3)->name, QStringLiteral("ピーマン"));
    QCOMPARE(m_platform->allShown(), QStringList());
}

void CropTabTest::addCancelChangesNothing() {
    const QByteArray before = readBytes(cropFile());
    whenModal<TForm2>([](TForm2* dialog) {
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("ピーマン"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    });
    clickButton("cropAddButton");
    QCOMPARE(m_crops->count(), 4);
    QCOMPARE(m_tab->list()->rowCount(), 3);
    QCOMPARE(readBytes(cropFile()), before);
    QCOMPARE(m_redraws, 0);
}

void CropTabTest::commandsWithoutCheckedRowAskForACrop() {
    int cards = 0;
    m_tab->onShowCropCard = [&cards](TSakumotu&) { ++cards; };
    const QByteArray before = readBytes(cropFile());
    bool opened = false;
    auto watcher = whenModal<TForm2>([&opened](TForm2*) { opened = true; });
    clickButton("cropChangeButton");
    testsupport::cancel(watcher);
    QVERIFY(!opened);
    clickButton("cropShowButton");
    clickButton("cropDeleteButton");
    const QString choose = QStringLiteral("作物を選択してください。");
    QCOMPARE(m_platform->messages, QStringList({choose, choose, choose}));
    QCOMPARE(m_platform->questions, QStringList());
    QCOMPARE(cards, 0);
    QCOMPARE(m_crops->count(), 4);
    QCOMPARE(readBytes(cropFile()), before);
}

void CropTabTest::changeOfFamilyOnlyAsksNothing() {
    QStringList missing;
    writePlans(missing);
    clickRow(1);
    whenModal<TForm2>([](TForm2* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("作物（変更）"));
        QCOMPARE(dialog->findChild<QLineEdit*>("nameEdit")->text(), QStringLiteral("ナス"));
        dialog->findChild<QLineEdit*>("kamokuEdit")->setText(QStringLiteral("ナス科ナス属"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    clickButton("cropChangeButton");

    QCOMPARE(m_platform->allShown(), QStringList());
    QCOMPARE(m_crops->at(2)->kamoku, QStringLiteral("ナス科ナス属"));
    QCOMPARE(checkedRows(), QList<int>({1}));
    QCOMPARE(m_tab->list()->checkedRecord<TSakumotu>(), m_crops->at(2));
    QCOMPARE(m_redraws, 1);
    QCOMPARE(m_reloads, 0);
    TSakumotuList reread;
    QVERIFY(reread.LoadFromFile(folder(), *m_platform));
    QCOMPARE(reread.at(1)->kamoku, QStringLiteral("ナス科ナス属"));
}

void CropTabTest::renameYesRewritesAllEightPlans() {
    QStringList missing;
    writePlans(missing);
    m_platform->answers.enqueue(true);
    clickRow(1);
    whenModal<TForm2>([](TForm2* dialog) {
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("水ナス"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    clickButton("cropChangeButton");

    QCOMPARE(m_platform->questions,
             QStringList({QStringLiteral("作物名が変更されました。作付計画での作物名も変更しますか？")}));
    QCOMPARE(m_platform->messages, QStringList({QStringLiteral("変更しました。")}));
    QCOMPARE(m_reloads, 1);
    QCOMPARE(m_redraws, 1);
    for (const PlanFileInfo& info : PlanFiles()) {
        QVERIFY2(QFile::exists(folder() + info.fileName), qPrintable(info.fileName));
        TGroupList plan;
        QVERIFY(plan.LoadFromFile(folder(), info.fileName, *m_platform));
        if (missing.contains(info.fileName)) {
            QCOMPARE(plan.count(), 0);
            continue;
        }
        QCOMPARE(plan.name, QStringLiteral("計画") + info.fileName);
        QStringList names;
        for (int i = 0; i < plan.at(0)->count(); ++i)
            names << plan.at(0)->at(i)->name;
        QCOMPARE(names,
                 QStringList({QStringLiteral("水ナス"), QStringLiteral("トマト"), QStringLiteral("水ナス")}));
    }
    QCOMPARE(column(1),
             QStringList({QStringLiteral("トマト"), QStringLiteral("水ナス"), QStringLiteral("オクラ")}));
    QCOMPARE(checkedRows(), QList<int>({1}));
}

void CropTabTest::renameNoLeavesThePlansByteForByte() {
    QStringList missing;
    writePlans(missing);
    QMap<QString, QByteArray> before;
    for (const PlanFileInfo& info : PlanFiles())
        before[info.fileName] = readBytes(folder() + info.fileName);
    m_platform->answers.enqueue(false);
    clickRow(1);
    whenModal<TForm2>([](TForm2* dialog) {
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("水ナス"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    clickButton("cropChangeButton");

    QCOMPARE(m_platform->questions.size(), 1);
    QCOMPARE(m_platform->messages, QStringList());
    QCOMPARE(m_reloads, 0);
    QCOMPARE(m_redraws, 1);
    for (const PlanFileInfo& info : PlanFiles())
        QCOMPARE(readBytes(folder() + info.fileName), before[info.fileName]);
    QVERIFY(!QFile::exists(folder() + missing.first()));
    QCOMPARE(m_crops->at(2)->name, QStringLiteral("水ナス"));
    QCOMPARE(checkedRows(), QList<int>({1}));
}

void CropTabTest::changeCancelLeavesCropAndFile() {
    const QByteArray before = readBytes(cropFile());
    clickRow(0);
    whenModal<TForm2>([](TForm2* dialog) {
        auto* periods = dialog->findChild<QListWidget*>("periodList");
        periods->setCurrentRow(0);
        QTest::mouseClick(dialog->findChild<QPushButton*>("periodDeleteButton"), Qt::LeftButton);
        QCOMPARE(periods->count(), 0);
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("大玉トマト"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    });
    clickButton("cropChangeButton");
    QCOMPARE(m_crops->at(1)->name, QStringLiteral("トマト"));
    QCOMPARE(m_crops->at(1)->jiki.count(), 1);
    QCOMPARE(readBytes(cropFile()), before);
    // Throwing the typed changes away was asked first, and answered yes.
    QCOMPARE(m_platform->allShown(), QStringList({QStringLiteral("入力した内容を破棄しますか？")}));
    QCOMPARE(m_redraws, 0);
    QCOMPARE(checkedRows(), QList<int>({0}));
}

void CropTabTest::deleteYesRemovesAndSaves() {
    QStringList missing;
    writePlans(missing);
    const QByteArray plan1 = readBytes(folder() + "sakutuke1.xml");
    clickRow(1);
    m_platform->answers.enqueue(true);
    clickButton("cropDeleteButton");
    QCOMPARE(m_platform->questions,
             QStringList(
                 {QStringLiteral("ナス を削除します。よろしいですか？\r\n※作付計画からは削除されません")}));
    QCOMPARE(m_crops->count(), 3);
    QVERIFY(!m_crops->FindByName(QStringLiteral("ナス")));
    QCOMPARE(column(1), QStringList({QStringLiteral("トマト"), QStringLiteral("オクラ")}));
    QCOMPARE(checkedRows(), QList<int>());
    TSakumotuList reread;
    QVERIFY(reread.LoadFromFile(folder(), *m_platform));
    QCOMPARE(reread.count(), 2);
    QCOMPARE(readBytes(folder() + "sakutuke1.xml"), plan1);
    QCOMPARE(m_redraws, 0);
}

void CropTabTest::deleteNoKeepsEverything() {
    const QByteArray before = readBytes(cropFile());
    clickRow(2);
    m_platform->answers.enqueue(false);
    clickButton("cropDeleteButton");
    QCOMPARE(m_platform->questions.size(), 1);
    QCOMPARE(m_crops->count(), 4);
    QCOMPARE(m_tab->list()->rowCount(), 3);
    QCOMPARE(checkedRows(), QList<int>({2}));
    QCOMPARE(readBytes(cropFile()), before);
}

void CropTabTest::showHandsTheCheckedCropToTheCard() {
    TSakumotu* shown = nullptr;
    m_tab->onShowCropCard = [&shown](TSakumotu& crop) { shown = &crop; };
    clickRow(2);
    clickButton("cropShowButton");
    QCOMPARE(shown, m_crops->at(3));
    QCOMPARE(m_platform->allShown(), QStringList());
}

void CropTabTest::printWithOnlyTheDummyWarns() {
    int prints = 0;
    m_tab->onPrintCropList = [&prints] { ++prints; };
    while (m_crops->count() > 1)
        m_crops->remove(1);
    m_tab->RefreshCropList();
    QCOMPARE(m_tab->list()->rowCount(), 0);
    clickButton("cropPrintButton");
    QCOMPARE(m_platform->warnings, QStringList({QStringLiteral("印刷できるデータがありませんでした。")}));
    QCOMPARE(m_platform->messages, QStringList());
    QCOMPARE(prints, 0);
}

void CropTabTest::printWithCropsHandsOver() {
    int prints = 0;
    m_tab->onPrintCropList = [&prints] { ++prints; };
    clickButton("cropPrintButton");
    QCOMPARE(prints, 1);
    QCOMPARE(m_platform->allShown(), QStringList());
}

void CropTabTest::headerSortsAscendingIgnoringCase() {
    while (m_crops->count() > 1)
        m_crops->remove(1);
    for (const char* name : {"beet", "Carrot", "apple", "Banana", "cabbage"})
        addCrop(*m_crops, QString::fromLatin1(name));
    m_tab->RefreshCropList();
    clickRow(3); // Banana
    clickHeader(1);
    QCOMPARE(column(1), QStringList({"apple", "Banana", "beet", "cabbage", "Carrot"}));
    QCOMPARE(m_tab->list()->checkedRecord<TSakumotu>()->name, QString("Banana"));
    QCOMPARE(checkedRows(), QList<int>({1}));
    QCOMPARE(m_crops->at(1)->name, QString("beet")); // the catalogue keeps its order
}

void CropTabTest::headerSortFollowsJapaneseCollation() {
    // By code point ひらがな come before カタカナ; the Japanese collation reads them alike.
    while (m_crops->count() > 1)
        m_crops->remove(1);
    for (const QString& name : {QStringLiteral("なす"), QStringLiteral("トマト"), QStringLiteral("オクラ")})
        addCrop(*m_crops, name);
    m_tab->RefreshCropList();
    clickHeader(1);
    QCOMPARE(column(1),
             QStringList({QStringLiteral("オクラ"), QStringLiteral("トマト"), QStringLiteral("なす")}));
}

void CropTabTest::secondHeaderClickGivesTheSameOrder() {
    clickHeader(3);
    const QStringList once = column(1);
    QCOMPARE(once, QStringList({QStringLiteral("ナス"), QStringLiteral("オクラ"), QStringLiteral("トマト")}));
    clickHeader(3);
    QCOMPARE(column(1), once);
    clickHeader(2);
    QCOMPARE(column(2), QStringList({QString(), QStringLiteral("千両2号"), QStringLiteral("桃太郎")}));
    QVERIFY(!m_tab->list()->header()->isSortIndicatorShown());
}

void CropTabTest::checkColumnHeaderLeavesOrder() {
    clickHeader(1);
    const QStringList sorted = column(1);
    QVERIFY(sorted !=
            QStringList({QStringLiteral("トマト"), QStringLiteral("ナス"), QStringLiteral("オクラ")}));
    clickHeader(0);
    QCOMPARE(column(1), sorted);
}

void CropTabTest::addAfterSortRestoresCatalogueOrder() {
    clickHeader(1);
    whenModal<TForm2>([](TForm2* dialog) {
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("アスパラガス"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    clickButton("cropAddButton");
    QCOMPARE(column(1), QStringList({QStringLiteral("トマト"), QStringLiteral("ナス"),
                                     QStringLiteral("オクラ"), QStringLiteral("アスパラガス")}));
}

void CropTabTest::unwritableFolderShowsMessageAndStillRefreshes() {
    ScriptedPlatform missingFolder(folder() + "missing/");
    m_context->platform = &missingFolder;
    whenModal<TForm2>([](TForm2* dialog) {
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("ピーマン"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    clickButton("cropAddButton");
    const QString failed = QString::fromUtf8(msg::SaveFailed);
    QCOMPARE(missingFolder.messages, QStringList({failed}));
    QCOMPARE(column(1).last(), QStringLiteral("ピーマン"));

    clickRow(0);
    missingFolder.answers.enqueue(true);
    clickButton("cropDeleteButton");
    QCOMPARE(missingFolder.messages, QStringList({failed, failed}));
    QCOMPARE(column(1).first(), QStringLiteral("ナス"));
    QCOMPARE(m_tab->list()->rowCount(), 3);
    QVERIFY(!QFile::exists(folder() + "missing"));
    m_context->platform = m_platform.get();
}

QTEST_MAIN(CropTabTest)
#include "crop_tab_test.moc"
