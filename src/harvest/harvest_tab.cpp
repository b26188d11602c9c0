#include "harvest/harvest_tab.h"

#include "harvest/diary_dialog.h"
#include "harvest/harvest_book.h"
#include "harvest/harvest_choices.h"
#include "harvest/harvest_dialog.h"
#include "harvest/this_day_window.h"
#include "harvest/yield_totals.h"
#include "harvest/yield_window.h"
#include "history/command_scope.h"
#include "widgets/app_context.h"
#include "widgets/dialog_support.h"
#include "widgets/list_view3.h"
#include "widgets/platform.h"
#include "widgets/tab_layout.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

const QString kChooseRecord = QStringLiteral("記録を選択してください。");

} // namespace

THarvestTab::THarvestTab(AppContext& context, THarvestBook& book, QWidget* parent)
    : QWidget(parent), m_context(context), m_book(book) {
    setObjectName(QStringLiteral("harvestTab"));
    auto* layout = new QVBoxLayout(this);
    QLabel* hint =
        tabs::hint(QStringLiteral("収穫した量と、畑でしたことを日付ごとに「追加」ボタンから記録します。"
                                  "「この日の記録」で前の年の同じころを振り返れます。"),
                   this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    buildFilterRow(layout);
    buildLists(layout);
    buildCommandRow(layout);
}

QComboBox* THarvestTab::makeFilter(const char* objectName) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(false);
    box->setMaxVisibleItems(20);
    box->setMinimumWidth(80);
    box->addItem(kHarvestAllEntries);
    return box;
}

QPushButton* THarvestTab::commandButton(const QString& caption, const char* objectName,
                                        void (THarvestTab::*handler)()) {
    QPushButton* b = tabs::button(caption, objectName, this);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
}

void THarvestTab::buildFilterRow(QVBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    m_harvestRadio = new QRadioButton(QStringLiteral("収穫"), this);
    m_harvestRadio->setObjectName(QStringLiteral("harvestRadio"));
    m_diaryRadio = new QRadioButton(QStringLiteral("日誌"), this);
    m_diaryRadio->setObjectName(QStringLiteral("diaryRadio"));
    m_harvestRadio->setChecked(true);
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(m_harvestRadio);
    kinds->addButton(m_diaryRadio);
    connect(m_harvestRadio, &QRadioButton::toggled, this, &THarvestTab::KindChanged);
    m_years = makeFilter("harvestYearFilter");
    m_months = makeFilter("harvestMonthFilter");
    connect(m_years, &QComboBox::currentIndexChanged, this, &THarvestTab::YearChanged);
    connect(m_months, &QComboBox::currentIndexChanged, this, &THarvestTab::RefreshList);
    row->addWidget(m_harvestRadio);
    row->addWidget(m_diaryRadio);
    row->addSpacing(16);
    row->addWidget(m_years);
    row->addWidget(new QLabel(QStringLiteral("年"), this));
    row->addSpacing(8);
    row->addWidget(m_months);
    row->addWidget(new QLabel(QStringLiteral("月"), this));
    row->addStretch(1);
    for (QPushButton* b :
         {commandButton(QStringLiteral("この日の記録"), "thisDayButton", &THarvestTab::ThisDayButtonClick),
          commandButton(QStringLiteral("集計・グラフ"), "yieldButton", &THarvestTab::ChartButtonClick)}) {
        b->setFixedHeight(m_years->sizeHint().height());
        tabs::fitToCaption(b);
        row->addWidget(b);
    }
    layout->addLayout(row);
}

void THarvestTab::buildLists(QVBoxLayout* layout) {
    m_harvestList = new TListView3(this);
    m_harvestList->setObjectName(QStringLiteral("harvestList"));
    m_harvestList->setColumns({QStringLiteral("年/月/日"), QStringLiteral("作物"), QStringLiteral("場所"),
                               QStringLiteral("収穫量"), QStringLiteral("メモ")},
                              {80, 140, 120, 100, 240});
    m_harvestList->setColumnAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    m_harvestList->setTexts<TShukaku>([](const TShukaku& h, int column) {
        switch (column) {
        case 1:
            return h.DateText();
        case 2:
            return h.crop;
        case 3:
            return h.hatake;
        case 4:
            return h.AmountWithUnit();
        default:
            return h.note;
        }
    });
    m_diaryList = new TListView3(this);
    m_diaryList->setObjectName(QStringLiteral("diaryList"));
    m_diaryList->setColumns({QStringLiteral("年/月/日"), QStringLiteral("内容"), QStringLiteral("作物"),
                             QStringLiteral("場所"), QStringLiteral("写真")},
                            {80, 360, 100, 100, 40});
    m_diaryList->setColumnAlignment(5, Qt::AlignRight | Qt::AlignVCenter);
    m_diaryList->setTexts<TNikki>([](const TNikki& entry, int column) {
        switch (column) {
        case 1:
            return entry.DateText();
        case 2:
            return entry.OneLine();
        case 3:
            return entry.crop;
        case 4:
            return entry.hatake;
        default:
            return entry.photos.isEmpty() ? QString() : QString::number(entry.photos.size());
        }
    });
    m_lists = new QStackedWidget(this);
    for (TListView3* list : {m_harvestList, m_diaryList}) {
        list->header()->setSectionsClickable(false);
        m_lists->addWidget(list);
    }
    layout->addWidget(m_lists, 1);
}

