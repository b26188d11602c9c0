#include "app/application.h"
#include "app/main_window.h"
#include "app/settings_dialog.h"
#include "search/search_window.h"
#include "support/modal.h"
#include "support/scripted_platform.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

// The tab row's corner and room for one more tab, with the program's own fonts.
class TabRowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void moreButtonSitsLeftOfExport();
    void itsMenuOpensSearch();
    void theEightTabsFitAt776();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TForm5> m_window;
};

void TabRowTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
    // Every button the corner can hold: 履歴 comes with the history.
    m_platform->keepHistory = true;
    m_window = std::make_unique<TForm5>(*m_platform);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TabRowTest::cleanup() {
    m_window.reset();
    m_platform.reset();
    m_dir.reset();
}

void TabRowTest::moreButtonSitsLeftOfExport() {
    QWidget* corner = m_window->tabWidget()->cornerWidget(Qt::TopRightCorner);
    auto* row = qobject_cast<QHBoxLayout*>(corner->layout());
    auto* more = corner->findChild<QToolButton*>("moreButton");
    QVERIFY(more);
    QCOMPARE(more->text(), QStringLiteral("…"));
    QCOMPARE(more->toolTip(), QStringLiteral("その他"));
    QCOMPARE(more->focusPolicy(), Qt::NoFocus);
    QStringList order;
    for (int i = 0; i < row->count(); ++i)
        order << row->itemAt(i)->widget()->objectName();
    QCOMPARE(order, (QStringList{"moreButton", "exportButton", "historyButton", "helpButton"}));
    QStringList entries;
    for (QAction* action : more->menu()->actions())
        entries << action->text();
    QCOMPARE(entries, (QStringList{"検索（Ctrl+F）", "設定…"}));
}

void TabRowTest::itsMenuOpensSearch() {
    auto* more = m_window->findChild<QToolButton*>("moreButton");
    QString caption;
    testsupport::whenModal<TFormSearch>([&caption](TFormSearch* window) { caption = window->windowTitle(); });
    more->menu()->findChild<QAction*>("searchAction")->trigger();
    QCOMPARE(caption, QStringLiteral("検索"));
    QString settingsCaption;
    testsupport::whenModal<TSettingsDialog>([&settingsCaption](TSettingsDialog* dialog) {
        settingsCaption = dialog->windowTitle();
        dialog->reject();
    });
    more->menu()->findChild<QAction*>("settingsAction")->trigger();
    QCOMPARE(settingsCaption, QStringLiteral("設定"));
}

// At 1x and the window's own width, with the harvest tab as the eighth,
// every tab shows whole beside the corner and the bar needs no scroll arrows.
void TabRowTest::theEightTabsFitAt776() {
    QCOMPARE(m_window->devicePixelRatioF(), 1.0);
    QCOMPARE(m_window->width(), 776);
    QTabWidget* tabs = m_window->tabWidget();
    QCOMPARE(tabs->tabText(5), QStringLiteral("収穫・日誌"));
    QCoreApplication::processEvents();
    QTabBar* bar = tabs->tabBar();
    QCOMPARE(bar->count(), 8);
    for (QToolButton* arrow : bar->findChildren<QToolButton*>())
        QVERIFY(!arrow->isVisible());
    const QWidget* corner = tabs->cornerWidget(Qt::TopRightCorner);
    const int barRight = bar->mapTo(m_window.get(), bar->tabRect(7).topRight()).x();
    QVERIFY2(barRight < corner->mapTo(m_window.get(), QPoint(0, 0)).x(),
             qPrintable(QStringLiteral("tabs end at %1, corner starts at %2")
                            .arg(barRight)
                            .arg(corner->mapTo(m_window.get(), QPoint(0, 0)).x())));
    for (int i = 0; i < bar->count(); ++i)
        QVERIFY(bar->tabRect(i).width() >= bar->fontMetrics().horizontalAdvance(bar->tabText(i)));
}

// The program's own look: its fonts decide how wide the tabs are.
int main(int argc, char** argv) {
    TApplication app(argc, argv);
    app.setUpLook();
    TabRowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tab_row_test.moc"
