#pragma once

#include <QDate>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QVBoxLayout;
class THarvestBook;
class TListView3;
class TNikki;
class TShukaku;
struct AppContext;
struct HarvestChoices;

// The tab 収穫・日誌: the harvest log or the diary, as the radio buttons
// choose, narrowed by year and month as the purchase tab narrows purchases.
// Each command saves its file at once; the list shows the records without
// copying them.
class THarvestTab : public QWidget {
    Q_OBJECT
public:
    THarvestTab(AppContext& context, THarvestBook& book, QWidget* parent = nullptr);

    bool showsDiary() const;
    TListView3* harvestList() const { return m_harvestList; }
    TListView3* diaryList() const { return m_diaryList; }
    TListView3* list() const;
    QComboBox* years() const { return m_years; }
    QComboBox* months() const { return m_months; }
    QLabel* total() const { return m_total; }
    QRadioButton* harvestRadio() const { return m_harvestRadio; }
    QRadioButton* diaryRadio() const { return m_diaryRadio; }

    // After the book's files were read again: filters and rows as at start-up.
    void Reload();
    void RebuildYears();
    void RebuildMonths();
    void RefreshList();
    void YearChanged();
    void KindChanged();

    void AddButtonClick();
    void ChangeButtonClick();
    void ShowButtonClick();
    void DeleteButtonClick();
    void ThisDayButtonClick();
    void ChartButtonClick();

    // The date この日の記録 looks around: the checked record's, else today.
    QDate thisDayCentre() const;

private:
    void buildFilterRow(QVBoxLayout* layout);
    void buildLists(QVBoxLayout* layout);
    void buildCommandRow(QVBoxLayout* layout);
    QPushButton* commandButton(const QString& caption, const char* objectName,
                               void (THarvestTab::*handler)());
    QComboBox* makeFilter(const char* objectName);
    HarvestChoices choices() const;
    QDate newRecordDate() const;
    const void* checked() const;
    // The filters move to the record's year and month, so its row is shown.
    void follow(const QDate& date);
    void deleteHarvest(TShukaku* record);
    void deleteEntry(TNikki* entry);

    AppContext& m_context;
    THarvestBook& m_book;
    QRadioButton* m_harvestRadio;
    QRadioButton* m_diaryRadio;
    QComboBox* m_years;
    QComboBox* m_months;
    QStackedWidget* m_lists;
    TListView3* m_harvestList;
    TListView3* m_diaryList;
    QLabel* m_total;
};