void THarvestTab::buildCommandRow(QVBoxLayout* layout) {
    auto* row = tabs::commandRow();
    row->addWidget(commandButton(QStringLiteral("追加"), "harvestAddButton", &THarvestTab::AddButtonClick));
    row->addWidget(
        commandButton(QStringLiteral("変更"), "harvestChangeButton", &THarvestTab::ChangeButtonClick));
    row->addWidget(commandButton(QStringLiteral("表示"), "harvestShowButton", &THarvestTab::ShowButtonClick));
    row->addWidget(
        commandButton(QStringLiteral("削除"), "harvestDeleteButton", &THarvestTab::DeleteButtonClick));
    m_total = new QLabel(QStringLiteral("合計"), this);
    m_total->setObjectName(QStringLiteral("harvestTotal"));
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tabs::addRight(row, m_total);
    layout->addLayout(row);
}

// --- filters and rows ---

bool THarvestTab::showsDiary() const {
    return m_diaryRadio->isChecked();
}

TListView3* THarvestTab::list() const {
    return showsDiary() ? m_diaryList : m_harvestList;
}

void THarvestTab::Reload() {
    RebuildYears();
    YearChanged();
}

void THarvestTab::RebuildYears() {
    const QString remembered = m_years->currentText();
    const QStringList years = showsDiary() ? m_book.nikki.YearList() : m_book.shukaku.YearList();
    choices::fill(m_years, QStringList{kHarvestAllEntries} + years);
    choices::selectByTextQuietly(m_years, remembered);
}

void THarvestTab::RebuildMonths() {
    const QString remembered = m_months->currentText();
    const QString year = m_years->currentText();
    const QStringList months = showsDiary() ? m_book.nikki.MonthList(year) : m_book.shukaku.MonthList(year);
    choices::fill(m_months, QStringList{kHarvestAllEntries} + months);
    choices::selectByTextQuietly(m_months, remembered);
}

void THarvestTab::RefreshList() {
    const QString year = m_years->currentText();
    const QString month = m_months->currentText();
    if (showsDiary()) {
        const auto shown = m_book.nikki.Filter(year, month);
        m_diaryList->setRecords(shown);
        m_total->setText(QStringLiteral("%1 件").arg(shown.size()));
        return;
    }
    const auto shown = m_book.shukaku.Filter(year, month);
    m_harvestList->setRecords(shown);
    const QString sums = UnitTotalsText(shown);
    m_total->setText(QStringLiteral("合計 ") + (sums.isEmpty() ? QStringLiteral("0") : sums) +
                     QStringLiteral("（%1 件）").arg(shown.size()));
}

void THarvestTab::YearChanged() {
    RebuildMonths();
    RefreshList();
}

void THarvestTab::KindChanged() {
    m_lists->setCurrentWidget(list());
    RebuildYears();
    YearChanged();
}

void THarvestTab::follow(const QDate& date) {
    RebuildYears();
    choices::selectByTextQuietly(m_years, QString::number(date.year()));
    RebuildMonths();
    choices::selectByTextQuietly(m_months, QString::number(date.month()));
    RefreshList();
}

// --- commands ---

HarvestChoices THarvestTab::choices() const {
    return ChoicesFor(*m_context.crops, *m_context.plan, m_book);
}

// A new record is dated today, unless the filters show another year or month:
// then the first of that month, or today's day in that year.
QDate THarvestTab::newRecordDate() const {
    const QDate today = m_context.platform->today();
    if (m_years->currentText() == kHarvestAllEntries)
        return today;
    const int year = m_years->currentText().toInt();
    if (m_months->currentText() == kHarvestAllEntries)
        return year == today.year() ? today : QDate(year, 1, 1);
    const int month = m_months->currentText().toInt();
    if (year == today.year() && month == today.month())
        return today;
    return QDate(year, month, 1);
}

const void* THarvestTab::checked() const {
    return list()->checkedRecord<const void>();
}

