#include "history/history.h"
#include "store/save_file.h"
#include "sync/notebook_sync.h"
#include "sync/record_kinds.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using synctest::RecordKind;

namespace {

// Another program replacing the file by a rename, as sync engines and editors do.
void replaceFromOutside(const QString& from, const QString& to) {
    QCOMPARE(QProcess::execute(QStringLiteral("mv"), {QStringLiteral("-f"), from, to}), 0);
}

RecordKind kindOf(const QString& file) {
    for (const RecordKind& kind : synctest::recordKinds())
        if (kind.file == file)
            return kind;
    return {};
}

// A notebook open on a folder: its history, and the sync in front of it, as the main window has them.
struct Open {
    explicit Open(const QString& folder) : history(folder), sync(folder, &history, hooks()) {
        store::installSaveRecorder(&history);
        sync.install();
    }
    ~Open() { store::installSaveRecorder(nullptr); }

    syncing::NotebookSync::Hooks hooks() {
        syncing::NotebookSync::Hooks h;
        h.busy = [this] { return busy; };
        h.reload = [this](const QStringList& files) { reloaded << files; };
        h.listName = [](const QString& file) { return QStringLiteral("〈") + file + QStringLiteral("〉"); };
        return h;
    }
    QString lastChangeName() const {
        return history.changes().isEmpty() ? QString() : history.changes().last().name;
    }

    bool busy = false;
    QStringList reloaded;
    history::History history;
    syncing::NotebookSync sync;
};

QString outsideName(const QString& file) {
    return QStringLiteral("ほかで変更「〈") + file + QStringLiteral("〉」");
}

} // namespace

class OutsideChangeTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void refusesSaveOverUnseenChange_data();
    void refusesSaveOverUnseenChange();
    void ownSavesAreNoOutsideChange();
    void sameBytesRewrittenAreNoChange();
    void watcherTakesOutsideChangeAndUndoBringsOursBack();
    void waitsWhileDialogIsOpen();
    void changeWhileClosedIsRecordedAndUndone();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTemporaryDir> m_elsewhere;
    QString m_folder;
    QString m_other;
};

void OutsideChangeTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_elsewhere = std::make_unique<QTemporaryDir>();
    m_folder = m_dir->path() + QLatin1Char('/');
    m_other = m_elsewhere->path() + QLatin1Char('/');
}

void OutsideChangeTest::refusesSaveOverUnseenChange_data() {
    QTest::addColumn<QString>("file");
    for (const RecordKind& kind : synctest::recordKinds())
        QTest::newRow(qPrintable(kind.file)) << kind.file;
}

// Loaded, replaced by another program, then a command saves: the outside
// version stays, the user is told, the list is read again, and the history
// can bring back the version the outside change replaced.
void OutsideChangeTest::refusesSaveOverUnseenChange() {
    QFETCH(QString, file);
    const RecordKind kind = kindOf(file);
    Open open(m_folder);
    store::RecordingSink sink;
    QVERIFY(kind.write(m_folder, QStringLiteral("ours"), sink));
    QCOMPARE(kind.names(m_folder), QStringList{QStringLiteral("ours")}); // read, as at start
    QVERIFY(kind.write(m_other, QStringLiteral("theirs"), sink));
    replaceFromOutside(m_other + file, m_folder + file);

    QVERIFY(!kind.write(m_folder, QStringLiteral("mine"), sink));
    QCOMPARE(sink.messages.size(), 1);
    QVERIFY2(sink.messages[0].contains(QStringLiteral("ほかで変更されていたため、読み込み直しました")),
             qPrintable(sink.messages[0]));
    QTRY_COMPARE(open.reloaded, QStringList{file});
    QCOMPARE(kind.names(m_folder), QStringList{QStringLiteral("theirs")});
    QCOMPARE(open.lastChangeName(), outsideName(file));

    QVERIFY(open.history.undo().done);
    QCOMPARE(kind.names(m_folder), QStringList{QStringLiteral("ours")});
}

void OutsideChangeTest::ownSavesAreNoOutsideChange() {
    const RecordKind kind = kindOf(kYoteiFileName);
    Open open(m_folder);
    store::RecordingSink sink;
    for (const char* tag : {"one", "two", "three"}) {
        QVERIFY(kind.write(m_folder, QString::fromLatin1(tag), sink));
        kind.names(m_folder);
    }
    open.sync.checkNow();
    QTest::qWait(800); // long enough for the watcher to have looked
    QVERIFY(open.reloaded.isEmpty());
    QCOMPARE(open.history.changes().size(), 3);
    QVERIFY(sink.messages.isEmpty());
}

