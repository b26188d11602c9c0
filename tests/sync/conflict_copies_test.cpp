#include "history/history.h"
#include "store/save_file.h"
#include "sync/conflict_copies.h"
#include "sync/notebook_sync.h"
#include "sync/record_kinds.h"

#include <QTemporaryDir>
#include <QtTest>

using synctest::RecordKind;

namespace {

RecordKind kindOf(const QString& file) {
    for (const RecordKind& kind : synctest::recordKinds())
        if (kind.file == file)
            return kind;
    return {};
}

// The file written with the records named, through its own list class.
QByteArray versionOf(const QString& file, const QStringList& names) {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    store::RecordingSink sink;
    kindOf(file).write(folder, names.first(), sink);
    // Further records: written as separate versions and merged by hand is what is
    // under test, so build them the plain way instead.
    QFile out(folder + file);
    out.open(QIODevice::ReadOnly);
    return out.readAll();
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class ConflictCopiesTest : public QObject {
    Q_OBJECT
private slots:
    void recognisesTheEnginesNames_data();
    void recognisesTheEnginesNames();
    void mergeAddsWhatTheCopyAloneHoldsAndUndoTakesItBack_data();
    void mergeAddsWhatTheCopyAloneHoldsAndUndoTakesItBack();
    void cropOfTheSameNameStaysAndIsNamed();
    void unreadableCopyIsReportedAndLeft();
    void laterLeavesEverything();
};

void ConflictCopiesTest::recognisesTheEnginesNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("syncthing") << "yotei.sync-conflict-20261210-101010-ABCDEFG.xml"
                               << "yotei.xml";
    QTest::newRow("nextcloud") << "yotei (conflicted copy 2026-12-10 101010).xml"
                               << "yotei.xml";
    QTest::newRow("dropbox") << "cost (Taro's conflicted copy 2026-12-10).xml"
                             << "cost.xml";
    QTest::newRow("dropbox plan") << "sakutuke3 (ノートPC の競合 conflicted copy 2026-12-10).xml"
                                  << "sakutuke3.xml";
    QTest::newRow("not ours") << "notes.sync-conflict-20261210-101010-ABCDEFG.xml"
                              << "";
    QTest::newRow("short device") << "yotei.sync-conflict-20261210-101010-ABC.xml"
                                  << "";
    QTest::newRow("data file") << "yotei.xml"
                               << "";
    QTest::newRow("path") << "../yotei (conflicted copy 2026-12-10 101010).xml"
                          << "";
}

void ConflictCopiesTest::recognisesTheEnginesNames() {
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(syncing::conflictCopyOf(name), file);
}

void ConflictCopiesTest::mergeAddsWhatTheCopyAloneHoldsAndUndoTakesItBack_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("copyName");
    QTest::newRow("syncthing") << kYoteiFileName << "yotei.sync-conflict-20261210-101010-ABCDEFG.xml";
    QTest::newRow("nextcloud") << kCostFileName << "cost (conflicted copy 2026-12-10 101010).xml";
    QTest::newRow("dropbox") << kOkiniFileName << "OkiniList (Taro's conflicted copy 2026-12-10).xml";
}

void ConflictCopiesTest::mergeAddsWhatTheCopyAloneHoldsAndUndoTakesItBack() {
    QFETCH(QString, file);
    QFETCH(QString, copyName);
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    history::History history(folder);
    store::installSaveRecorder(&history);
    QStringList reloaded;
    syncing::NotebookSync sync(folder, &history,
                               {[] { return false; }, [&](const QStringList& f) { reloaded << f; },
                                [](const QString& f) { return f; }, [](const QString&) { return true; },
                                [](const QString&) {}});
    sync.install();
    const RecordKind kind = kindOf(file);
    store::RecordingSink sink;
    QVERIFY(kind.write(folder, QStringLiteral("shared"), sink));
    put(folder + copyName, versionOf(file, {QStringLiteral("theirs")}));

    sync.offerConflictCopies();
    QCOMPARE(kind.names(folder), (QStringList{QStringLiteral("shared"), QStringLiteral("theirs")}));
    QCOMPARE(reloaded, QStringList{file});
    QVERIFY(!QFile::exists(folder + copyName));
    QCOMPARE(QDir(folder + QStringLiteral("history/conflicts")).entryList(QDir::Files).size(), 1);
    QCOMPARE(history.changes().last().name, QStringLiteral("競合コピーを取り込む"));

    // Offered again, the merged copy adds nothing twice.
    QVERIFY(history.undo().done);
    QCOMPARE(kind.names(folder), QStringList{QStringLiteral("shared")});
    store::installSaveRecorder(nullptr);
}

QByteArray cropsWith(const QString& kamoku) {
    QTemporaryDir dir;
    TSakumotuList crops;
    TSakumotu* crop = crops.add();
    crop->name = QStringLiteral("ナス");
    crop->kamoku = kamoku;
    crops.add()->name = kamoku + QStringLiteral("の苗");
    store::RecordingSink sink;
    crops.SaveToFile(dir.path() + QLatin1Char('/'), sink);
    QFile file(dir.path() + QLatin1Char('/') + kCropFileName);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// A crop is one per name: the copy's other ナス is named, not added beside ours.
void ConflictCopiesTest::cropOfTheSameNameStaysAndIsNamed() {
    const QByteArray ours = cropsWith(QStringLiteral("ナス科"));
    const syncing::Merged same = syncing::mergeCopy(kCropFileName, ours, ours);
    QVERIFY(same.readable);
    QCOMPARE(same.added, 0);
    const syncing::Merged differing =
        syncing::mergeCopy(kCropFileName, ours, cropsWith(QStringLiteral("なす")));
    QCOMPARE(differing.added, 1);
    QCOMPARE(differing.differing, QStringList{QStringLiteral("ナス")});
}

void ConflictCopiesTest::unreadableCopyIsReportedAndLeft() {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QString copy = QStringLiteral("yotei.sync-conflict-20261210-101010-ABCDEFG.xml");
    put(folder + copy, "<data><yotei name=");
    syncing::NotebookSync sync(folder, nullptr,
                               {{}, [](const QStringList&) {}, [](const QString& f) { return f; }, {}, {}});
    const QString report = sync.mergeConflictCopies(syncing::findConflictCopies(folder));
    QVERIFY2(report.contains(QStringLiteral("読み込めない")), qPrintable(report));
    QVERIFY(QFile::exists(folder + copy));
    QVERIFY(!QFile::exists(folder + kYoteiFileName));
}

void ConflictCopiesTest::laterLeavesEverything() {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    const QString copy = QStringLiteral("yotei (conflicted copy 2026-12-10 101010).xml");
    put(folder + copy, versionOf(kYoteiFileName, {QStringLiteral("theirs")}));
    int asked = 0;
    syncing::NotebookSync sync(folder, nullptr,
                               {{},
                                [](const QStringList&) {},
                                [](const QString& f) { return f; },
                                [&](const QString&) { return ++asked, false; },
                                {}});
    sync.offerConflictCopies();
    sync.offerConflictCopies(); // once per run
    QCOMPARE(asked, 1);
    QVERIFY(QFile::exists(folder + copy));
    QVERIFY(!QFile::exists(folder + kYoteiFileName));
}

QTEST_GUILESS_MAIN(ConflictCopiesTest)
#include "conflict_copies_test.moc"
