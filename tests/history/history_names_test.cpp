#include "history_support.h"

#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "history/command_scope.h"
#include "history_ui/history_window.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "support/files.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"

#include <QTemporaryDir>
#include <QtTest>

using historytest::Recording;

// The window 履歴 names the files as the gardener knows them.
class HistoryNamesTest : public QObject {
    Q_OBJECT
private slots:
    void namesEveryFileInWords();
};

void HistoryNamesTest::namesEveryFileInWords() {
    QTemporaryDir dir;
    const QString folder = testsupport::folderOf(dir);
    store::RecordingSink sink;
    TCostList costs;
    for (int i = 0; i < 4; ++i)
        costs.add()->nen = QStringLiteral("2014");
    QVERIFY(costs.SaveToFile(folder, sink));

    Recording on(folder);
    const auto command = [&on](const char* name, const std::function<void()>& saves) {
        const history::CommandScope change(&on.history, QString::fromUtf8(name));
        saves();
    };
    command("購入履歴「削除」", [&] {
        costs.remove(0);
        QVERIFY(costs.SaveToFile(folder, sink));
    });
    command("作付計画「追加」", [&] {
        TGroupList plan;
        plan.add()->add()->name = QStringLiteral("ナス");
        QVERIFY(plan.SaveToFile(folder, QStringLiteral("春の畑"), QStringLiteral("sakutuke2.xml"), sink));
        QVERIFY(plan.SaveToFile(folder, QString(), QStringLiteral("sakutuke5.xml"), sink));
        QVERIFY(plan.SaveToFile(folder, QString(), QStringLiteral("sakutuke4.xml"), sink));
    });
    command("作物一覧「追加」", [&] {
        TSakumotuList crops;
        crops.add()->name = QStringLiteral("ナス");
        QVERIFY(crops.SaveToFile(folder, sink));
        TYoteiList tasks;
        tasks.add()->name = QStringLiteral("種まき");
        QVERIFY(tasks.SaveToFile(folder, sink));
        TOkiniList okini;
        QVERIFY(okini.SaveToFile(folder, sink));
    });
    QVERIFY(sink.messages.isEmpty());

    ScriptedPlatform platform(folder);
    TFormHistory window(platform, on.history, [](int) {});
    TListView3* list = window.list();
    QCOMPARE(list->rowCount(), 3);
    QCOMPARE(list->row(0)->text(3),
             QStringLiteral("作物一覧 なし → 1件、予定 なし → 1件、お気に入り なし → 0件"));
    // The plans by the names their files hold, or by their buttons: file 5 is the fourth.
    QCOMPARE(list->row(1)->text(3),
             QStringLiteral("作付計画「春の畑」 なし → 1件、作付計画「計画４」 なし → 1件、"
                            "作付計画「サンプル」 なし → 1件"));
    QCOMPARE(list->row(2)->text(3), QStringLiteral("購入履歴 4件 → 3件"));
    QCOMPARE(list->row(1)->toolTip(3),
             QStringLiteral("作付計画「春の畑」 なし → 1件\n作付計画「計画４」 なし → 1件\n"
                            "作付計画「サンプル」 なし → 1件"));
}

QTEST_MAIN(HistoryNamesTest)
#include "history_names_test.moc"
