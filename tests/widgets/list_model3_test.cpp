#include "widgets/list_view3.h"

#include <QCollator>
#include <QLocale>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

// A record that knows whether it still lives, so that any read of a destroyed
// one through the list is counted instead of being undefined.
struct Plant {
    static QSet<const Plant*>& living() {
        static QSet<const Plant*> set;
        return set;
    }
    Plant(int id, QString name) : id(id), name(std::move(name)) { living().insert(this); }
    ~Plant() { living().remove(this); }
    Plant(const Plant&) = delete;
    Plant& operator=(const Plant&) = delete;

    int id;
    QString name;
};

const QStringList kNames = {"トマト", "なす",  "Okra", "okra",    "きゅうり",
                            "ゴーヤ", "Basil", "ねぎ", "ピーマン"};

} // namespace

// The rows of a long list through refills, sorts and deletions, driven the way
// the tabs drive it: every record leaves the list before it is destroyed, and
// the list is painted between the steps as a message box would let it be.
class ListModel3Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void checksAndSortsSurviveChurnOnThousandsOfRows();
    void sortingByTextOrdersAsTheCollatorCompares_data();
    void sortingByTextOrdersAsTheCollatorCompares();
    void multiCheckMarksFollowTheirRecordsThroughSorts();
    void removedCheckedRecordTakesItsMarkAlong();

private:
    Plant* plant(int index) const { return m_plants[size_t(index)].get(); }
    void addPlants(int count);
    void destroyPlant(Plant* plant);
    void refill(int keepEvery);
    void paint();
    void expectRowsLive();
    QList<const void*> checkedRecords() const;

    std::vector<std::unique_ptr<Plant>> m_plants;
    std::unique_ptr<TListView3> m_list;
    std::mt19937 m_dice{19};
    int m_nextId = 0;
    int m_staleReads = 0;
};

void ListModel3Test::init() {
    m_staleReads = 0;
    m_list = std::make_unique<TListView3>();
    m_list->setColumns({"name", "id"}, {120, 60});
    m_list->setTexts<Plant>([this](const Plant& p, int column) {
        if (!Plant::living().contains(&p)) {
            ++m_staleReads;
            return QString();
        }
        return column == 1 ? p.name : QString::number(p.id);
    });
    m_list->resize(300, 400);
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
    addPlants(4000);
}

void ListModel3Test::cleanup() {
    m_list->clear();
    m_plants.clear();
    m_list.reset();
    QCOMPARE(m_staleReads, 0);
}

void ListModel3Test::addPlants(int count) {
    for (int i = 0; i < count; ++i) {
        const QString name = kNames[int(m_dice() % kNames.size())] + QString::number(m_dice() % 50);
        m_plants.push_back(std::make_unique<Plant>(m_nextId++, name));
    }
}

void ListModel3Test::destroyPlant(Plant* doomed) {
    m_list->removeRecord(doomed);
    const auto at = std::find_if(m_plants.begin(), m_plants.end(),
                                 [doomed](const auto& owned) { return owned.get() == doomed; });
    m_plants.erase(at);
}

// Shows every plant whose id is no multiple of keepEvery, in list order.
void ListModel3Test::refill(int keepEvery) {
    std::vector<const Plant*> shown;
    for (const auto& owned : m_plants)
        if (owned->id % keepEvery != 0)
            shown.push_back(owned.get());
    m_list->setRecords(shown);
}

void ListModel3Test::paint() {
    m_list->grab();
    QCoreApplication::processEvents();
}

void ListModel3Test::expectRowsLive() {
    for (int i = 0; i < m_list->rowCount(); ++i)
        QVERIFY2(Plant::living().contains(static_cast<const Plant*>(m_list->row(i).data())),
                 qPrintable(QString("row %1 shows a destroyed record").arg(i)));
}

QList<const void*> ListModel3Test::checkedRecords() const {
    QList<const void*> records;
    for (int i = 0; i < m_list->rowCount(); ++i)
        if (m_list->isChecked(i))
            records << m_list->row(i).data();
    return records;
}

