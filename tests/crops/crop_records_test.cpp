#include "crops/crop_records.h"
#include "store/messages.h"
#include "support/files.h"
#include "support/messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::folderOf;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const QByteArray kHeader = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\r\n";

QByteArray cropXml(const QByteArray& name, const QByteArray& extra = {}, bool withMemo = true) {
    return "<sakumotu name=\"" + name +
           "\" kamoku=\"k\"><okiniiri1>v1</okiniiri1><okiniiri2/>"
           "<joukan>60</joukan><kabukan1>45</kabukan1><kabukan2/>" +
           extra + (withMemo ? "<memo>m</memo>" : "") + "</sakumotu>";
}

} // namespace

class CropRecordsTest : public QObject {
    Q_OBJECT
private slots:
    void spacingText_data() {
        QTest::addColumn<QString>("joukan");
        QTest::addColumn<QString>("kabukan1");
        QTest::addColumn<QString>("kabukan2");
        QTest::addColumn<QString>("text");
        QTest::newRow("all three") << "60"
                                   << "45"
                                   << "30" << QStringLiteral("条間60cmで、株間45（または30）cm");
        QTest::newRow("no alternative") << "60"
                                        << "45"
                                        << "" << QStringLiteral("株間45cm");
        QTest::newRow("no row spacing") << ""
                                        << "45"
                                        << "30" << QStringLiteral("株間45（または30）cm");
        QTest::newRow("no plant spacing") << "60"
                                          << ""
                                          << "30" << QString();
        QTest::newRow("nothing") << ""
                                 << ""
                                 << "" << QString();
    }
    void spacingText() {
        QFETCH(QString, joukan);
        QFETCH(QString, kabukan1);
        QFETCH(QString, kabukan2);
        QFETCH(QString, text);
        TSakumotu crop;
        crop.joukan = joukan;
        crop.kabukan1 = kabukan1;
        crop.kabukan2 = kabukan2;
        QCOMPARE(crop.SpacingText(), text);
    }

