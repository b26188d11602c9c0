#include "store/save_file.h"
#include "store/xml_store.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

QStringList asideCopies(const QString& folder) {
    return QDir(folder).entryList({"*.unreadable-*"}, QDir::Files);
}

} // namespace

class SaveFailuresTest : public QObject {
    Q_OBJECT
private slots:
    void failsWhenFolderIsMissing() {
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(store::SaveError, store::saveBytes(dir.filePath("missing/x.xml"), "abc"));
        QVERIFY(!QFile::exists(dir.filePath("missing")));
    }

    void failsWhenFolderIsAFile() {
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath("data"), "not a folder"));
        QVERIFY_THROWS_EXCEPTION(store::SaveError, store::saveBytes(dir.filePath("data/x.xml"), "abc"));
        QCOMPARE(readBytes(dir.filePath("data")), QByteArray("not a folder"));
    }

    void replacesOldFileWhole() {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.xml");
        QVERIFY(writeBytes(path, "old"));
        store::saveBytes(path, "new contents");
        QCOMPARE(readBytes(path), QByteArray("new contents"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"x.xml"}));
    }

    // A write cut short by the file size limit must leave the old file byte for byte.
    void keepsOldFileWhenWriteIsCutShort() {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.xml");
        const QByteArray old = "old contents that must survive";
        QVERIFY(writeBytes(path, old));
        const pid_t child = fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &limit);
            try {
                store::saveBytes(path, QByteArray(100000, 'x'));
            } catch (const store::SaveError&) {
                _exit(42);
            }
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 42);
        QCOMPARE(readBytes(path), old);
    }

    void copiesUnreadableFileAsideBeforeFirstOverwrite() {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.xml");
        const QByteArray broken = "<data><rec a=\"1\"><broken";
        QVERIFY(writeBytes(path, broken));
        QVERIFY(store::XmlDocument::load(path).unparsable());
        store::saveBytes(path, "first");
        const QStringList copies = asideCopies(dir.path());
        QCOMPARE(copies.size(), 1);
        QVERIFY(copies.first().startsWith("x.xml.unreadable-"));
        QCOMPARE(readBytes(dir.filePath(copies.first())), broken);
        store::saveBytes(path, "second");
        QCOMPARE(asideCopies(dir.path()).size(), 1);
        QCOMPARE(readBytes(path), QByteArray("second"));
    }

    void noCopyForReadableFiles() {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.xml");
        QVERIFY(writeBytes(path, "<?xml version=\"1.0\"?><data/>"));
        QVERIFY(!store::XmlDocument::load(path).unparsable());
        store::saveBytes(path, "new");
        QVERIFY(asideCopies(dir.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(SaveFailuresTest)
#include "save_failures_test.moc"
