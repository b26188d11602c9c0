#include "crops/crop_records.h"
#include "exports/export_commands.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "store/message_sink.h"
#include "support/files.h"

#include <QtTest>

using testsupport::folderOf;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

enum class Kind { Calendar, Purchases, Crops };

struct Run {
    int code = -1;
    QString out;
    QString err;
};

Run runExport(Kind kind, const QString& folder, const QString& file) {
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    switch (kind) {
    case Kind::Calendar:
        run.code = exportCalendarCommand(folder, file, QDate(2015, 1, 10), out, err);
        break;
    case Kind::Purchases:
        run.code = exportPurchasesCommand(folder, file, QString(), QString(), out, err);
        break;
    case Kind::Crops:
        run.code = exportCropsCommand(folder, file, out, err);
        break;
    }
    return run;
}

// A data folder with one crop, two tasks and two purchases, written as the program writes them.
void fillDataFolder(const QString& folder) {
    store::RecordingSink sink;
    TSakumotuList crops;
    crops.add()->name = "トマト";
    QVERIFY(crops.SaveToFile(folder, sink));
    TYoteiList tasks;
    for (const char* name : {"種まき", "追肥"}) {
        TYotei* task = tasks.add();
        task->name = name;
        task->tuki = "4";
        task->shuu = "2";
    }
    QVERIFY(tasks.SaveToFile(folder, sink));
    TCostList costs;
    for (const char* year : {"2013", "2014"}) {
        TCost* cost = costs.add();
        cost->nen = year;
        cost->tuki = "5";
        cost->hi = "3";
        cost->sina.add()->kingaku = "0500";
    }
    QVERIFY(costs.SaveToFile(folder, sink));
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class ExportCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void writesEachExportAndSaysWhat_data();
    void writesEachExportAndSaysWhat();
    void purchasesFollowYearAndMonth();
    void missingDataFolderIsAUsageErrorAndStaysMissing_data() { kinds(); }
    void missingDataFolderIsAUsageErrorAndStaysMissing();
    void damagedDataFileGivesItsLoadMessageAndWritesNothing_data();
    void damagedDataFileGivesItsLoadMessageAndWritesNothing();
    void neverReplacesANotebookFile_data();
    void neverReplacesANotebookFile();
    void unwritableOutputWritesNothing_data();
    void unwritableOutputWritesNothing();

private:
    void kinds();

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
};

void ExportCommandsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_data = m_dir->filePath("data");
    QVERIFY(QDir().mkdir(m_data));
    fillDataFolder(m_data + '/');
}

void ExportCommandsTest::kinds() {
    QTest::addColumn<Kind>("kind");
    QTest::newRow("calendar") << Kind::Calendar;
    QTest::newRow("purchases") << Kind::Purchases;
    QTest::newRow("crops") << Kind::Crops;
}

void ExportCommandsTest::writesEachExportAndSaysWhat_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QByteArray>("begins");
    QTest::newRow("calendar") << Kind::Calendar << "予定 2件をカレンダーに書き出しました。"
                              << QByteArray("BEGIN:VCALENDAR\r\n");
    QTest::newRow("purchases") << Kind::Purchases << "購入履歴 2件（2行）を書き出しました。"
                               << QByteArray("\xEF\xBB\xBF日付,購入内容,金額\r\n2013/5/3,,500\r\n");
    QTest::newRow("crops") << Kind::Crops << "作物 1件を書き出しました。"
                           << QByteArray("\xEF\xBB\xBF作物名,科目,お気に入り品種1,");
}

void ExportCommandsTest::writesEachExportAndSaysWhat() {
    QFETCH(Kind, kind);
    QFETCH(QString, said);
    QFETCH(QByteArray, begins);
    const QStringList dataBefore = filesIn(m_data);
    const QString file = m_dir->filePath("out.txt");
    // The folder may be given without its closing slash.
    const Run run = runExport(kind, m_data, file);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.code, 0);
    QCOMPARE(run.out, file + ": " + said + "\n");
    QVERIFY(readBytes(file).startsWith(begins));
    QCOMPARE(filesIn(m_data), dataBefore);
    QCOMPARE(filesIn(m_dir->path()), (QStringList{"data", "out.txt"}));
}

void ExportCommandsTest::purchasesFollowYearAndMonth() {
    const QString file = m_dir->filePath("kounyu.csv");
    QString said;
    QTextStream stream(&said);
    QCOMPARE(exportPurchasesCommand(m_data, file, "2014", "5", stream, stream), 0);
    QCOMPARE(readBytes(file), QByteArray("\xEF\xBB\xBF日付,購入内容,金額\r\n2014/5/3,,500\r\n"));
    QCOMPARE(exportPurchasesCommand(m_data, file, "2014", "6", stream, stream), 0);
    QCOMPARE(readBytes(file), QByteArray("\xEF\xBB\xBF日付,購入内容,金額\r\n"));
    QVERIFY(!said.contains("失敗"));
}