    void varietiesText_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("text");
        QTest::newRow("both") << "千両2号"
                              << "黒陽" << QStringLiteral("千両2号、黒陽");
        QTest::newRow("first") << "千両2号"
                               << "" << QStringLiteral("千両2号");
        QTest::newRow("second") << ""
                                << "黒陽" << QStringLiteral("黒陽");
        QTest::newRow("none") << ""
                              << "" << QString();
    }
    void varietiesText() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, text);
        TSakumotu crop;
        crop.okiniiri1 = first;
        crop.okiniiri2 = second;
        QCOMPARE(crop.VarietiesText(), text);
    }

    void periodTexts() {
        TJikiList periods;
        QCOMPARE(PeriodsText(periods), QString());
        TJiki* a = periods.add();
        a->st = QStringLiteral("3月");
        a->ed = QStringLiteral("4月");
        periods.add()->st = QStringLiteral("9月");
        QCOMPARE(PeriodText(*periods.at(1)), QStringLiteral("9月～"));
        QCOMPARE(PeriodsText(periods), QStringLiteral("3月～4月、9月～"));

        TJikiList copy;
        copy.add()->st = QStringLiteral("old");
        copy.CopyFrom(periods);
        QCOMPARE(copy.count(), 2);
        QCOMPARE(PeriodsText(copy), PeriodsText(periods));
        QVERIFY(copy.at(0) != periods.at(0));
    }

    void findByNameIsExactAndSeesTheDummy() {
        TSakumotuList list;
        list.add()->name = kDummyCropName;
        TSakumotu* nasu = list.add();
        nasu->name = QStringLiteral("ナス");
        QCOMPARE(list.FindByName(QStringLiteral("ナス")), nasu);
        QCOMPARE(list.FindByName(QStringLiteral("なす")), nullptr);
        QCOMPARE(list.FindByName(kDummyCropName), list.at(0));
        QCOMPARE(list.FindOtherByName(QStringLiteral("ナス"), nasu), nullptr);
        QCOMPARE(list.FindOtherByName(QStringLiteral("ナス"), list.at(0)), nasu);
    }

    void savesEveryFieldInOrderWithoutTheDummy() {
        QTemporaryDir dir;
        TSakumotuList list;
        list.add()->name = kDummyCropName;
        TSakumotu* tomato = list.add();
        tomato->name = QStringLiteral("トマト");
        tomato->kamoku = QStringLiteral("ナス科ナス属");
        tomato->okiniiri1 = QStringLiteral("桃太郎");
        tomato->joukan = "60";
        tomato->kabukan1 = "45";
        TJiki* period = tomato->jiki.add();
        period->st = QStringLiteral("4月下旬");
        period->ed = QStringLiteral("5月上旬");
        tomato->memo = QStringList({"a", "", "b"});
        list.add()->name = QStringLiteral("ナス");
        store::RecordingSink sink;
        QVERIFY(list.SaveToFile(folderOf(dir), sink));
        QVERIFY(sink.messages.isEmpty());

        const QByteArray bytes = readBytes(dir.filePath("sakumotu.xml"));
        QCOMPARE(bytes.count("<sakumotu "), 2);
        // Attributes hold the code page's own bytes, as the Windows copy writes them.
        QVERIFY(bytes.contains("name=\"\x83\x67\x83\x7d\x83\x67\""));
        const QByteArray first = bytes.mid(bytes.indexOf("<sakumotu "));
        const QStringList order = {"name=",      "kamoku=",   "<okiniiri1>", "<okiniiri2", "<joukan>",
                                   "<kabukan1>", "<kabukan2", "<jiki st=",   "<memo>"};
        qsizetype at = 0;
        for (const QString& part : order) {
            const qsizetype next = first.indexOf(part.toLatin1(), at);
            QVERIFY2(next >= at, qPrintable(part));
            at = next;
        }
        QVERIFY(bytes.contains("ed=\""));

        TSakumotuList back;
        QVERIFY(back.LoadFromFile(folderOf(dir), sink));
        QCOMPARE(back.count(), 2);
        const TSakumotu* t = back.at(0);
        QCOMPARE(t->name, tomato->name);
        QCOMPARE(t->kamoku, tomato->kamoku);
        QCOMPARE(t->okiniiri1, tomato->okiniiri1);
        QCOMPARE(t->okiniiri2, QString());
        QCOMPARE(t->joukan, QStringLiteral("60"));
        QCOMPARE(t->kabukan1, QStringLiteral("45"));
        QCOMPARE(PeriodsText(t->jiki), QStringLiteral("4月下旬～5月上旬"));
        QCOMPARE(t->memo, QStringList({"a", "", "b"}));
        QVERIFY(back.at(1)->memo.isEmpty());
    }

    void readsFileWrittenByHandInCodePage932() {
        QTemporaryDir dir;
        // ナス with ～ and ① in the memo, raw CR LF, as the Windows copy writes it.
        writeBytes(
            dir.filePath("sakumotu.xml"),
            kHeader +
                "<data><sakumotu name=\"\x83\x69\x83\x58\" kamoku=\"\x83\x69\x83\x58\x89\xc8\">"
                "<okiniiri1>\x90\xe7\x97\xbc\x32\x8d\x86</okiniiri1><okiniiri2></okiniiri2>"
                "<joukan></joukan><kabukan1>60</kabukan1><kabukan2></kabukan2>"
                "<jiki st=\"5\x8c\x8e\" ed=\"\"/><memo>\x87\x40\r\n\x81\x60\r\n</memo></sakumotu></data>");
        TSakumotuList list;
        store::RecordingSink sink;
        QVERIFY(list.LoadFromFile(folderOf(dir), sink));
        QVERIFY(sink.messages.isEmpty());
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.at(0)->name, QStringLiteral("ナス"));
        QCOMPARE(list.at(0)->kamoku, QStringLiteral("ナス科"));
        QCOMPARE(list.at(0)->okiniiri1, QStringLiteral("千両2号"));
        QCOMPARE(PeriodsText(list.at(0)->jiki), QStringLiteral("5月～"));
        QCOMPARE(list.at(0)->memo, QStringList({"①", "～"}));
    }

    void missingFileLoadsEmptyWithoutMessage() {
        QTemporaryDir dir;
        TSakumotuList list;
        store::RecordingSink sink;
        QVERIFY(list.LoadFromFile(folderOf(dir), sink));
        QCOMPARE(list.count(), 0);
        QVERIFY(sink.messages.isEmpty());
    }

    void keepsCropsReadBeforeABrokenOne_data() {
        QTest::addColumn<QByteArray>("second");
        QTest::newRow("no memo") << cropXml("b", {}, false);
        QTest::newRow("no kamoku") << QByteArray("<sakumotu name=\"b\"><okiniiri1/><okiniiri2/><joukan/>"
                                                 "<kabukan1/><kabukan2/><memo/></sakumotu>");
        QTest::newRow("period without ed") << cropXml("b", "<jiki st=\"1\"/>");
    }
    void keepsCropsReadBeforeABrokenOne() {
        QFETCH(QByteArray, second);
        QTemporaryDir dir;
        writeBytes(dir.filePath("sakumotu.xml"),
                   kHeader + "<data>" + cropXml("a") + second + cropXml("c") + "</data>");
        TSakumotuList list;
        store::RecordingSink sink;
        QVERIFY(!list.LoadFromFile(folderOf(dir), sink));
        QCOMPARE(list.count(), 1);
        QCOMPARE(list.at(0)->name, QStringLiteral("a"));
        QCOMPARE(testsupport::firstLines(sink.messages), QStringList({QString::fromUtf8(msg::LoadFailed)}));
    }

    void unparsableFileGivesTheLoadMessage() {
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath("sakumotu.xml"), kHeader + "<data>" + cropXml("a")));
        TSakumotuList list;
        store::RecordingSink sink;
        QVERIFY(!list.LoadFromFile(folderOf(dir), sink));
        QCOMPARE(list.count(), 0);
        QCOMPARE(testsupport::firstLines(sink.messages), QStringList({QString::fromUtf8(msg::LoadFailed)}));
    }

    void loadsEveryPeriodAndIgnoresUnknownNodes() {
        QTemporaryDir dir;
        QByteArray periods;
        for (int i = 1; i <= 7; ++i)
            periods += "<jiki st=\"" + QByteArray::number(i) + "\" ed=\"\" extra=\"x\"/>";
        writeBytes(dir.filePath("sakumotu.xml"),
                   kHeader + "<data><other/>" + cropXml("a", periods + "<x/>") + "</data>");
        TSakumotuList list;
        store::RecordingSink sink;
        QVERIFY(list.LoadFromFile(folderOf(dir), sink));
        QCOMPARE(list.at(0)->jiki.count(), 7);
        QCOMPARE(list.at(0)->jiki.at(6)->st, QStringLiteral("7"));
    }

    void failedSaveKeepsFileAndListAndSaysSo() {
        QTemporaryDir dir;
        TSakumotuList list;
        list.add()->name = QStringLiteral("a");
        store::RecordingSink sink;
        QVERIFY(!list.SaveToFile(dir.filePath("missing") + '/', sink));
        QCOMPARE(sink.messages, QStringList({QString::fromUtf8(msg::SaveFailed)}));
        QCOMPARE(list.count(), 1);

        QVERIFY(writeBytes(dir.filePath("data"), "a file, not a folder"));
        QVERIFY(!list.SaveToFile(dir.filePath("data") + '/', sink));
        QCOMPARE(readBytes(dir.filePath("data")), QByteArray("a file, not a folder"));
    }

    void reloadingABrokenFileThenSavingKeepsACopy() {
        QTemporaryDir dir;
        const QByteArray broken = kHeader + "<data>" + cropXml("a") + cropXml("b", {}, false) + "</data>";
        QVERIFY(writeBytes(dir.filePath("sakumotu.xml"), broken));
        TSakumotuList list;
        store::RecordingSink sink;
        list.LoadFromFile(folderOf(dir), sink);
        QVERIFY(list.SaveToFile(folderOf(dir), sink));
        const QStringList copies = QDir(dir.path()).entryList({"sakumotu.xml.unreadable-*"});
        QCOMPARE(copies.size(), 1);
        QCOMPARE(readBytes(dir.filePath(copies.first())), broken);
    }
};

QTEST_GUILESS_MAIN(CropRecordsTest)
#include "crop_records_test.moc"
