#include "purchases/purchase_dialog.h"

#include "purchases/choice_select.h"
#include "purchases/purchase_line_dialog.h"
#include "widgets/list_view3.h"
#include "widgets/number_list.h"
#include "widgets/platform.h"
#include "widgets/suji_edit.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kChooseLine = QStringLiteral("選択してください。");

QStringList monthTexts() {
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << QString::number(m);
    return months;
}

QString orToday(const QString& initial, int today) {
    return initial.isEmpty() ? QString::number(today) : initial;
}

} // namespace

TForm15::TForm15(Platform& platform, TCostList& costs, TCost* cost, const QString& year, const QString& month,
                 const QString& day, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_costs(costs), m_cost(cost), m_initialYear(year),
      m_initialMonth(month), m_initialDay(day) {
    setObjectName(QStringLiteral("TForm15"));
    setWindowTitle(QStringLiteral("購入"));
    buildLayout();
    resize(405, 426);
}

// The line list shows the dialog's own lines, which go before the list does.
TForm15::~TForm15() {
    m_lineList->clear();
}

// --- layout ---

QComboBox* TForm15::choice(const char* objectName) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(false);
    box->setMaxVisibleItems(20);
    box->setMinimumWidth(56);
    typeAheadByNumber(box);
    return box;
}

QPushButton* TForm15::button(const QString& caption, const char* objectName) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    return b;
}

QLayout* TForm15::buildDateRow() {
    m_nen = new Sujiin(this);
    m_nen->setObjectName(QStringLiteral("yearEdit"));
    m_nen->setFixedWidth(49);
    m_nen->setAlignment(Sujiin::TAlignment::taCenter);
    m_nen->setEnterColor(QApplication::palette(m_nen).color(QPalette::Base));
    m_tuki = choice("monthCombo");
    m_tuki->addItems(monthTexts());
    m_hi = choice("dayCombo");
    auto* row = new QHBoxLayout;
    row->addWidget(m_nen);
    row->addWidget(new QLabel(QStringLiteral("年"), this));
    row->addWidget(m_tuki);
    row->addWidget(new QLabel(QStringLiteral("月"), this));
    row->addWidget(m_hi);
    row->addWidget(new QLabel(QStringLiteral("日"), this));
    row->addStretch(1);
    connect(m_nen, &QLineEdit::textEdited, this, &TForm15::YearEditChange);
    connect(m_tuki, &QComboBox::currentIndexChanged, this, &TForm15::MonthChange);
    connect(m_hi, &QComboBox::currentIndexChanged, this, &TForm15::DayChange);
    return row;
}

QLayout* TForm15::buildLineRow() {
    m_lineAdd = button(QStringLiteral("追加"), "lineAddButton");
    m_lineChange = button(QStringLiteral("変更"), "lineChangeButton");
    m_lineDelete = button(QStringLiteral("削除"), "lineDeleteButton");
    m_total = new QLabel(QStringLiteral("合計"), this);
    m_total->setObjectName(QStringLiteral("totalLabel"));
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* row = new QHBoxLayout;
    row->addWidget(m_lineAdd);
    row->addWidget(m_lineChange);
    row->addWidget(m_lineDelete);
    row->addStretch(1);
    row->addWidget(m_total);
    connect(m_lineAdd, &QPushButton::clicked, this, &TForm15::LineAddClick);
    connect(m_lineChange, &QPushButton::clicked, this, &TForm15::LineChangeClick);
    connect(m_lineDelete, &QPushButton::clicked, this, &TForm15::LineDeleteClick);
    return row;
}

QLayout* TForm15::buildButtonRow() {
    QHBoxLayout* row = okCancelRow(m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &TForm15::OkButtonClick);
    return row;
}

void TForm15::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildDateRow());
    m_lineList = new TListView3(this);
    m_lineList->setObjectName(QStringLiteral("lineList"));
    m_lineList->setColumns({QStringLiteral("購入内容"), QStringLiteral("金額")}, {250, 100});
    m_lineList->setColumnAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    m_lineList->setTexts<TSina>(
        [](const TSina& line, int column) { return column == 1 ? line.name : line.AmountText(); });
    m_lineList->header()->setSectionsClickable(false);
    countAsInput(m_lineList);
    connect(m_lineList, &TListView3::opened, this, &TForm15::LineChangeClick);
    layout->addWidget(m_lineList, 1);
    layout->addLayout(buildLineRow());
    layout->addSpacing(6);
    layout->addLayout(buildButtonRow());
    setTabOrder();
}

