#include "schedule/task_records.h"
#include "store/messages.h"
#include "store/xml_store.h"
#include "support/files.h"
#include "support/messages.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using testsupport::folderOf;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// A schedule file as the program writes it, with the given body inside the root.
QByteArray scheduleFile(const QString& body) {
    const QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<data>") + body +
                         QStringLiteral("</data>\n");
    return text.toUtf8();
}

TYotei* addTask(TYoteiList& list, const QString& name, const QString& tuki, const QString& shuu,
                const QString& state = QString(), const QStringList& note = {}) {
    TYotei* task = list.add();
    task->name = name;
    task->tuki = tuki;
    task->shuu = shuu;
    task->state = state;
    task->note = note;
    return task;
}

} // namespace

class TaskFileTest : public QObject {
    Q_OBJECT

private slots:
    void missingFileGivesEmptyListQuietly();
    void damagedFileLoadsEmptyWithTheMessage_data();
    void damagedFileLoadsEmptyWithTheMessage();
    void unparsableFileIsKeptAsideBeforeOverwrite();
    void rootWithoutTasksGivesEmptyList();
    void missingAttributeKeepsEarlierTasks_data();
    void missingAttributeKeepsEarlierTasks();
    void readsAttributesAndNoteLines();
    void splitsNoteAtEveryKindOfBreak();
    void savesAttributesInOrder();
    void savesDeclarationInShiftJis();
    void savesEmptyListAsEmptyRoot();
    void addedStateIsNotStored();
    void doneStateIsStored();
    void notesRoundTrip_data();
    void notesRoundTrip();
    void notesEndEveryLineWithCrLf();
    void keepsListOrderAndSpecialCharacters();
    void saveIntoMissingFolderFails();
    void saveWhereFolderIsAFileFails();
};

void TaskFileTest::missingFileGivesEmptyListQuietly() {
    QTemporaryDir dir;
    TYoteiList list;
    addTask(list, "old", "1", "1");
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(list.count(), 0);
    QVERIFY(sink.messages.isEmpty());
}

void TaskFileTest::damagedFileLoadsEmptyWithTheMessage_data() {
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("unclosed root") << QByteArray("<data><yotei name=\"a\" tuki=\"1\" shuu=\"1\" state=\"\">");
    QTest::newRow("not xml") << QByteArray("this is not a schedule <<<");
    QTest::newRow("declaration only") << QByteArray("<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n");
}

// A schedule that cannot be read must not look like an empty one.
void TaskFileTest::damagedFileLoadsEmptyWithTheMessage() {
    QFETCH(QByteArray, bytes);

    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(kYoteiFileName), bytes));
    TYoteiList list;
    addTask(list, "old", "1", "1");
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(list.count(), 0);
    QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailed)});
}

void TaskFileTest::unparsableFileIsKeptAsideBeforeOverwrite() {
    QTemporaryDir dir;
    const QByteArray broken = "this is not a schedule <<<";
    QVERIFY(writeBytes(dir.filePath(kYoteiFileName), broken));
    TYoteiList list;
    store::RecordingSink sink;
    list.LoadFromFile(folderOf(dir), sink);
    QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailed)});
    addTask(list, "new", "4", "1");
    QVERIFY(list.SaveToFile(folderOf(dir), sink));

    const QStringList copies = QDir(dir.path()).entryList({kYoteiFileName + QStringLiteral(".unreadable-*")});
    QCOMPARE(copies.size(), 1);
    QCOMPARE(readBytes(dir.filePath(copies.first())), broken);
    TYoteiList reread;
    QVERIFY(reread.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(reread.count(), 1);
    QCOMPARE(sink.messages.size(), 1);
}

void TaskFileTest::rootWithoutTasksGivesEmptyList() {
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(kYoteiFileName), scheduleFile(QString())));
    TYoteiList list;
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(list.count(), 0);
    QVERIFY(sink.messages.isEmpty());
}

void TaskFileTest::missingAttributeKeepsEarlierTasks_data() {
    QTest::addColumn<QString>("broken");

    QTest::newRow("no name") << "<yotei tuki=\"5\" shuu=\"1\" state=\"\"/>";
    QTest::newRow("no state") << "<yotei name=\"c\" tuki=\"5\" shuu=\"1\"/>";
    QTest::newRow("no tuki") << "<yotei name=\"c\" shuu=\"1\" state=\"\"/>";
    QTest::newRow("no shuu") << "<yotei name=\"c\" tuki=\"5\" state=\"\"/>";
}

