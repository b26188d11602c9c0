#include "exports/export_commands.h"
#include "image/jpeg_writer.h"
#include "store/notebook_files.h"
#include "store/outside_write.h"
#include "support/files.h"

#include <QDirIterator>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// Every file of the notebook, with bytes of its own, and a version in the history.
const QStringList kKept = {"history/kept/00000001-cost.xml", "history/changes/00000001.change"};

QStringList notebookNames() {
    return store::dataFileNames() + QStringList{"OkiniList.html"};
}

// The bytes of every file under the folder, links followed, by relative path.
QMap<QString, QByteArray> contents(const QString& root) {
    QMap<QString, QByteArray> all;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        all.insert(QDir(root).relativeFilePath(path), readBytes(path));
    }
    return all;
}

// Plain file names that an unfinished write would leave behind.
QStringList leftovers(const QString& root) {
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        if (it.next().contains(".saving"))
            found << it.filePath();
    return found;
}

} // namespace

// No export and no image ever takes the place of a file of the notebook,
// whatever path leads there; what is refused changes no file at all.
class NotebookGuardTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void refusedWherePathsLeadIntoTheNotebook_data();
    void refusedWherePathsLeadIntoTheNotebook();
    void writtenWherePathsLeadOutside_data();
    void writtenWherePathsLeadOutside();
    void everyExportRefusesALinkToItsOwnFile_data();
    void everyExportRefusesALinkToItsOwnFile();
    void aLinkStaysALinkAndIsFollowedOnce();
    void aReplacedFileKeepsItsPermissions();

private:
    void steps(const QStringList& steps);
    QString at(const QString& relative) const { return m_root.path() + '/' + relative; }
    int exportPurchases(const QString& dataFolder, const QString& target);

    QTemporaryDir m_root;
    QString m_err;
};

void NotebookGuardTest::init() {
    for (const char* folder : {"data", "desk", "elsewhere"})
        QDir(at(folder)).removeRecursively();
    QVERIFY(QDir().mkpath(at("data/history/kept")));
    QVERIFY(QDir().mkpath(at("data/history/changes")));
    QVERIFY(QDir().mkpath(at("desk")));
    QVERIFY(QDir().mkpath(at("elsewhere")));
    for (const QString& name : notebookNames())
        QVERIFY(writeBytes(at("data/" + name), "<?xml version=\"1.0\"?><data/>"));
    for (const QString& kept : kKept)
        QVERIFY(writeBytes(at("data/" + kept), "kept " + kept.toUtf8()));
}

// "link A B": a symbolic link A to B (ROOT stands for the test's folder);
// "hard A B": a hard link; "move A B"; "remove A"; "file A".
void NotebookGuardTest::steps(const QStringList& steps) {
    for (QString step : steps) {
        step.replace("ROOT", m_root.path());
        const QStringList word = step.split(' ');
        const QByteArray a = QFile::encodeName(at(word.value(1)));
        if (word[0] == "link")
            QVERIFY2(::symlink(QFile::encodeName(word[2]).constData(), a.constData()) == 0, qPrintable(step));
        else if (word[0] == "hard")
            QVERIFY2(::link(QFile::encodeName(at(word[2])).constData(), a.constData()) == 0,
                     qPrintable(step));
        else if (word[0] == "move")
            QVERIFY2(QFile::rename(at(word[1]), at(word[2])), qPrintable(step));
        else if (word[0] == "remove")
            QVERIFY2(QFile::remove(at(word[1])), qPrintable(step));
        else if (word[0] == "file")
            QVERIFY2(writeBytes(at(word[1]), "a file the gardener keeps"), qPrintable(step));
        else
            QFAIL(qPrintable(step));
    }
}

int NotebookGuardTest::exportPurchases(const QString& dataFolder, const QString& target) {
    QString out;
    m_err.clear();
    QTextStream outStream(&out);
    QTextStream errStream(&m_err);
    return exportPurchasesCommand(at(dataFolder), target, QString(), QString(), outStream, errStream);
}

