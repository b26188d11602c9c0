#include "store/locations.h"
#include "support/files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace testsupport;
using store::DataFolder;

// Where the notebook lives, decided from the executable's folder and the
// environment, in real temporary folders laid out as the build tree, a
// portable copy and an installed package lay them out.
class DataFolderTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_root;

    QString path(const QString& relative) const { return m_root.path() + '/' + relative; }
    void makeFolder(const QString& relative) const { QVERIFY(QDir().mkpath(path(relative))); }

    // An installed package: usr/bin beside usr/share/aobaroku, and a home.
    store::Surroundings installed() const { return {path("usr/bin"), path("home"), QString()}; }
    // Opens the folder as the start does; the lock goes again at once.
    store::FolderOpening open(const DataFolder& folder) const {
        store::LockFile lock;
        return store::openDataFolder(folder, installed(), lock);
    }
    void shipStarterFiles() const {
        makeFolder("usr/share/aobaroku/starter");
        QVERIFY(writeBytes(path("usr/share/aobaroku/starter/sakumotu.xml"), "crops"));
        QVERIFY(writeBytes(path("usr/share/aobaroku/starter/sakutuke4.xml"), "sample"));
    }

private slots:
    void init() {
        QVERIFY(m_root.isValid());
        QDir(m_root.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_root.path()));
        makeFolder("usr/bin");
        makeFolder("home");
    }

    void choosesTheFolderNamedOnTheCommandLineFirst() {
        makeFolder("usr/bin/data");
        makeFolder("garden");
        const DataFolder folder = store::chooseDataFolder(installed(), path("garden"));
        QCOMPARE(folder.kind, DataFolder::Kind::Given);
        QCOMPARE(folder.path, path("garden/"));
    }

    void takesTheDataFolderBesideTheExecutableWhenItExists() {
        makeFolder("usr/bin/data");
        const DataFolder folder = store::chooseDataFolder(installed());
        QCOMPARE(folder.kind, DataFolder::Kind::Portable);
        QCOMPARE(folder.path, path("usr/bin/data/"));
    }

    void fileNamedDataBesideTheExecutableIsNoDataFolder() {
        QVERIFY(writeBytes(path("usr/bin/data"), "not a folder"));
        QCOMPARE(store::chooseDataFolder(installed()).kind, DataFolder::Kind::PerUser);
    }

    void perUserFolderFollowsXdgDataHome_data() {
        QTest::addColumn<QString>("xdgDataHome");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unset") << QString() << "home/.local/share/aobaroku/";
        QTest::newRow("set") << "ROOT/xdg"
                             << "xdg/aobaroku/";
        QTest::newRow("relative is ignored") << "xdg"
                                             << "home/.local/share/aobaroku/";
    }
    void perUserFolderFollowsXdgDataHome() {
        QFETCH(QString, xdgDataHome);
        QFETCH(QString, expected);
        store::Surroundings where = installed();
        where.xdgDataHome = xdgDataHome.replace("ROOT", m_root.path());
        const DataFolder folder = store::chooseDataFolder(where);
        QCOMPARE(folder.kind, DataFolder::Kind::PerUser);
        QCOMPARE(folder.path, path(expected));
        QVERIFY(!QFileInfo::exists(folder.path)); // choosing creates nothing
    }

    void firstStartMakesAPrivateFolderWithTheStarterFiles() {
        shipStarterFiles();
        const DataFolder folder = store::chooseDataFolder(installed());
        QCOMPARE(open(folder), store::FolderOpening::Ready);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(folder.path).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
        QCOMPARE(readBytes(folder.path + "sakumotu.xml"), QByteArray("crops"));
        QCOMPARE(readBytes(folder.path + "sakutuke4.xml"), QByteArray("sample"));
    }

    void startWithANotebookAddsNothingAndReplacesNothing() {
        shipStarterFiles();
        makeFolder("home/.local/share/aobaroku");
        QVERIFY(writeBytes(path("home/.local/share/aobaroku/sakumotu.xml"), "mine"));
        const DataFolder folder = store::chooseDataFolder(installed());
        QCOMPARE(open(folder), store::FolderOpening::Ready);
        QCOMPARE(readBytes(folder.path + "sakumotu.xml"), QByteArray("mine"));
        QVERIFY(!QFileInfo::exists(folder.path + "sakutuke4.xml"));
    }

    void emptyFolderMadeByHandCountsAsFirstStart() {
        shipStarterFiles();
        makeFolder("home/.local/share/aobaroku");
        const DataFolder folder = store::chooseDataFolder(installed());
        QCOMPARE(open(folder), store::FolderOpening::Ready);
        QCOMPARE(readBytes(folder.path + "sakumotu.xml"), QByteArray("crops"));
    }

    void perUserFolderThatCannotBeMadeIsReported() {
        QVERIFY(writeBytes(path("home/.local"), "a file where a folder should be"));
        const DataFolder folder = store::chooseDataFolder(installed());
        QCOMPARE(open(folder), store::FolderOpening::NotMade);
    }

    void neverMakesAGivenOrPortableFolder() {
        const DataFolder given = store::chooseDataFolder(installed(), path("missing"));
        QCOMPARE(open(given), store::FolderOpening::NotMade);
        QVERIFY(!QFileInfo::exists(path("missing")));
    }

    void shippedFoldersBesideTheExecutableComeFirst_data() {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside") << QStringList{"usr/bin/site", "usr/share/aobaroku/site"} << "usr/bin/site/";
        QTest::newRow("package") << QStringList{"usr/share/aobaroku/site"} << "usr/share/aobaroku/site/";
        QTest::newRow("neither") << QStringList{} << "usr/bin/site/";
    }
    void shippedFoldersBesideTheExecutableComeFirst() {
        QFETCH(QStringList, folders);
        QFETCH(QString, expected);
        for (const QString& folder : folders)
            makeFolder(folder);
        QCOMPARE(store::siteFolder(installed()), path(expected));
    }
};

QTEST_GUILESS_MAIN(DataFolderTest)
#include "data_folder_test.moc"
