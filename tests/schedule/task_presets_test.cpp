#include "schedule/task_presets.h"

#include <QtTest>

class TaskPresetsTest : public QObject {
    Q_OBJECT

private slots:
    void tenNamePresets();
    void presetsUseFullWidthDashAndDigits();
    void sixQuoteTasks();
    void quoteRowDefaults_data();
    void quoteRowDefaults();
    void unusableStartIsTakenAsItIs();
    void oneLineNote();
};

void TaskPresetsTest::tenNamePresets() {
    const QStringList expected{"種を購入", "苗を購入", "畑の準備－石灰", "畑の準備－元肥", "種まき",
                               "植えつけ", "植え替え", "追肥－１回目",   "追肥－２回目",   "追肥－３回目"};
    QCOMPARE(TaskNamePresets(), expected);
}

void TaskPresetsTest::presetsUseFullWidthDashAndDigits() {
    const QStringList& names = TaskNamePresets();
    QVERIFY(names[2].contains(QChar(0xFF0D)));
    QVERIFY(names[3].contains(QChar(0xFF0D)));
    for (int i = 7; i < 10; ++i) {
        QVERIFY(names[i].contains(QChar(0xFF0D)));
        QVERIFY(names[i].contains(QChar(0xFF11 + (i - 7))));
    }
    for (const QString& name : names)
        for (QChar c : name)
            QVERIFY2(c.unicode() > 0x7F, qPrintable(name));
}

void TaskPresetsTest::sixQuoteTasks() {
    const QList<QuoteTask>& tasks = QuoteTasks();
    QCOMPARE(tasks.size(), 6);
    const QStringList names{"畝の準備", "種を購入", "苗作り", "苗を購入", "種まき", "植え付け"};
    const QList<int> weeks{2, 2, 0, 1, 0, 0};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(tasks[i].name, names[i]);
        QCOMPARE(tasks[i].weeksBefore, weeks[i]);
    }
}

void TaskPresetsTest::quoteRowDefaults_data() {
    QTest::addColumn<QString>("stTuki");
    QTest::addColumn<QString>("stShuu");
    QTest::addColumn<QStringList>("weeks"); // month/week of the six rows

    QTest::newRow("5月3週") << "5"
                            << "3" << QStringList{"5/1", "5/1", "5/3", "5/2", "5/3", "5/3"};
    QTest::newRow("5月2週") << "5"
                            << "2" << QStringList{"4/5", "4/5", "5/2", "5/1", "5/2", "5/2"};
    QTest::newRow("1月1週") << "1"
                            << "1" << QStringList{"12/4", "12/4", "1/1", "12/5", "1/1", "1/1"};
    QTest::newRow("3月1週") << "3"
                            << "1" << QStringList{"2/4", "2/4", "3/1", "2/5", "3/1", "3/1"};
    QTest::newRow("1月2週") << "1"
                            << "2" << QStringList{"12/5", "12/5", "1/2", "1/1", "1/2", "1/2"};
}

void TaskPresetsTest::quoteRowDefaults() {
    QFETCH(QString, stTuki);
    QFETCH(QString, stShuu);
    QFETCH(QStringList, weeks);

    const QList<QuoteRowDefault> rows = QuoteRowDefaults(QStringLiteral("トマト"), stTuki, stShuu);
    QCOMPARE(rows.size(), 6);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(rows[i].name, QuoteTasks()[i].name);
        QCOMPARE(rows[i].tuki + QLatin1Char('/') + rows[i].shuu, weeks[i]);
        QCOMPARE(rows[i].note, QStringLiteral("トマト"));
    }
}

void TaskPresetsTest::unusableStartIsTakenAsItIs() {
    const QList<QuoteRowDefault> rows =
        QuoteRowDefaults(QStringLiteral("ナス"), QStringLiteral("x"), QStringLiteral("2"));
    QCOMPARE(rows.size(), 6);
    for (const QuoteRowDefault& row : rows) {
        QCOMPARE(row.tuki, QStringLiteral("x"));
        QCOMPARE(row.shuu, QStringLiteral("2"));
    }
}

void TaskPresetsTest::oneLineNote() {
    QCOMPARE(OneLineNote(QString()), QStringList());
    QCOMPARE(OneLineNote(QStringLiteral("トマト")), QStringList{"トマト"});
    QCOMPARE(OneLineNote(QStringLiteral(" ")), QStringList{" "});
}

QTEST_GUILESS_MAIN(TaskPresetsTest)
#include "task_presets_test.moc"