void ListModel3Test::checksAndSortsSurviveChurnOnThousandsOfRows() {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (int round = 0; round < 12; ++round) {
        refill(3 + round % 4);
        QCOMPARE(m_list->CheckedCount(), 0);
        // A command checks its record again after the refill.
        const Plant* chosen = static_cast<const Plant*>(m_list->row(m_list->rowCount() / 2).data());
        CheckByData(chosen, m_list.get());
        m_list->setCurrentIndex(m_list->row(7).modelIndex());
        const void* highlighted = m_list->row(7).data();

        m_list->sortRowsByText(1 + round % 2, collator);
        paint();
        QCOMPARE(m_list->CheckedCount(), 1);
        QCOMPARE(m_list->checkedRecord<Plant>(), chosen);
        QCOMPARE(m_list->currentItem().data(), highlighted);
        QVERIFY(m_list->currentItem().isSelected());

        // Deleting: the checked plant, in sight, and a handful of others, shown or not.
        m_list->scrollTo(m_list->CheckedItem().modelIndex());
        paint();
        destroyPlant(const_cast<Plant*>(chosen));
        paint();
        QCOMPARE(m_list->CheckedCount(), 0);
        QCOMPARE(m_list->CheckedIndex(), -1);
        for (int n = 0; n < 40; ++n)
            destroyPlant(plant(int(m_dice() % m_plants.size())));
        paint();
        expectRowsLive();
        QCOMPARE(m_staleReads, 0);
        addPlants(50);
    }
    QCOMPARE(m_staleReads, 0);
}

void ListModel3Test::sortingByTextOrdersAsTheCollatorCompares_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("caseSensitive");
    QTest::newRow("Japanese, case ignored") << QLocale(QLocale::Japanese, QLocale::Japan) << false;
    QTest::newRow("Japanese, case counts") << QLocale(QLocale::Japanese, QLocale::Japan) << true;
    QTest::newRow("no language, case ignored") << QLocale::c() << false;
    QTest::newRow("no language, case counts") << QLocale::c() << true;
}

void ListModel3Test::sortingByTextOrdersAsTheCollatorCompares() {
    QFETCH(QLocale, locale);
    QFETCH(bool, caseSensitive);
    refill(1000000);
    std::vector<const Plant*> expected;
    for (const auto& owned : m_plants)
        expected.push_back(owned.get());
    QCollator collator(locale);
    collator.setCaseSensitivity(caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    std::stable_sort(expected.begin(), expected.end(), [&collator](const Plant* a, const Plant* b) {
        return collator.compare(a->name, b->name) < 0;
    });
    m_list->sortRowsByText(1, collator);
    for (int i = 0; i < m_list->rowCount(); ++i)
        QCOMPARE(m_list->row(i).data(), static_cast<const void*>(expected[size_t(i)]));
}

void ListModel3Test::multiCheckMarksFollowTheirRecordsThroughSorts() {
    m_list->setMultiCheck(true);
    refill(1000000);
    QSet<const void*> marked;
    for (int i = 0; i < m_list->rowCount(); i += 97) {
        m_list->CheckItem(i);
        marked.insert(m_list->row(i).data());
    }
    m_list->sortRows<Plant>([](const Plant& a, const Plant& b) { return a.id > b.id; });
    const QList<const void*> after = checkedRecords();
    QCOMPARE(QSet<const void*>(after.begin(), after.end()), marked);
    QCOMPARE(m_list->CheckedCount(), int(marked.size()));
    QCOMPARE(m_list->row(0).data(), static_cast<const void*>(m_plants.back().get()));
    QCOMPARE(m_list->CheckedItem().data(), after.first());
}

void ListModel3Test::removedCheckedRecordTakesItsMarkAlong() {
    refill(1000000);
    m_list->CheckItem(10);
    Plant* checked = plant(10);
    const int rows = m_list->rowCount();
    destroyPlant(checked);
    QCOMPARE(m_list->rowCount(), rows - 1);
    QCOMPARE(m_list->CheckedCount(), 0);
    addPlants(1);
    refill(1000000);
    CheckByData(m_plants.back().get(), m_list.get());
    QCOMPARE(m_list->CheckedIndex(), m_list->rowCount() - 1);
    QCOMPARE(m_list->CheckedCount(), 1);
}

QTEST_MAIN(ListModel3Test)
#include "list_model3_test.moc"
