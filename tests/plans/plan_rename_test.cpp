#include "plans/plan_records.h"
#include "plans/plan_test_files.h"
#include "store/message_sink.h"
#include "store/messages.h"
#include "support/messages.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using plantest::planFile;
using plantest::readBytes;
using plantest::writeBytes;

namespace {

void addEntry(TGroup& group, const QString& name, int ichi, int down) {
    TSakumotu2* entry = group.add();
    entry->name = name;
    entry->StTuki = QStringLiteral("4");
    entry->StShuu = QStringLiteral("2");
    entry->EdTuki = QStringLiteral("8");
    entry->EdShuu = QStringLiteral("5");
    entry->ichi = ichi;
    entry->down = down;
}

// A plan of two groups naming ナス, ナス科ナス and the dummy, with its own colours.
void writePlan(const QString& folder, const QString& fileName, const QString& planName, int colour) {
    TGroupList plan;
    plan.YajirusiColor = colour;
    plan.MojiColor = colour + 1;
    plan.SenColor = colour + 2;
    plan.HaikeiColor = colour + 3;
    TGroup* a = plan.add();
    a->name = QStringLiteral("畝1");
    a->order = 2;
    addEntry(*a, QStringLiteral("ナス"), 1, -5);
    addEntry(*a, QStringLiteral("ナス科ナス"), 3, 4);
    TGroup* b = plan.add();
    b->name = QStringLiteral("畝2");
    b->order = 9;
    addEntry(*b, QStringLiteral("[[[ダミー]]]"), 1, 0);
    addEntry(*b, QStringLiteral("ナス"), 2, 0);
    store::RecordingSink sink;
    QVERIFY(plan.SaveToFile(folder, planName, fileName, sink));
}

} // namespace

class PlanRenameTest : public QObject {
    Q_OBJECT

private slots:
    void carriesNewNameIntoEveryPlan() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const auto& files = PlanFiles();
        // Files 1, 4 and 8 hold plans; the others do not exist yet.
        writePlan(folder, files[0].fileName, QStringLiteral("春の畑"), 100);
        writePlan(folder, files[3].fileName, QStringLiteral("サンプル"), 200);
        writePlan(folder, files[7].fileName, QString(), 300);

        store::RecordingSink sink;
        QVERIFY(RenameCropInAllPlans(folder, QStringLiteral("ナス"), QStringLiteral("水ナス"), sink));
        QVERIFY(sink.messages.isEmpty());

        const int colours[] = {100, 0, 0, 200, 0, 0, 0, 300};
        const QStringList names = {"春の畑", "", "", "サンプル", "", "", "", ""};
        for (int i = 0; i < 8; ++i) {
            const QString fileName = files[size_t(i)].fileName;
            QVERIFY2(QFile::exists(folder + fileName), qPrintable(fileName));
            TGroupList plan;
            QVERIFY(plan.LoadFromFile(folder, fileName, sink));
            QCOMPARE(plan.name, names[i]);
            if (colours[i] == 0) {
                QCOMPARE(plan.count(), 0);
                QCOMPARE(plan.HaikeiColor, 16777215);
                QCOMPARE(plan.YajirusiColor, 0);
                continue;
            }
            QCOMPARE(plan.YajirusiColor, colours[i]);
            QCOMPARE(plan.MojiColor, colours[i] + 1);
            QCOMPARE(plan.SenColor, colours[i] + 2);
            QCOMPARE(plan.HaikeiColor, colours[i] + 3);
            QCOMPARE(plan.count(), 2);
            const TGroup* a = plan.at(0);
            QCOMPARE(a->order, 2);
            QCOMPARE(a->at(0)->name, QStringLiteral("水ナス"));
            QCOMPARE(a->at(0)->down, -5);
            QCOMPARE(a->at(1)->name, QStringLiteral("ナス科ナス"));
            QCOMPARE(a->at(1)->ichi, 3);
            QCOMPARE(a->at(1)->down, 4);
            const TGroup* b = plan.at(1);
            QCOMPARE(b->order, 9);
            QCOMPARE(b->at(0)->name, QStringLiteral("[[[ダミー]]]"));
            QCOMPARE(b->at(1)->name, QStringLiteral("水ナス"));
        }
    }

    void leavesBrokenFileAsItWasAndHandlesTheOthers() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        const auto& files = PlanFiles();
        writePlan(folder, files[0].fileName, QStringLiteral("one"), 10);
        // Readable up to its second group: writing the first group back would lose the rest.
        const QByteArray broken =
            planFile("<sakutuke name=\"two\"><group name=\"g\" order=\"1\"><sakumotu name=\"x\" "
                     "StTuki=\"4\" StShuu=\"2\" EdTuki=\"8\" EdShuu=\"5\" ichi=\"1\" "
                     "down=\"0\"/></group><group name=\"h\" order=\"oops\"/></sakutuke>");
        QVERIFY(writeBytes(folder + files[1].fileName, broken));
        writePlan(folder, files[2].fileName, QStringLiteral("three"), 30);

        store::RecordingSink sink;
        QVERIFY(!RenameCropInAllPlans(folder, QStringLiteral("ナス"), QStringLiteral("水ナス"), sink));
        QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailed)});
        QCOMPARE(readBytes(folder + files[1].fileName), broken);
        QVERIFY(QDir(dir.path()).entryList({QStringLiteral("*.unreadable-*")}, QDir::Files).isEmpty());

        for (int i : {0, 2}) {
            TGroupList plan;
            QVERIFY(plan.LoadFromFile(folder, files[size_t(i)].fileName, sink));
            QCOMPARE(plan.at(0)->at(0)->name, QStringLiteral("水ナス"));
        }
        for (int i = 3; i < 8; ++i)
            QVERIFY(QFile::exists(folder + files[size_t(i)].fileName));
    }

    void missingFolderReportsEverySave() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/missing/");
        store::RecordingSink sink;
        QVERIFY(!RenameCropInAllPlans(folder, QStringLiteral("a"), QStringLiteral("b"), sink));
        QCOMPARE(sink.messages.size(), 8);
        QCOMPARE(sink.messages.first(), QString::fromUtf8(msg::SaveFailed));
        QVERIFY(!QDir(folder).exists());
    }
};

QTEST_MAIN(PlanRenameTest)
#include "plan_rename_test.moc"