void TaskFileTest::missingAttributeKeepsEarlierTasks() {
    QFETCH(QString, broken);

    QTemporaryDir dir;
    const QString good = QStringLiteral("<yotei name=\"a\" tuki=\"4\" shuu=\"1\" state=\"\">n</yotei>"
                                        "<yotei name=\"b\" tuki=\"4\" shuu=\"2\" state=\"完了\"/>");
    const QString later = QStringLiteral("<yotei name=\"d\" tuki=\"6\" shuu=\"1\" state=\"\"/>");
    QVERIFY(writeBytes(dir.filePath(kYoteiFileName), scheduleFile(good + broken + later)));
    TYoteiList list;
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailed)});
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.at(0)->name, QStringLiteral("a"));
    QCOMPARE(list.at(1)->name, QStringLiteral("b"));
}

void TaskFileTest::readsAttributesAndNoteLines() {
    QTemporaryDir dir;
    writeBytes(dir.filePath(kYoteiFileName),
               scheduleFile(
                   QStringLiteral("<yotei name=\"種まき\" tuki=\"10\" shuu=\"3\" state=\"完了\">"
                                  "トマト&#13;\nナス&#13;\n</yotei>"
                                  "<yotei name=\"追肥－１回目\" tuki=\"x\" shuu=\"\" state=\"\"></yotei>")));
    TYoteiList list;
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(list.count(), 2);
    const TYotei* first = list.at(0);
    QCOMPARE(first->name, QStringLiteral("種まき"));
    QCOMPARE(first->tuki, QStringLiteral("10"));
    QCOMPARE(first->shuu, QStringLiteral("3"));
    QCOMPARE(first->state, kYoteiDone);
    QCOMPARE(first->note, (QStringList{"トマト", "ナス"}));
    const TYotei* second = list.at(1);
    QCOMPARE(second->name, QStringLiteral("追肥－１回目"));
    QCOMPARE(second->tuki, QStringLiteral("x"));
    QCOMPARE(second->shuu, QString());
    QVERIFY(second->note.isEmpty());
}

void TaskFileTest::splitsNoteAtEveryKindOfBreak() {
    QTemporaryDir dir;
    writeBytes(dir.filePath(kYoteiFileName),
               scheduleFile(QStringLiteral("<yotei name=\"a\" tuki=\"1\" shuu=\"1\" state=\"\">"
                                           "one&#13;\ntwo\nthree&#13;four\n</yotei>")));
    TYoteiList list;
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(list.at(0)->note, (QStringList{"one", "two", "three", "four"}));
}

void TaskFileTest::savesAttributesInOrder() {
    QTemporaryDir dir;
    TYoteiList list;
    addTask(list, "種を購入", "4", "1", kYoteiDone, {"トマト"});
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(folderOf(dir), sink));
    const QByteArray bytes = readBytes(dir.filePath(kYoteiFileName));
    const int name = bytes.indexOf(" name=");
    const int tuki = bytes.indexOf(" tuki=");
    const int shuu = bytes.indexOf(" shuu=");
    const int state = bytes.indexOf(" state=");
    QVERIFY(name > 0);
    QVERIFY(name < tuki && tuki < shuu && shuu < state);
}

void TaskFileTest::savesDeclarationInShiftJis() {
    QTemporaryDir dir;
    TYoteiList list;
    addTask(list, "種まき", "4", "1");
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(folderOf(dir), sink));
    const QByteArray bytes = readBytes(dir.filePath(kYoteiFileName));
    QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>"));
    // 種まき in Shift-JIS: 8E ED 82 DC 82 AB
    QVERIFY(bytes.contains(QByteArray::fromHex("8eed82dc82ab")));
}

void TaskFileTest::savesEmptyListAsEmptyRoot() {
    QTemporaryDir dir;
    TYoteiList list;
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(folderOf(dir), sink));
    const store::XmlDocument doc = store::XmlDocument::load(dir.filePath(kYoteiFileName));
    QVERIFY(!doc.unparsable());
    QCOMPARE(doc.select("/data").size(), 1);
    QCOMPARE(doc.select("/data/*").size(), 0);
    TYoteiList reread;
    QVERIFY(reread.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(reread.count(), 0);
    QVERIFY(sink.messages.isEmpty());
}

