#include "plans/plan_records.h"
#include "store/message_sink.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The sample plan shipped for the button サンプル, and the build step that places it.
class SamplePlanTest : public QObject {
    Q_OBJECT
private:
    static QString sampleFolder() { return QStringLiteral(AOBAROKU_SAMPLE_DIR "/"); }

    // The build step, as the build runs it into a data folder that exists.
    static bool place(const QString& dataDir) {
        QProcess cmake;
        cmake.start(QStringLiteral(AOBAROKU_CMAKE),
                    {QStringLiteral("-DSRC=") + sampleFolder() + QStringLiteral("sakutuke4.xml"),
                     QStringLiteral("-DDST=") + dataDir + QStringLiteral("/sakutuke4.xml"),
                     QStringLiteral("-P"), QStringLiteral(AOBAROKU_COPY_IF_ABSENT)});
        return cmake.waitForFinished(-1) && cmake.exitCode() == 0;
    }

private slots:
    void isASmallGardenNamedSample() {
        store::RecordingSink sink;
        TGroupList plan;
        QVERIFY(plan.LoadFromFile(sampleFolder(), QStringLiteral("sakutuke4.xml"), sink));
        QVERIFY(sink.messages.isEmpty());
        QCOMPARE(plan.name, QStringLiteral("サンプル"));
        QVERIFY(plan.count() >= 3 && plan.count() <= 4);
        int dummies = 0;
        for (int g = 0; g < plan.count(); ++g)
            for (int i = 0; i < plan.at(g)->count(); ++i)
                dummies += plan.at(g)->at(i)->IsDummy() ? 1 : 0;
        QCOMPARE(dummies, 1);
        QVERIFY(plan.CropCount() >= 8);
    }

    void everyArrowFitsOnTheChart() {
        store::RecordingSink sink;
        TGroupList plan;
        QVERIFY(plan.LoadFromFile(sampleFolder(), QStringLiteral("sakutuke4.xml"), sink));
        plan.Layout();
        for (int g = 0; g < plan.count(); ++g)
            for (int i = 0; i < plan.at(g)->count(); ++i) {
                const TSakumotu2* entry = plan.at(g)->at(i);
                if (entry->IsDummy())
                    continue;
                QVERIFY(entry->hasStart && entry->hasEnd);
                QVERIFY2(entry->StX < entry->EdX && entry->EdX <= 697, qPrintable(entry->name));
            }
    }

    void isPlacedWhenTheDataFolderHasNone() {
        QTemporaryDir dir;
        const QString data = dir.path();
        QVERIFY(place(data));
        QFile placed(data + QStringLiteral("/sakutuke4.xml"));
        QFile shipped(sampleFolder() + QStringLiteral("sakutuke4.xml"));
        QVERIFY(placed.open(QIODevice::ReadOnly) && shipped.open(QIODevice::ReadOnly));
        QCOMPARE(placed.readAll(), shipped.readAll());
    }

    void neverReplacesTheUsersOwnPlan() {
        QTemporaryDir dir;
        QFile own(dir.path() + QStringLiteral("/sakutuke4.xml"));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("mine");
        own.close();
        QVERIFY(place(dir.path()));
        QVERIFY(own.open(QIODevice::ReadOnly));
        QCOMPARE(own.readAll(), QByteArray("mine"));
    }
};

QTEST_MAIN(SamplePlanTest)
#include "sample_plan_test.moc"
