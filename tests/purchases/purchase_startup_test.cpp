#include "app/main_window.h"
#include "purchases/purchase_records.h"
#include "purchases/purchase_tab.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace {

void seed(TCostList& list, const QString& nen, const QString& tuki, const QString& hi,
          const QString& amount) {
    TCost* cost = list.add();
    cost->nen = nen;
    cost->tuki = tuki;
    cost->hi = hi;
    TSina* line = cost->sina.add();
    line->name = QStringLiteral("苗");
    line->kingaku = amount;
}

} // namespace

class PurchaseStartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    void firstShowingLoadsSortsAndShowsThePurchases() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path() + QLatin1Char('/'));
        TCostList file;
        seed(file, "2014", "5", "3", "1500");
        seed(file, "2013", "12", "1", "0500");
        QVERIFY(file.SaveToFile(platform.dataFolder(), platform));

        TForm5 window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TPurchaseTab* tab = window.purchaseTab();
        QCOMPARE(window.context().costs->count(), 2);
        QCOMPARE(window.context().costs->at(0)->DateText(), QStringLiteral("2013/12/1"));
        QCOMPARE(tab->years()->count(), 3);
        QCOMPARE(tab->years()->currentText(), QStringLiteral("すべて"));
        QCOMPARE(tab->months()->count(), 1);
        QCOMPARE(tab->list()->rowCount(), 2);
        QCOMPARE(tab->list()->row(0)->text(1), QStringLiteral("2013/12/1"));
        QCOMPARE(tab->total()->text(), QStringLiteral("合計 2,000円"));
        QVERIFY(platform.messages.isEmpty());
    }

    void emptyDataFolderShowsAZeroTotalQuietly() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path() + QLatin1Char('/'));
        TForm5 window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.purchaseTab()->list()->rowCount(), 0);
        QCOMPARE(window.purchaseTab()->total()->text(), QStringLiteral("合計 0円"));
        QVERIFY(platform.messages.isEmpty());
    }
};

QTEST_MAIN(PurchaseStartupTest)
#include "purchase_startup_test.moc"