void TaskFileTest::addedStateIsNotStored() {
    QTemporaryDir dir;
    TYoteiList list;
    TYotei* task = addTask(list, "new", "5", "1", kYoteiAdded);
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(folderOf(dir), sink));
    QCOMPARE(task->state, kYoteiAdded);
    const QByteArray bytes = readBytes(dir.filePath(kYoteiFileName));
    QVERIFY(bytes.contains("state=\"\""));
    TYoteiList reread;
    QVERIFY(reread.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(reread.count(), 1);
    QCOMPARE(reread.at(0)->state, QString());
}

void TaskFileTest::doneStateIsStored() {
    QTemporaryDir dir;
    TYoteiList list;
    addTask(list, "done", "5", "1", kYoteiDone);
    addTask(list, "odd", "5", "2", QStringLiteral("何か"));
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(folderOf(dir), sink));
    TYoteiList reread;
    QVERIFY(reread.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(reread.at(0)->state, kYoteiDone);
    QCOMPARE(reread.at(1)->state, QString());
}

void TaskFileTest::notesRoundTrip_data() {
    QTest::addColumn<QStringList>("note");

    QTest::newRow("no line") << QStringList();
    QTest::newRow("one line") << QStringList{"トマト"};
    QTest::newRow("two lines") << QStringList{"トマト", "ナス"};
    QTest::newRow("merged layout") << QStringList{"c", "-----", "b", "", "-----", "a", ""};
    QTest::newRow("one empty line") << QStringList{""};
    QTest::newRow("inner empty line") << QStringList{"a", "", "b"};
}

void TaskFileTest::notesRoundTrip() {
    QFETCH(QStringList, note);

    QTemporaryDir dir;
    TYoteiList list;
    addTask(list, "t", "4", "2", QString(), note);
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(folderOf(dir), sink));
    TYoteiList reread;
    QVERIFY(reread.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(reread.count(), 1);
    QCOMPARE(reread.at(0)->note, note);
}

void TaskFileTest::notesEndEveryLineWithCrLf() {
    QTemporaryDir dir;
    TYoteiList list;
    addTask(list, "two", "4", "2", QString(), {"トマト", "ナス"});
    addTask(list, "none", "4", "3");
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(folderOf(dir), sink));
    const store::XmlDocument doc = store::XmlDocument::load(dir.filePath(kYoteiFileName));
    const QList<store::XmlNode> nodes = doc.select("/data/yotei");
    QCOMPARE(nodes.size(), 2);
    QCOMPARE(nodes[0].text("."), QStringLiteral("トマト\r\nナス\r\n"));
    QCOMPARE(nodes[1].text("."), QString());
}

void TaskFileTest::keepsListOrderAndSpecialCharacters() {
    QTemporaryDir dir;
    TYoteiList list;
    addTask(list, "z <&> \"q\" 'a'", "12", "5", QString(), {"<b>&amp;</b>"});
    addTask(list, "a", "1", "1");
    addTask(list, "畑の準備－石灰", "3", "2", QString(), {"苦土石灰 100g/㎡"});
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(folderOf(dir), sink));
    TYoteiList reread;
    QVERIFY(reread.LoadFromFile(folderOf(dir), sink));
    QCOMPARE(reread.count(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(reread.at(i)->name, list.at(i)->name);
        QCOMPARE(reread.at(i)->tuki, list.at(i)->tuki);
        QCOMPARE(reread.at(i)->shuu, list.at(i)->shuu);
        QCOMPARE(reread.at(i)->note, list.at(i)->note);
    }
    QVERIFY(sink.messages.isEmpty());
}

void TaskFileTest::saveIntoMissingFolderFails() {
    QTemporaryDir dir;
    TYoteiList list;
    addTask(list, "t", "4", "2", kYoteiAdded, {"n"});
    store::RecordingSink sink;
    QVERIFY(!list.SaveToFile(dir.filePath(QStringLiteral("missing")) + QLatin1Char('/'), sink));
    QCOMPARE(sink.messages, QStringList{QString::fromUtf8(msg::SaveFailed)});
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->state, kYoteiAdded);
    QCOMPARE(list.at(0)->note, QStringList{"n"});
}

void TaskFileTest::saveWhereFolderIsAFileFails() {
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("plain")), "x"));
    TYoteiList list;
    addTask(list, "t", "4", "2");
    store::RecordingSink sink;
    QVERIFY(!list.SaveToFile(dir.filePath(QStringLiteral("plain")) + QLatin1Char('/'), sink));
    QCOMPARE(sink.messages, QStringList{QString::fromUtf8(msg::SaveFailed)});
    QCOMPARE(list.count(), 1);
}

QTEST_GUILESS_MAIN(TaskFileTest)
#include "task_file_test.moc"