void NotebookGuardTest::refusedWherePathsLeadIntoTheNotebook_data() {
    QTest::addColumn<QStringList>("setUp");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("dataFolder");
    for (const QString& name : notebookNames())
        QTest::newRow(qPrintable("link to " + name))
            << QStringList{"link desk/kakeibo.csv ../data/" + name} << "desk/kakeibo.csv"
            << "data";
    QTest::newRow("absolute link") << QStringList{"link desk/k.csv ROOT/data/cost.xml"} << "desk/k.csv"
                                   << "data";
    QTest::newRow("chain of two links")
        << QStringList{"link desk/a.csv b.csv", "link desk/b.csv ../data/cost.xml"} << "desk/a.csv"
        << "data";
    QTest::newRow("link to the data folder") << QStringList{"link desk/d ../data"} << "desk/d/cost.xml"
                                             << "data";
    QTest::newRow("the data folder itself, through a link") << QStringList{"link desk/d ../data"} << "desk/d"
                                                            << "data";
    QTest::newRow("a data file linked out, named by its target")
        << QStringList{"move data/cost.xml elsewhere/cost.xml", "link data/cost.xml ../elsewhere/cost.xml"}
        << "elsewhere/cost.xml"
        << "data";
    QTest::newRow("a data file linked out, through a second link")
        << QStringList{"move data/yotei.xml elsewhere/y.xml", "link data/yotei.xml ../elsewhere/y.xml",
                       "link desk/y.ics ../elsewhere/y.xml"}
        << "desk/y.ics"
        << "data";
    QTest::newRow("dangling link to a data file not yet made")
        << QStringList{"remove data/sakumotu.xml", "link desk/s.csv ../data/sakumotu.xml"} << "desk/s.csv"
        << "data";
    QTest::newRow("hard link") << QStringList{"hard desk/hard.csv data/cost.xml"} << "desk/hard.csv"
                               << "data";
    QTest::newRow("hard link to a kept version")
        << QStringList{"hard desk/old.csv data/history/kept/00000001-cost.xml"} << "desk/old.csv"
        << "data";
    QTest::newRow("a new file in the history") << QStringList{} << "data/history/changes/new.csv"
                                               << "data";
    QTest::newRow("the history through a link")
        << QStringList{"link desk/h ../data/history"} << "desk/h/kept/00000001-cost.xml"
        << "data";
    QTest::newRow("a copy kept aside") << QStringList{"file data/cost.xml.unreadable-20240101-000000"}
                                       << "data/cost.xml.unreadable-20240101-000000"
                                       << "data";
    QTest::newRow("dot-dot") << QStringList{} << "desk/../data/cost.xml"
                             << "data";
    QTest::newRow("another case of the name") << QStringList{} << "data/COST.XML"
                                              << "data";
    QTest::newRow("a data folder that is a link") << QStringList{"link notebook data"} << "data/cost.xml"
                                                  << "notebook";
    QTest::newRow("a data folder named through dot-dot") << QStringList{} << "data/sakumotu.xml"
                                                         << "desk/../data";
}

void NotebookGuardTest::refusedWherePathsLeadIntoTheNotebook() {
    QFETCH(QStringList, setUp);
    QFETCH(QString, target);
    QFETCH(QString, dataFolder);
    steps(setUp);
    const QMap<QString, QByteArray> before = contents(m_root.path());
    const QString path = at(target);

    QCOMPARE(exportPurchases(dataFolder, path), 1);
    QCOMPARE(m_err, "書き出しに失敗しました: " + path + "（青葉録のデータファイルには書き出せません。）\n");
    QString jpegError;
    try {
        image::writeJpeg(QImage(4, 4, QImage::Format_RGB32), path, store::notebookFiles(at(dataFolder)));
    } catch (const image::JpegError& e) {
        jpegError = QString::fromUtf8(e.what());
    }
    QCOMPARE(jpegError,
             "画像を保存できませんでした。\n" + path + "\n青葉録のデータファイルには保存できません。");

    QCOMPARE(contents(m_root.path()), before);
    QCOMPARE(leftovers(m_root.path()), QStringList());
    QVERIFY(!QFileInfo::exists(at("data/sakumotu.xml")) || before.contains("data/sakumotu.xml"));
}