// A sync engine that rewrites a file with the bytes it already held changed nothing.
void OutsideChangeTest::sameBytesRewrittenAreNoChange() {
    const RecordKind kind = kindOf(kCostFileName);
    Open open(m_folder);
    store::RecordingSink sink;
    QVERIFY(kind.write(m_folder, QStringLiteral("ours"), sink));
    QVERIFY(QFile::copy(m_folder + kCostFileName, m_other + kCostFileName));
    replaceFromOutside(m_other + kCostFileName, m_folder + kCostFileName);
    QVERIFY(kind.write(m_folder, QStringLiteral("mine"), sink));
    QVERIFY(sink.messages.isEmpty());
    QCOMPARE(kind.names(m_folder), QStringList{QStringLiteral("mine")});
}

void OutsideChangeTest::watcherTakesOutsideChangeAndUndoBringsOursBack() {
    const RecordKind kind = kindOf(kYoteiFileName);
    Open open(m_folder);
    store::RecordingSink sink;
    QVERIFY(kind.write(m_folder, QStringLiteral("ours"), sink));
    QVERIFY(kind.write(m_other, QStringLiteral("theirs"), sink));
    replaceFromOutside(m_other + kYoteiFileName, m_folder + kYoteiFileName);
    QTRY_COMPARE_WITH_TIMEOUT(open.reloaded, QStringList{kYoteiFileName}, 30000);
    QCOMPARE(open.lastChangeName(), outsideName(kYoteiFileName));
    QVERIFY(open.history.undo().done);
    QCOMPARE(kind.names(m_folder), QStringList{QStringLiteral("ours")});
}

void OutsideChangeTest::waitsWhileDialogIsOpen() {
    const RecordKind kind = kindOf(kOkiniFileName);
    Open open(m_folder);
    store::RecordingSink sink;
    QVERIFY(kind.write(m_folder, QStringLiteral("ours"), sink));
    QVERIFY(kind.write(m_other, QStringLiteral("theirs"), sink));
    open.busy = true;
    replaceFromOutside(m_other + kOkiniFileName, m_folder + kOkiniFileName);
    open.sync.checkNow();
    QVERIFY(open.reloaded.isEmpty());
    open.busy = false;
    QTRY_COMPARE_WITH_TIMEOUT(open.reloaded, QStringList{kOkiniFileName}, 30000);
}

// A notebook moved in while the program was closed: the next undo takes back
// exactly that, not the last command of the run before.
void OutsideChangeTest::changeWhileClosedIsRecordedAndUndone() {
    const RecordKind kind = kindOf(kCropFileName);
    store::RecordingSink sink;
    {
        Open before(m_folder);
        QVERIFY(kind.write(m_folder, QStringLiteral("ours"), sink));
        QVERIFY(kind.write(m_folder, QStringLiteral("ours2"), sink));
    }
    QVERIFY(kind.write(m_other, QStringLiteral("moved in"), sink));
    replaceFromOutside(m_other + kCropFileName, m_folder + kCropFileName);

    history::History history(m_folder);
    syncing::NotebookSync sync(
        m_folder, &history,
        {[] { return false; },
         [](const QStringList&) {},
         [](const QString& file) { return QStringLiteral("〈") + file + QStringLiteral("〉"); },
         {},
         {}});
    QCOMPARE(sync.recordChangesWhileClosed(), QStringList{kCropFileName});
    QCOMPARE(history.changes().last().name, outsideName(kCropFileName));
    QVERIFY(history.undo().done);
    QCOMPARE(kind.names(m_folder), QStringList{QStringLiteral("ours2")});
    // Started again: nothing new to record.
    history::History again(m_folder);
    syncing::NotebookSync syncAgain(m_folder, &again, {{}, {}, [](const QString& f) { return f; }, {}, {}});
    QVERIFY(syncAgain.recordChangesWhileClosed().isEmpty());
}

QTEST_GUILESS_MAIN(OutsideChangeTest)
#include "outside_change_test.moc"