void ExportCommandsTest::missingDataFolderIsAUsageErrorAndStaysMissing() {
    QFETCH(Kind, kind);
    const QString missing = m_dir->filePath("nowhere");
    const QString file = m_dir->filePath("out.txt");
    const Run run = runExport(kind, missing, file);
    QCOMPARE(run.code, 2);
    QCOMPARE(run.err, "データフォルダーがありません: " + missing + "\n");
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(!QFileInfo::exists(file));
}

void ExportCommandsTest::damagedDataFileGivesItsLoadMessageAndWritesNothing_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("dataFile");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("task without its week") << Kind::Calendar << "yotei.xml"
                                           << QByteArray("<?xml version=\"1.0\"?><data><yotei name=\"a\" "
                                                         "tuki=\"1\" state=\"\"/></data>")
                                           << "データの読み込みに失敗しました。";
    QTest::newRow("purchase without its day") << Kind::Purchases << "cost.xml"
                                              << QByteArray("<?xml version=\"1.0\"?><data><cost nen=\"2014\" "
                                                            "tuki=\"5\"/></data>")
                                              << "データの読み込みに失敗しました（cost）。";
    QTest::newRow("crop file cut short")
        << Kind::Crops << "sakumotu.xml" << QByteArray("<?xml version=\"1.0\"?><data><sakumotu name=")
        << "データの読み込みに失敗しました。";
}

void ExportCommandsTest::damagedDataFileGivesItsLoadMessageAndWritesNothing() {
    QFETCH(Kind, kind);
    QFETCH(QString, dataFile);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QVERIFY(writeBytes(m_data + '/' + dataFile, content));
    const QStringList dataBefore = filesIn(m_data);
    const QString file = m_dir->filePath("out.txt");
    const Run run = runExport(kind, m_data + '/', file);
    QCOMPARE(run.code, 1);
    QVERIFY(run.err.endsWith(QLatin1Char('\n')));
    // An export saves nothing, so no copy is promised "before the next save".
    QCOMPARE(run.err, message + "\n" + QDir(m_data).absoluteFilePath(dataFile) +
                          " を読めないため、何も書き出していません。\n");
    QCOMPARE(run.out, QString());
    QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(filesIn(m_data), dataBefore);
    QCOMPARE(readBytes(m_data + '/' + dataFile), content);
}

void ExportCommandsTest::neverReplacesANotebookFile_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("dataFile");
    QTest::newRow("calendar onto the schedule") << Kind::Calendar << "yotei.xml";
    QTest::newRow("purchases onto the ledger") << Kind::Purchases << "cost.xml";
    QTest::newRow("crops onto the catalogue") << Kind::Crops << "sakumotu.xml";
}

void ExportCommandsTest::neverReplacesANotebookFile() {
    QFETCH(Kind, kind);
    QFETCH(QString, dataFile);
    const QString file = m_data + "/" + dataFile;
    const QByteArray before = readBytes(file);
    const Run run = runExport(kind, m_data, file);
    QCOMPARE(run.code, 1);
    QCOMPARE(run.err, "書き出しに失敗しました: " + file + "（青葉録のデータファイルには書き出せません。）\n");
    QCOMPARE(readBytes(file), before);
}

void ExportCommandsTest::unwritableOutputWritesNothing_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    const QString noFolder = "保存先のフォルダーがありません。";
    for (const auto& [name, kind] :
         {std::pair("calendar", Kind::Calendar), std::pair("purchases", Kind::Purchases),
          std::pair("crops", Kind::Crops)}) {
        QTest::newRow(qPrintable(QString(name) + " into a missing folder"))
            << kind << "missing/out.txt" << noFolder;
        QTest::newRow(qPrintable(QString(name) + " under a file")) << kind << "plain/out.txt" << noFolder;
        QTest::newRow(qPrintable(QString(name) + " onto a folder")) << kind << "folder"
                                                                    << "同じ名前のフォルダーがあります。";
    }
}

void ExportCommandsTest::unwritableOutputWritesNothing() {
    QFETCH(Kind, kind);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QVERIFY(writeBytes(m_dir->filePath("plain"), "a file"));
    QVERIFY(QDir(m_dir->path()).mkdir("folder"));
    const QStringList before = filesIn(m_dir->path());
    const QString file = m_dir->filePath(target);
    const Run run = runExport(kind, m_data, file);
    QCOMPARE(run.code, 1);
    QCOMPARE(run.err, "書き出しに失敗しました: " + file + "（" + reason + "）\n");
    QCOMPARE(run.out, QString());
    QCOMPARE(filesIn(m_dir->path()), before);
    QCOMPARE(filesIn(m_dir->filePath("folder")), QStringList());
    QCOMPARE(readBytes(m_dir->filePath("plain")), QByteArray("a file"));
}

QTEST_GUILESS_MAIN(ExportCommandsTest)
#include "export_commands_test.moc"