void NotebookGuardTest::writtenWherePathsLeadOutside_data() {
    QTest::addColumn<QStringList>("setUp");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("written");
    QTest::newRow("on the desk") << QStringList{} << "desk/kounyu.csv"
                                 << "desk/kounyu.csv";
    QTest::newRow("a new file beside the notebook's") << QStringList{} << "data/kounyu.csv"
                                                      << "data/kounyu.csv";
    QTest::newRow("a link in the data folder pointing out")
        << QStringList{"file elsewhere/out.csv", "link data/out.csv ../elsewhere/out.csv"} << "data/out.csv"
        << "elsewhere/out.csv";
    QTest::newRow("dangling link pointing out")
        << QStringList{"link desk/k.csv ../elsewhere/new.csv"} << "desk/k.csv"
        << "elsewhere/new.csv";
    QTest::newRow("a hard link between two files of the desk")
        << QStringList{"file desk/a.csv", "hard desk/b.csv desk/a.csv"} << "desk/b.csv"
        << "desk/b.csv";
}

void NotebookGuardTest::writtenWherePathsLeadOutside() {
    QFETCH(QStringList, setUp);
    QFETCH(QString, target);
    QFETCH(QString, written);
    steps(setUp);
    QMap<QString, QByteArray> before = contents(at("data"));
    before.remove("out.csv");
    QCOMPARE(exportPurchases("data", at(target)), 0);
    QVERIFY(readBytes(at(written)).startsWith("\xEF\xBB\xBF日付,"));
    QMap<QString, QByteArray> after = contents(at("data"));
    after.remove("out.csv");
    after.remove("kounyu.csv");
    QCOMPARE(after, before);
    QCOMPARE(leftovers(m_root.path()), QStringList());
}

void NotebookGuardTest::everyExportRefusesALinkToItsOwnFile_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("dataFile");
    QTest::newRow("calendar onto the schedule") << "calendar"
                                                << "yotei.xml";
    QTest::newRow("purchases onto the ledger") << "purchases"
                                               << "cost.xml";
    QTest::newRow("crops onto the catalogue") << "crops"
                                              << "sakumotu.xml";
}

void NotebookGuardTest::everyExportRefusesALinkToItsOwnFile() {
    QFETCH(QString, option);
    QFETCH(QString, dataFile);
    steps({"link desk/out ../data/" + dataFile});
    const QMap<QString, QByteArray> before = contents(m_root.path());
    const QString path = at("desk/out");
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    int code = -1;
    if (option == "calendar")
        code = exportCalendarCommand(at("data"), path, QDate(2015, 1, 10), outStream, errStream);
    else if (option == "purchases")
        code = exportPurchasesCommand(at("data"), path, QString(), QString(), outStream, errStream);
    else
        code = exportCropsCommand(at("data"), path, outStream, errStream);
    QCOMPARE(code, 1);
    QCOMPARE(err, "書き出しに失敗しました: " + path + "（青葉録のデータファイルには書き出せません。）\n");
    QCOMPARE(out, QString());
    QCOMPARE(contents(m_root.path()), before);
}

// The file the link leads to is replaced; the link itself stays as it was.
void NotebookGuardTest::aLinkStaysALinkAndIsFollowedOnce() {
    steps({"file elsewhere/k.csv", "link desk/k.csv ../elsewhere/k.csv"});
    QCOMPARE(store::realTarget(at("desk/k.csv")), at("elsewhere/k.csv"));
    QCOMPARE(exportPurchases("data", at("desk/k.csv")), 0);
    QCOMPARE(QFileInfo(at("desk/k.csv")).symLinkTarget(), at("elsewhere/k.csv"));
    QVERIFY(readBytes(at("elsewhere/k.csv")).startsWith("\xEF\xBB\xBF"));
}

void NotebookGuardTest::aReplacedFileKeepsItsPermissions() {
    steps({"file desk/k.csv"});
    QVERIFY(QFile::setPermissions(at("desk/k.csv"), QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(exportPurchases("data", at("desk/k.csv")), 0);
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(at("desk/k.csv")).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0600u);
}

QTEST_GUILESS_MAIN(NotebookGuardTest)
#include "notebook_guard_test.moc"
