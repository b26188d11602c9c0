#include "app/browser_launcher.h"
#include "app/qt_platform.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QUrl kAddress(QStringLiteral("https://example.org/野菜/"));

} // namespace

// Links go to the desktop's browser through xdg-open; a fake one first on the
// PATH plays the desktop.
class BrowserLaunchTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_bin;
    QByteArray m_path;

    // An xdg-open that notes its argument, waits for the file "go" when told
    // to, and ends with the exit status given.
    void fakeXdgOpen(int exitStatus, bool waitForGo = false) {
        QFile script(m_bin.filePath(QStringLiteral("xdg-open")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/argument\"\n");
        if (waitForGo)
            script.write("while [ ! -e \"$(dirname \"$0\")/go\" ]; do sleep 0.02; done\n");
        script.write("exit " + QByteArray::number(exitStatus) + "\n");
        script.close();
        QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    }

    static QMessageBox* shownBox() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
                return box;
        return nullptr;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_bin.isValid());
        m_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_path);
    }
    void cleanupTestCase() { qputenv("PATH", m_path); }
    void cleanup() {
        QFile::remove(m_bin.filePath(QStringLiteral("xdg-open")));
        QFile::remove(m_bin.filePath(QStringLiteral("go")));
        delete shownBox();
    }

    void exitStatusDecides_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("opened");
        QTest::newRow("opened") << 0 << true;
        QTest::newRow("no browser") << 3 << false;
        QTest::newRow("browser failed") << 4 << false;
    }

    void exitStatusDecides() {
        QFETCH(int, status);
        QFETCH(bool, opened);
        fakeXdgOpen(status);
        BrowserLauncher launcher;
        QSignalSpy done(&launcher, &BrowserLauncher::opened);
        QSignalSpy failed(&launcher, &BrowserLauncher::failed);
        launcher.open(kAddress);
        QTRY_COMPARE(done.count() + failed.count(), 1);
        QCOMPARE(done.count(), opened ? 1 : 0);
        QFile argument(m_bin.filePath(QStringLiteral("argument")));
        QVERIFY(argument.open(QIODevice::ReadOnly));
        QCOMPARE(QUrl::fromEncoded(argument.readAll()), kAddress);
    }

    void missingXdgOpenFails() {
        BrowserLauncher launcher;
        QSignalSpy failed(&launcher, &BrowserLauncher::failed);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_bin.path()));
        launcher.open(kAddress);
        qputenv("PATH", path);
        QTRY_COMPARE(failed.count(), 1);
        QCOMPARE(failed.first().first().toUrl(), kAddress);
    }

    // The window is not held while xdg-open runs; its failure is told when it
    // comes, with the address on its own line, selectable to copy.
    void failureIsToldWithoutBlockingTheWindow() {
        fakeXdgOpen(3, true);
        QtPlatform platform(m_bin.path() + QLatin1Char('/'));
        platform.openUrl(kAddress);
        QVERIFY(!shownBox());
        QFile go(m_bin.filePath(QStringLiteral("go")));
        QVERIFY(go.open(QIODevice::WriteOnly));
        go.close();
        QTRY_VERIFY(shownBox());
        QMessageBox* box = shownBox();
        QCOMPARE(box->text(), QStringLiteral("ブラウザーを開けませんでした。\n") + kAddress.toString());
        QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByMouse);
    }
};

QTEST_MAIN(BrowserLaunchTest)
#include "browser_launch_test.moc"
