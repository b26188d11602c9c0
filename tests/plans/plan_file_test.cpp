#include "plans/plan_chart.h"
#include "plans/plan_records.h"
#include "plans/plan_test_files.h"
#include "store/message_sink.h"
#include "store/messages.h"
#include "support/messages.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using plantest::planFile;
using plantest::readBytes;
using plantest::writeBytes;

namespace {

const QString kFile = QStringLiteral("sakutuke1.xml");

QByteArray entry(const QByteArray& name, int ichi, const QByteArray& down = "0") {
    return "<sakumotu name=\"" + name + "\" StTuki=\"4\" StShuu=\"2\" EdTuki=\"8\" EdShuu=\"5\" ichi=\"" +
           QByteArray::number(ichi) + "\" down=\"" + down + "\"/>";
}

QByteArray group(const QByteArray& name, int order, const QByteArray& entries) {
    return "<group name=\"" + name + "\" order=\"" + QByteArray::number(order) + "\">" + entries + "</group>";
}

QStringList groupNames(const TGroupList& plan) {
    QStringList names;
    for (int i = 0; i < plan.count(); ++i)
        names << plan.at(i)->name;
    return names;
}

} // namespace

class PlanFileTest : public QObject {
    Q_OBJECT

private:
    // A fresh folder per test: a failed load marks its file for copying aside at the next save.
    std::unique_ptr<QTemporaryDir> m_dir;
    QString folder() const { return m_dir->path() + QLatin1Char('/'); }
    QString path() const { return folder() + kFile; }

