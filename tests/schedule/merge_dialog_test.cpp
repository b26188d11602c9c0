#include "schedule/merge_dialog.h"
#include "schedule_support.h"
#include "support/scripted_platform.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace scheduletest;

class MergeDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void captionAndSizes();
    void report_data();
    void report();
    void reportChangesNothing();
    void okRemovesDuplicatesAndMerges_data();
    void okRemovesDuplicatesAndMerges();
    void okKeepsTheLaterStateOfEqualTasks();
    void okOnEmptyScheduleSavesEmptyFile();
    void cancelChangesNothing();

private:
    void clickOk(QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TYoteiList> m_tasks;
};

void MergeDialogTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
    m_tasks = std::make_unique<TYoteiList>();
}

void MergeDialogTest::captionAndSizes() {
    TForm14 dialog(*m_platform, *m_tasks);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("予定をまとめる"));
    QCOMPARE(dialog.size(), QSize(501, 471));
    QCOMPARE(dialog.minimumSize(), QSize(501, 471));
    QVERIFY(dialog.maximumSize().width() > 501);
    dialog.resize(700, 600);
    QCOMPARE(dialog.size(), QSize(700, 600));
    auto* report = dialog.findChild<QPlainTextEdit*>(QStringLiteral("reportEdit"));
    QVERIFY(report->isReadOnly());
    QVERIFY(report->width() > 600);
    bool intro = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        intro =
            intro || (label->wordWrap() &&
                      label->text() == QStringLiteral("重複している予定と、まとめられる予定を表示しています。"
                                                      "まとめる場合は「OK」ボタンを押してください。"));
    QVERIFY(intro);
}

void MergeDialogTest::report_data() {
    QTest::addColumn<QList<Seed>>("seeds");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QList<Seed>{} << QStringList{};
    QTest::newRow("two equal") << QList<Seed>{{"種を購入", "4", "1", "", {"トマト"}},
                                              {"種を購入", "4", "1", "", {"トマト"}}}
                               << QStringList{"[重複]4/1/種を購入/トマト"};
    QTest::newRow("different notes") << QList<Seed>{{"種を購入", "4", "1", "", {"トマト"}},
                                                    {"種を購入", "4", "1", "", {"ナス"}}}
                                     << QStringList{"[まとめられる]4/1/種を購入"};
    QTest::newRow("different months")
        << QList<Seed>{{"種を購入", "4", "1", "", {"トマト"}}, {"種を購入", "5", "1", "", {"トマト"}}}
        << QStringList{};
    QTest::newRow("two-line note runs together")
        << QList<Seed>{{"追肥", "6", "2", "", {"トマト", "ナス"}}, {"追肥", "6", "2", "", {"トマト", "ナス"}}}
        << QStringList{"[重複]6/2/追肥/トマトナス"};
    QTest::newRow("three equal") << QList<Seed>{{"a", "1", "1", "", {}},
                                                {"a", "1", "1", "", {}},
                                                {"a", "1", "1", "", {}}}
                                 << QStringList{"[重複]1/1/a/", "[重複]1/1/a/", "[重複]1/1/a/"};
    QTest::newRow("duplicates then mergeable")
        << QList<Seed>{{"b", "2", "1", "", {"x"}}, {"b", "2", "1", "", {"x"}}, {"b", "2", "1", "", {"y"}}}
        << QStringList{"[重複]2/1/b/x", "[まとめられる]2/1/b"};
}

void MergeDialogTest::report() {
    QFETCH(QList<Seed>, seeds);
    QFETCH(QStringList, lines);

    fill(*m_tasks, seeds);
    TForm14 dialog(*m_platform, *m_tasks);
    QCOMPARE(dialog.reportText(), lines.join(QLatin1Char('\n')));
}

void MergeDialogTest::reportChangesNothing() {
    fill(*m_tasks, {{"a", "1", "1", "", {"x"}}, {"a", "1", "1", "", {"x"}}, {"a", "1", "1", "", {"y"}}});
    TForm14 dialog(*m_platform, *m_tasks);
    QCOMPARE(m_tasks->count(), 3);
    QCOMPARE(m_tasks->at(2)->note, QStringList{"y"});
    QVERIFY(!QFile::exists(m_platform->dataFolder() + kYoteiFileName));
}

