#include "widgets/dialog_support.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QtTest>

// Every drop-down of the dialogs and tabs chooses by text the same way; only
// whether the change handlers hear of it differs.
class ChoicesTest : public QObject {
    Q_OBJECT
private slots:
    void choosesTheExactTextOrTheFirstEntry_data() {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("chosen");
        QTest::newRow("exact") << QStringList{"1", "2", "12"} << "12" << 2;
        QTest::newRow("first of two equal") << QStringList{"畝A", "畝B", "畝A"} << "畝A" << 0;
        QTest::newRow("no prefix match") << QStringList{"1", "12"} << "1 " << 0;
        QTest::newRow("case counts") << QStringList{"a", "A"} << "A" << 1;
        QTest::newRow("full-width is another text") << QStringList{"1", "2"} << "２" << 0;
        QTest::newRow("empty text") << QStringList{"1", "2"} << "" << 0;
        QTest::newRow("empty list") << QStringList{} << "1" << -1;
    }
    void choosesTheExactTextOrTheFirstEntry() {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(int, chosen);
        for (const bool quietly : {false, true}) {
            QComboBox box;
            box.addItems(entries);
            box.setCurrentIndex(-1);
            QSignalSpy heard(&box, &QComboBox::currentIndexChanged);
            if (quietly)
                choices::selectByTextQuietly(&box, text);
            else
                choices::selectByText(&box, text);
            QCOMPARE(box.currentIndex(), chosen);
            QCOMPARE(heard.count(), quietly || chosen < 0 ? 0 : 1);
        }
    }

    void fillingChoosesNothingAndTellsNobody() {
        QComboBox box;
        box.addItems({"2025", "2026"});
        box.setCurrentIndex(1);
        QSignalSpy heard(&box, &QComboBox::currentIndexChanged);
        choices::fill(&box, {"すべて", "2026"});
        QCOMPARE(box.count(), 2);
        QCOMPARE(box.currentIndex(), -1);
        QCOMPARE(heard.count(), 0);
    }
};

QTEST_MAIN(ChoicesTest)
#include "choices_test.moc"