void TForm15::setTabOrder() {
    const QList<QWidget*> chain = {m_nen,        m_tuki,       m_hi, m_lineList, m_lineAdd,
                                   m_lineChange, m_lineDelete, m_ok, m_cancel};
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

// --- opening ---

void TForm15::showEvent(QShowEvent* event) {
    FormDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TForm15::FormShow() {
    const QDate today = m_platform.today();
    m_nen->setText(orToday(m_initialYear, today.year()));
    SelectByText(m_tuki, orToday(m_initialMonth, today.month()));
    fillDays();
    SelectByText(m_hi, orToday(m_initialDay, today.day()));
    m_chosenDay = m_hi->currentText();
    if (m_cost)
        m_lines.CopyFrom(m_cost->sina);
    RefreshLines();
    SetTotal();
}

void TForm15::fillDays() {
    FillChoices(m_hi, DayList(m_nen->text(), m_tuki->currentText()));
}

// --- the date ---

// The days follow the year too, so February offers its 29th only in leap years.
// The day the gardener chose comes back whenever the year has it, also after
// the year passed through shorter ones while it was typed.
void TForm15::YearEditChange() {
    fillDays();
    if (m_hi->findText(m_chosenDay, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0)
        SelectByText(m_hi, m_chosenDay);
}

// A new month drops the chosen day: the gardener picks the day again.
void TForm15::MonthChange() {
    fillDays();
    m_chosenDay.clear();
}

void TForm15::DayChange() {
    m_chosenDay = m_hi->currentText();
}

// --- the lines ---

void TForm15::RefreshLines() {
    std::vector<const TSina*> lines;
    for (int i = 0; i < m_lines.count(); ++i)
        lines.push_back(m_lines.at(i));
    m_lineList->setRecords(lines);
}

void TForm15::SetTotal() {
    m_total->setText(kCostTotalPrefix + MoneyText(m_lines.LinesTotal()) + kCostYenSuffix);
}

TSina* TForm15::checkedLine() {
    TSina* line = m_lineList->checkedRecord<TSina>();
    if (!line)
        m_platform.message(kChooseLine);
    return line;
}

void TForm15::LineAddClick() {
    TForm16 dialog(m_platform, m_lines, nullptr, this);
    dialog.exec();
    RefreshLines();
    SetTotal();
}

void TForm15::LineChangeClick() {
    TSina* line = checkedLine();
    if (!line)
        return;
    TForm16 dialog(m_platform, m_lines, line, this);
    dialog.exec();
    RefreshLines();
    SetTotal();
}

void TForm15::LineDeleteClick() {
    TSina* line = checkedLine();
    if (!line || !m_platform.question(QStringLiteral("削除します。よろしいですか？")))
        return;
    m_lineList->removeRecord(line);
    m_lines.remove(m_lines.indexOf(line));
    RefreshLines();
    SetTotal();
}

// --- OK ---

bool TForm15::failsWith(bool failed, const QString& text, QWidget* focus) {
    if (failed) {
        m_platform.message(text);
        focus->setFocus();
    }
    return failed;
}

void TForm15::writeCost() {
    if (!m_cost)
        m_cost = m_costs.add();
    m_cost->nen = m_nen->text();
    m_cost->tuki = m_tuki->currentText();
    m_cost->hi = m_hi->currentText();
    m_cost->sina.CopyFrom(m_lines);
}

// A failed save is reported by the saver; the purchase stays changed in memory
// and the dialog still closes with OK.
void TForm15::OkButtonClick() {
    if (failsWith(m_nen->text().isEmpty(), QStringLiteral("年を入力してください。"), m_nen) ||
        failsWith(m_tuki->currentText().isEmpty(), QStringLiteral("月を選択してください。"), m_tuki) ||
        failsWith(m_hi->currentText().isEmpty(), QStringLiteral("日を選択してください。"), m_hi))
        return;
    writeCost();
    m_costs.SortByDate();
    m_costs.SaveToFile(m_platform.dataFolder(), m_platform);
    accept();
}