    bool load(TGroupList& plan, store::RecordingSink& sink) {
        return plan.LoadFromFile(folder(), kFile, sink);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void missingFileLoadsEmptyPlanWithDefaultColours() {
        TGroupList plan;
        plan.add()->name = QStringLiteral("old");
        plan.YajirusiColor = plan.MojiColor = plan.SenColor = plan.HaikeiColor = 12345;
        store::RecordingSink sink;
        QVERIFY(load(plan, sink));
        QCOMPARE(plan.count(), 0);
        QCOMPARE(plan.YajirusiColor, 0);
        QCOMPARE(plan.MojiColor, 0);
        QCOMPARE(plan.SenColor, 0);
        QCOMPARE(plan.HaikeiColor, 16777215);
        QVERIFY(sink.messages.isEmpty());
        QVERIFY(!QFile::exists(path()));
    }

    void fileWithoutColoursGetsDefaultColours() {
        QVERIFY(writeBytes(path(),
                           planFile("<sakutuke name=\"p\">" + group("g", 1, entry("a", 1)) + "</sakutuke>")));
        TGroupList plan;
        plan.HaikeiColor = 0;
        store::RecordingSink sink;
        QVERIFY(load(plan, sink));
        QCOMPARE(plan.name, QStringLiteral("p"));
        QCOMPARE(plan.YajirusiColor, 0);
        QCOMPARE(plan.MojiColor, 0);
        QCOMPARE(plan.SenColor, 0);
        QCOMPARE(plan.HaikeiColor, 16777215);
        QCOMPARE(plan.count(), 1);
    }

    void onlyBackgroundColourGivesRedBackground() {
        QVERIFY(writeBytes(path(), planFile("<sakutuke name=\"p\" HaikeiColor=\"255\"></sakutuke>")));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(load(plan, sink));
        QCOMPARE(plan.HaikeiColor, 255);
        QCOMPARE(ChartColor(plan.HaikeiColor), QColor(255, 0, 0));
        QCOMPARE(plan.YajirusiColor, 0);
        QCOMPARE(plan.MojiColor, 0);
        QCOMPARE(plan.SenColor, 0);
    }

    void readsEveryColourAndField() {
        QVERIFY(writeBytes(path(),
                           planFile("<sakutuke name=\"p\" YajirusiColor=\"1\" MojiColor=\"2\" SenColor=\"3\" "
                                    "HaikeiColor=\"65280\">" +
                                    group("g", 7,
                                          "<sakumotu name=\"n\" StTuki=\"11\" StShuu=\"1\" EdTuki=\"2\" "
                                          "EdShuu=\"2\" ichi=\"3\" down=\"-4\"/>") +
                                    "</sakutuke>")));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(load(plan, sink));
        QCOMPARE(plan.YajirusiColor, 1);
        QCOMPARE(plan.MojiColor, 2);
        QCOMPARE(plan.SenColor, 3);
        QCOMPARE(plan.HaikeiColor, 65280);
        QCOMPARE(plan.at(0)->order, 7);
        const TSakumotu2* e = plan.at(0)->at(0);
        QCOMPARE(e->name, QStringLiteral("n"));
        QCOMPARE(e->StTuki, QStringLiteral("11"));
        QCOMPARE(e->StShuu, QStringLiteral("1"));
        QCOMPARE(e->EdTuki, QStringLiteral("2"));
        QCOMPARE(e->EdShuu, QStringLiteral("2"));
        QCOMPARE(e->ichi, 3);
        QCOMPARE(e->down, -4);
    }

    void missingDownStopsReading() {
        const QByteArray noDown =
            "<sakumotu name=\"b\" StTuki=\"4\" StShuu=\"2\" EdTuki=\"8\" EdShuu=\"5\" ichi=\"1\"/>";
        QVERIFY(writeBytes(path(), planFile("<sakutuke name=\"p\">" + group("g2", 2, entry("a", 1)) +
                                            group("g1", 1, entry("c", 1) + noDown) +
                                            group("g0", 0, entry("d", 1)) + "</sakutuke>")));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(!load(plan, sink));
        QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailed)});
        // The group under way is dropped; the one read in full stays.
        QCOMPARE(groupNames(plan), QStringList{QStringLiteral("g2")});
    }

    void offsetThatIsNoWholeNumberGivesZero_data() {
        QTest::addColumn<QByteArray>("down");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("abc") << QByteArray("abc");
        QTest::newRow("fraction") << QByteArray("1.5");
    }

    void offsetThatIsNoWholeNumberGivesZero() {
        QFETCH(QByteArray, down);
        QVERIFY(writeBytes(
            path(), planFile("<sakutuke name=\"p\">" + group("g", 1, entry("a", 1, down)) + "</sakutuke>")));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(load(plan, sink));
        QVERIFY(sink.messages.isEmpty());
        QCOMPARE(plan.at(0)->at(0)->down, 0);
    }

    void sortsGroupsByOrderAndEntriesByRow() {
        QVERIFY(writeBytes(path(),
                           planFile("<sakutuke name=\"p\">" + group("three", 3, "") + group("one", 1, "") +
                                    group("two", 2, entry("x", 2) + entry("y", 1) + entry("z", 2)) +
                                    "</sakutuke>")));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(load(plan, sink));
        QCOMPARE(groupNames(plan), (QStringList{"one", "two", "three"}));
        const TGroup* two = plan.at(1);
        QCOMPARE(two->at(0)->name, QStringLiteral("y"));
        QCOMPARE(two->at(0)->ichi, 1);
        QCOMPARE(two->at(1)->ichi, 2);
        QCOMPARE(two->at(2)->ichi, 2);
    }

    void negativeOffsetSurvivesSaveAndLoad() {
        TGroupList plan;
        TSakumotu2* e = plan.add()->add();
        e->name = QStringLiteral("ナス");
        e->down = -5;
        store::RecordingSink sink;
        QVERIFY(plan.SaveToFile(folder(), QStringLiteral("計画１"), kFile, sink));
        QVERIFY(readBytes(path()).contains("down=\"-5\""));
        TGroupList back;
        QVERIFY(back.LoadFromFile(folder(), kFile, sink));
        QCOMPARE(back.at(0)->at(0)->down, -5);
        QVERIFY(sink.messages.isEmpty());
    }

    void writesAttributesInTheirOrder() {
        TGroupList plan;
        plan.name = QStringLiteral("ignored");
        plan.YajirusiColor = 255;
        plan.MojiColor = 65280;
        plan.SenColor = 16711680;
        plan.HaikeiColor = 16777215;
        TGroup* g = plan.add();
        g->name = QStringLiteral("bed");
        g->order = 4;
        TSakumotu2* e = g->add();
        e->name = QStringLiteral("tomato");
        e->StTuki = QStringLiteral("4");
        e->StShuu = QStringLiteral("2");
        e->EdTuki = QStringLiteral("8");
        e->EdShuu = QStringLiteral("5");
        e->ichi = 2;
        e->down = 3;
        TSakumotu2* dummy = g->add();
        dummy->name = QStringLiteral("[[[ダミー]]]");
        store::RecordingSink sink;
        QVERIFY(plan.SaveToFile(folder(), QStringLiteral("given"), kFile, sink));
        const QByteArray bytes = readBytes(path());
        QVERIFY(bytes.startsWith(plantest::kDeclaration));
        QVERIFY2(bytes.contains(
                     "<data><sakutuke name=\"given\" YajirusiColor=\"255\" MojiColor=\"65280\" "
                     "SenColor=\"16711680\" HaikeiColor=\"16777215\"><group name=\"bed\" order=\"4\">"
                     "<sakumotu name=\"tomato\" StTuki=\"4\" StShuu=\"2\" EdTuki=\"8\" EdShuu=\"5\" "
                     "ichi=\"2\" down=\"3\"/><sakumotu name=\"[[[\x83_\x83~\x81[]]]\" StTuki=\"\" "
                     "StShuu=\"\" EdTuki=\"\" EdShuu=\"\" ichi=\"1\" down=\"0\"/></group></sakutuke></data>"),
                 bytes.constData());
        QCOMPARE(plan.name, QStringLiteral("ignored"));
    }

    void readsPlanWrittenByHandInCp932() {
        // 春の畑～①, トマト畝 and ナス in code page 932 bytes.
        const QByteArray body =
            "<sakutuke name=\"\x8ft\x82\xcc\x94\xa8\x81`\x87@\" YajirusiColor=\"255\"><group "
            "name=\"\x83g\x83}\x83g\x90\xa4\" order=\"1\"><sakumotu name=\"\x83i\x83X\" StTuki=\"4\" "
            "StShuu=\"2\" "
            "EdTuki=\"8\" EdShuu=\"5\" ichi=\"1\" down=\"0\"/></group></sakutuke>";
        QVERIFY(writeBytes(path(), planFile(body)));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(load(plan, sink));
        QCOMPARE(plan.name, QStringLiteral("春の畑～①"));
        QCOMPARE(plan.YajirusiColor, 255);
        QCOMPARE(plan.at(0)->name, QStringLiteral("トマト畝"));
        QCOMPARE(plan.at(0)->at(0)->name, QStringLiteral("ナス"));
        QCOMPARE(EntryPeriodText(*plan.at(0)->at(0)), QStringLiteral("4月2週～8月5週"));
    }

    void brokenFileGivesMessage_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("unparsable") << planFile("<sakutuke name=\"p\"><group");
        QTest::newRow("no sakutuke") << planFile("<plan name=\"p\"/>");
        QTest::newRow("no plan name") << planFile("<sakutuke/>");
        QTest::newRow("colour not a number") << planFile("<sakutuke name=\"p\" SenColor=\"red\"/>");
        QTest::newRow("empty colour") << planFile("<sakutuke name=\"p\" MojiColor=\"\"/>");
        QTest::newRow("no group name") << planFile("<sakutuke name=\"p\"><group order=\"1\"/></sakutuke>");
        QTest::newRow("no order") << planFile("<sakutuke name=\"p\"><group name=\"g\"/></sakutuke>");
        QTest::newRow("order not a number")
            << planFile("<sakutuke name=\"p\"><group name=\"g\" order=\"x\"/></sakutuke>");
        QTest::newRow("ichi not a number")
            << planFile("<sakutuke name=\"p\">" +
                        group("g", 1, entry("a", 1)).replace("ichi=\"1\"", "ichi=\"\"") + "</sakutuke>");
        for (const char* attribute : {"name", "StTuki", "StShuu", "EdTuki", "EdShuu", "ichi"}) {
            QByteArray e = entry("a", 1);
            const int at = e.indexOf(QByteArray(" ") + attribute + "=\"");
            e.remove(at, e.indexOf('"', e.indexOf('"', at) + 1) + 1 - at);
            QTest::newRow(QByteArray("no entry ").append(attribute).constData())
                << planFile("<sakutuke name=\"p\">" + group("g", 1, e) + "</sakutuke>");
        }
    }

    void brokenFileGivesMessage() {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeBytes(path(), bytes));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(!load(plan, sink));
        QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailed)});
        QCOMPARE(plan.count(), 0);
    }

    void failedReadKeepsGroupsReadInFileOrder() {
        QVERIFY(writeBytes(path(), planFile("<sakutuke name=\"p\">" + group("late", 9, entry("a", 1)) +
                                            group("early", 1, entry("b", 1)) +
                                            "<group name=\"bad\" order=\"1.5\"/></sakutuke>")));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(!load(plan, sink));
        QCOMPARE(groupNames(plan), (QStringList{"late", "early"}));
    }

    void brokenFileIsCopiedAsideBeforeItIsOverwritten() {
        const QByteArray broken = planFile("<sakutuke name=\"p\">" + group("kept", 1, entry("a", 1)) +
                                           "<group name=\"lost\"/></sakutuke>");
        QVERIFY(writeBytes(path(), broken));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(!load(plan, sink));
        QVERIFY(plan.SaveToFile(folder(), QStringLiteral("p"), kFile, sink));
        const QStringList aside =
            QDir(m_dir->path()).entryList({kFile + QStringLiteral(".unreadable-*")}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(readBytes(folder() + aside.first()), broken);
    }

    void saveToMissingFolderFailsAndKeepsPlan() {
        TGroupList plan;
        plan.add()->name = QStringLiteral("g");
        store::RecordingSink sink;
        QVERIFY(!plan.SaveToFile(folder() + QStringLiteral("missing/"), QStringLiteral("p"), kFile, sink));
        QCOMPARE(sink.messages, QStringList{QString::fromUtf8(msg::SaveFailed)});
        QCOMPARE(plan.count(), 1);
        QCOMPARE(plan.at(0)->name, QStringLiteral("g"));
    }

    void saveWhereFolderIsAFileFailsAndKeepsOldFile() {
        QVERIFY(writeBytes(path(), "old"));
        TGroupList plan;
        store::RecordingSink sink;
        QVERIFY(!plan.SaveToFile(path() + QLatin1Char('/'), QStringLiteral("p"), kFile, sink));
        QCOMPARE(sink.messages, QStringList{QString::fromUtf8(msg::SaveFailed)});
        QCOMPARE(readBytes(path()), QByteArray("old"));
    }

    void readsPlanName() {
        store::RecordingSink sink;
        QCOMPARE(ReadPlanName(folder(), kFile, sink), QString());
        QVERIFY(writeBytes(path(), planFile("<sakutuke name=\"spring\"/>")));
        QCOMPARE(ReadPlanName(folder(), kFile, sink), QStringLiteral("spring"));
        QVERIFY(sink.messages.isEmpty());
    }

    void unreadablePlanNameGivesMessageAndEmptyName_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("unparsable") << QByteArray("<data><sakutuke");
        QTest::newRow("no name") << planFile("<sakutuke/>");
        QTest::newRow("no sakutuke") << planFile("");
    }

    void unreadablePlanNameGivesMessageAndEmptyName() {
        QFETCH(QByteArray, bytes);
        QVERIFY(writeBytes(path(), bytes));
        store::RecordingSink sink;
        QCOMPARE(ReadPlanName(folder(), kFile, sink), QString());
        QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailed)});
    }

    void mapsEightFilesToTheirButtons() {
        const auto& files = PlanFiles();
        const QStringList captions = {"計画１", "計画２", "計画３", "サンプル",
                                      "計画４", "計画５", "計画６", "計画７"};
        const int positions[] = {0, 1, 2, 7, 3, 4, 5, 6};
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(files[size_t(i)].fileName, QStringLiteral("sakutuke%1.xml").arg(i + 1));
            QCOMPARE(files[size_t(i)].defaultCaption, captions[i]);
            QCOMPARE(files[size_t(i)].buttonPosition, positions[i]);
        }
    }

    void readsWholeNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "12" << true << 12;
        QTest::newRow("negative") << "-5" << true << -5;
        QTest::newRow("plus") << "+3" << true << 3;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("fraction") << "2.5" << false << 0;
        QTest::newRow("space") << " 2" << false << 0;
        QTest::newRow("too large") << "99999999999" << false << 0;
        QTest::newRow("full-width digit") << "２" << false << 0;
    }

    void readsWholeNumbers() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const std::optional<int> n = wholeNumber(text);
        QCOMPARE(n.has_value(), valid);
        if (valid)
            QCOMPARE(*n, value);
    }
};

QTEST_MAIN(PlanFileTest)
#include "plan_file_test.moc"