void MergeDialogTest::okRemovesDuplicatesAndMerges_data() {
    QTest::addColumn<QList<Seed>>("seeds");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<QStringList>>("notes");

    QTest::newRow("two equal") << QList<Seed>{{"種を購入", "4", "1", "", {"トマト"}},
                                              {"種を購入", "4", "1", "", {"トマト"}}}
                               << QStringList{"種を購入"} << QList<QStringList>{{"トマト"}};
    QTest::newRow("different notes") << QList<Seed>{{"種を購入", "4", "1", "", {"トマト"}},
                                                    {"種を購入", "4", "1", "", {"ナス"}}}
                                     << QStringList{"種を購入"}
                                     << QList<QStringList>{{"ナス", "-----", "トマト", ""}};
    QTest::newRow("three notes") << QList<Seed>{{"t", "4", "1", "", {"a"}},
                                                {"t", "4", "1", "", {"b"}},
                                                {"t", "4", "1", "", {"c"}}}
                                 << QStringList{"t"}
                                 << QList<QStringList>{{"c", "-----", "b", "", "-----", "a", ""}};
    QTest::newRow("three equal") << QList<Seed>{{"a", "1", "1", "", {}},
                                                {"a", "1", "1", "", {}},
                                                {"a", "1", "1", "", {}}}
                                 << QStringList{"a"} << QList<QStringList>{{}};
    QTest::newRow("different months, sorted")
        << QList<Seed>{{"t", "5", "1", "", {"x"}}, {"t", "4", "1", "", {"x"}}} << QStringList{"t", "t"}
        << QList<QStringList>{{"x"}, {"x"}};
}

void MergeDialogTest::okRemovesDuplicatesAndMerges() {
    QFETCH(QList<Seed>, seeds);
    QFETCH(QStringList, names);
    QFETCH(QList<QStringList>, notes);

    fill(*m_tasks, seeds);
    TForm14 dialog(*m_platform, *m_tasks);
    dialog.show();
    clickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(scheduletest::names(*m_tasks), names);
    for (int i = 0; i < notes.size(); ++i)
        QCOMPARE(m_tasks->at(i)->note, notes[i]);
    const auto saved = reread(m_platform->dataFolder());
    QCOMPARE(scheduletest::names(*saved), names);
    for (int i = 0; i < notes.size(); ++i)
        QCOMPARE(saved->at(i)->note, notes[i]);
    if (m_tasks->count() == 2)
        QCOMPARE(m_tasks->at(0)->tuki, QStringLiteral("4"));
    QVERIFY(m_platform->messages.isEmpty());
}

void MergeDialogTest::okKeepsTheLaterStateOfEqualTasks() {
    fill(*m_tasks, {{"t", "4", "1", kYoteiDone, {"n"}}, {"t", "4", "1", "", {"n"}}});
    TYotei* later = m_tasks->at(1);
    TForm14 dialog(*m_platform, *m_tasks);
    dialog.show();
    clickOk(dialog);
    QCOMPARE(m_tasks->count(), 1);
    QCOMPARE(m_tasks->at(0), later);
    QCOMPARE(later->state, QString());
}

void MergeDialogTest::okOnEmptyScheduleSavesEmptyFile() {
    TForm14 dialog(*m_platform, *m_tasks);
    dialog.show();
    QCOMPARE(dialog.reportText(), QString());
    clickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(QFile::exists(m_platform->dataFolder() + kYoteiFileName));
    QCOMPARE(reread(m_platform->dataFolder())->count(), 0);
}

void MergeDialogTest::cancelChangesNothing() {
    fill(*m_tasks, {{"t", "4", "1", "", {"a"}}, {"t", "4", "1", "", {"b"}}});
    TForm14 dialog(*m_platform, *m_tasks);
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton")), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_tasks->count(), 2);
    QCOMPARE(m_tasks->at(1)->note, QStringList{"b"});
    QVERIFY(!QFile::exists(m_platform->dataFolder() + kYoteiFileName));
}

QTEST_MAIN(MergeDialogTest)
#include "merge_dialog_test.moc"
