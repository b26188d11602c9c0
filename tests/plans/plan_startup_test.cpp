#include "app/main_window.h"
#include "plan_gui.h"
#include "plan_test_files.h"
#include "plans/plan_name_dialog.h"
#include "plans/plan_tab.h"
#include "support/scripted_platform.h"

#include <QButtonGroup>
#include <QTemporaryDir>

using namespace plangui;

namespace {

QByteArray namedPlan(const char* shiftJisName, const QByteArray& groups = QByteArray()) {
    return plantest::planFile(QByteArray("<sakutuke name=\"") + shiftJisName + "\">" + groups +
                              "</sakutuke>");
}

QStringList captions(TForm5& window) {
    QStringList texts;
    for (int id = 1; id <= 8; ++id)
        texts << window.planTab()->planButtons()->button(id)->text();
    return texts;
}

} // namespace

// The plan part of the main window's first showing: captions, the plan of 計画１
// and the links the other tabs use.
class PlanStartupTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

    void showWindow(TForm5& window) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

private slots:
    void init() {
        for (const QString& name : QDir(folder()).entryList(QDir::Files))
            QFile::remove(folder() + name);
    }

    void anEmptyFolderKeepsTheLayoutCaptions() {
        ScriptedPlatform platform(folder());
        TForm5 window(platform);
        showWindow(window);
        QCOMPARE(captions(window), QStringList({"計画１", "計画２", "計画３", "計画４", "計画５", "計画６",
                                                "計画７", "サンプル"}));
        QCOMPARE(window.context().chart->size(), QSize(697, 17));
        QCOMPARE(window.context().planName, QStringLiteral("計画１"));
        QVERIFY(platform.allShown().isEmpty());
    }

    void captionsOfFilesFourAndFiveLandOnTheirButtons() {
        // 見本 and 春の畑 in Shift-JIS.
        QVERIFY(plantest::writeBytes(folder() + "sakutuke4.xml", namedPlan("\x8c\xa9\x96\x7b")));
        QVERIFY(plantest::writeBytes(folder() + "sakutuke5.xml", namedPlan("\x8f\x74\x82\xcc\x94\xa8")));
        QVERIFY(plantest::writeBytes(folder() + "sakutuke6.xml", namedPlan("")));
        ScriptedPlatform platform(folder());
        TForm5 window(platform);
        showWindow(window);
        QCOMPARE(captions(window),
                 QStringList({"計画１", "計画２", "計画３", "春の畑", "計画５", "計画６", "計画７", "見本"}));
    }

    void startDrawsThePlanOfPlanOne() {
        QVERIFY(plantest::writeBytes(
            folder() + "sakutuke1.xml",
            namedPlan("", "<group name=\"G\" order=\"1\"><sakumotu name=\"A\" StTuki=\"4\" StShuu=\"2\" "
                          "EdTuki=\"8\" EdShuu=\"5\" ichi=\"1\" down=\"0\"/></group>")));
        ScriptedPlatform platform(folder());
        TForm5 window(platform);
        showWindow(window);
        QCOMPARE(window.context().plan->CropCount(), 1);
        QCOMPARE(window.context().chart->size(), QSize(697, 75));
        QCOMPARE(window.context().planFile, QStringLiteral("sakutuke1.xml"));
    }

    void aRenamedPlanKeepsItsCaptionAfterARestart() {
        {
            ScriptedPlatform platform(folder());
            TForm5 window(platform);
            showWindow(window);
            window.planTab()->planButtons()->button(2)->click();
            onModal<TForm42>([](TForm42* dialog) {
                typeInto(dialog, "newNameEdit", QStringLiteral("春の畑"));
                click(dialog, "okButton");
            });
            click(window.planTab(), "planRenameButton");
            QCOMPARE(window.planTab()->planButtons()->button(2)->text(), QStringLiteral("春の畑"));
        }
        ScriptedPlatform platform(folder());
        TForm5 window(platform);
        showWindow(window);
        QCOMPARE(window.planTab()->planButtons()->button(2)->text(), QStringLiteral("春の畑"));
        QVERIFY(window.planTab()->planButtons()->button(1)->isChecked());
    }

    void theOtherTabsCanRedrawAndReloadThePlan() {
        ScriptedPlatform platform(folder());
        TForm5 window(platform);
        showWindow(window);
        AppContext& context = window.context();
        QVERIFY(context.redrawChart && context.reloadPlan);
        QVERIFY(plantest::writeBytes(
            folder() + "sakutuke1.xml",
            namedPlan("", "<group name=\"G\" order=\"1\"><sakumotu name=\"A\" StTuki=\"4\" StShuu=\"2\" "
                          "EdTuki=\"8\" EdShuu=\"5\" ichi=\"1\" down=\"0\"/></group>")));
        context.reloadPlan();
        QCOMPARE(context.plan->CropCount(), 1);
        QCOMPARE(context.chart->height(), 75);
        context.plan->clear();
        context.redrawChart();
        QCOMPARE(context.chart->height(), 17);
    }
};

QTEST_MAIN(PlanStartupTest)
#include "plan_startup_test.moc"