void THarvestTab::AddButtonClick() {
    if (showsDiary()) {
        const history::CommandScope change(m_context.history, QStringLiteral("日誌「追加」"));
        TFormNikki dialog(*m_context.platform, m_book, nullptr, newRecordDate(), choices(), window());
        if (dialog.exec() == QDialog::Accepted && dialog.record())
            follow(dialog.record()->date);
        return;
    }
    const history::CommandScope change(m_context.history, QStringLiteral("収穫「追加」"));
    TFormShukaku dialog(*m_context.platform, m_book, nullptr, newRecordDate(), choices(), window());
    if (dialog.exec() == QDialog::Accepted && dialog.record())
        follow(dialog.record()->date);
}

void THarvestTab::ChangeButtonClick() {
    if (!checked()) {
        m_context.platform->message(kChooseRecord);
        return;
    }
    if (showsDiary()) {
        const history::CommandScope change(m_context.history, QStringLiteral("日誌「変更」"));
        TNikki* entry = m_diaryList->checkedRecord<TNikki>();
        TFormNikki dialog(*m_context.platform, m_book, entry, entry->date, choices(), window());
        if (dialog.exec() != QDialog::Accepted)
            return;
        follow(entry->date);
        CheckByData(entry, m_diaryList);
        return;
    }
    const history::CommandScope change(m_context.history, QStringLiteral("収穫「変更」"));
    TShukaku* record = m_harvestList->checkedRecord<TShukaku>();
    TFormShukaku dialog(*m_context.platform, m_book, record, record->date, choices(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    follow(record->date);
    CheckByData(record, m_harvestList);
}

void THarvestTab::ShowButtonClick() {
    if (!checked()) {
        m_context.platform->message(kChooseRecord);
        return;
    }
    if (showsDiary()) {
        if (m_context.showDiaryCard)
            m_context.showDiaryCard(*m_diaryList->checkedRecord<TNikki>(), window());
        return;
    }
    const TShukaku* h = m_harvestList->checkedRecord<TShukaku>();
    m_context.platform->message(
        h->DateText() + QLatin1Char(' ') + h->crop + QLatin1Char(' ') + h->AmountWithUnit() +
        (h->hatake.isEmpty() ? QString() : QStringLiteral("（") + h->hatake + QStringLiteral("）")) +
        (h->note.isEmpty() ? QString() : QLatin1Char('\n') + h->note));
}

void THarvestTab::DeleteButtonClick() {
    if (!checked()) {
        m_context.platform->message(kChooseRecord);
        return;
    }
    if (showsDiary())
        deleteEntry(m_diaryList->checkedRecord<TNikki>());
    else
        deleteHarvest(m_harvestList->checkedRecord<TShukaku>());
}

void THarvestTab::deleteHarvest(TShukaku* record) {
    const history::CommandScope change(m_context.history, QStringLiteral("収穫「削除」"));
    if (!m_context.platform->question(record->DateText() + QStringLiteral(" の ") + record->crop +
                                      QLatin1Char(' ') + record->AmountWithUnit() +
                                      QStringLiteral(" を削除します。よろしいですか？")))
        return;
    m_harvestList->removeRecord(record);
    m_book.shukaku.remove(m_book.shukaku.indexOf(record));
    const bool saved = m_book.shukaku.SaveToFile(m_context.platform->dataFolder(), *m_context.platform);
    Reload();
    if (saved)
        m_context.tellUndoable(kDeletedNote);
}

// The photos stay in their folder, so an undo brings the entry back whole.
void THarvestTab::deleteEntry(TNikki* entry) {
    const history::CommandScope change(m_context.history, QStringLiteral("日誌「削除」"));
    if (!m_context.platform->question(entry->DateText() +
                                      QStringLiteral(" の日誌を削除します。よろしいですか？")))
        return;
    m_diaryList->removeRecord(entry);
    m_book.nikki.remove(m_book.nikki.indexOf(entry));
    const bool saved = m_book.nikki.SaveToFile(m_context.platform->dataFolder(), *m_context.platform);
    Reload();
    if (saved)
        m_context.tellUndoable(kDeletedNote);
}

QDate THarvestTab::thisDayCentre() const {
    if (showsDiary()) {
        if (const TNikki* entry = m_diaryList->checkedRecord<TNikki>())
            return entry->date;
    } else if (const TShukaku* h = m_harvestList->checkedRecord<TShukaku>()) {
        return h->date;
    }
    return m_context.platform->today();
}

void THarvestTab::ThisDayButtonClick() {
    TThisDayWindow view(m_book, thisDayCentre(), window());
    view.exec();
}

void THarvestTab::ChartButtonClick() {
    showYieldWindow(*this, m_context, m_book);
}
