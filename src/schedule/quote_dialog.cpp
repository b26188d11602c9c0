#include "schedule/quote_dialog.h"

#include "plans/plan_records.h"
#include "schedule/task_presets.h"
#include "schedule/task_records.h"
#include "schedule/week_lists.h"
#include "widgets/platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Column of each part of a task row in the grid.
enum Column { CheckColumn, NameColumn, MonthColumn, MonthUnit, WeekColumn, WeekUnit, NoteColumn };

QComboBox* referenceList(QComboBox* list, const QString& text) {
    week_lists::selectByText(list, text);
    list->setEnabled(false);
    return list;
}

} // namespace

TForm13::TForm13(Platform& platform, const TSakumotu2& entry, TYoteiList& tasks, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_tasks(tasks) {
    setObjectName(QStringLiteral("TForm13"));
    setWindowTitle(QStringLiteral("簡単予定追加（") + entry.name + QStringLiteral("）"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->addLayout(buildReference(entry));
    layout->addSpacing(8);
    layout->addLayout(buildRows());
    layout->addStretch(1);
    layout->addLayout(buildFooter());
    setFixedSize(582, 355);
    fillRows(entry);
}

// The entry's own period, for reference only.
QLayout* TForm13::buildReference(const TSakumotu2& entry) {
    auto* strip = new QHBoxLayout;
    auto unit = [this, strip](const QString& text) { strip->addWidget(new QLabel(text, this)); };
    unit(QStringLiteral("作付計画での栽培期間（参照用）"));
    strip->addWidget(referenceList(week_lists::monthList("referenceStartMonth", this), entry.StTuki));
    unit(QStringLiteral("月"));
    strip->addWidget(referenceList(week_lists::weekList("referenceStartWeek", this), entry.StShuu));
    unit(QStringLiteral("週"));
    unit(QStringLiteral("～"));
    strip->addWidget(referenceList(week_lists::monthList("referenceEndMonth", this), entry.EdTuki));
    unit(QStringLiteral("月"));
    strip->addWidget(referenceList(week_lists::weekList("referenceEndWeek", this), entry.EdShuu));
    unit(QStringLiteral("週"));
    strip->addStretch(1);
    return strip;
}

QLayout* TForm13::buildRows() {
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(4);
    grid->setHorizontalSpacing(4);
    grid->addWidget(new QLabel(QStringLiteral("予定"), this), 0, NameColumn);
    grid->addWidget(new QLabel(QStringLiteral("作業予定週"), this), 0, MonthColumn, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("ノート"), this), 0, NoteColumn);
    for (int i = 0; i < kRowCount; ++i) {
        const Row row = buildRow(i);
        grid->addWidget(row.check, i + 1, CheckColumn);
        grid->addWidget(row.name, i + 1, NameColumn);
        grid->addWidget(row.month, i + 1, MonthColumn);
        grid->addWidget(row.parts.at(2), i + 1, MonthUnit);
        grid->addWidget(row.week, i + 1, WeekColumn);
        grid->addWidget(row.parts.at(4), i + 1, WeekUnit);
        grid->addWidget(row.note, i + 1, NoteColumn);
        m_rows.append(row);
    }
    grid->addWidget(new QLabel(QStringLiteral("※土曜を週末としています"), this), kRowCount + 1, WeekColumn, 1,
                    3);
    grid->setColumnStretch(NameColumn, 2);
    grid->setColumnStretch(NoteColumn, 3);
    return grid;
}

// Parts in grid order: name, month, 月, week, 週, note.
TForm13::Row TForm13::buildRow(int index) {
    const QString number = QString::number(index + 1);
    Row row;
    row.check = new QCheckBox(this);
    row.check->setObjectName(QStringLiteral("quoteCheck") + number);
    row.name = new QLineEdit(this);
    row.name->setObjectName(QStringLiteral("quoteName") + number);
    row.month = week_lists::monthList("quoteMonth", this);
    row.month->setObjectName(QStringLiteral("quoteMonth") + number);
    row.week = week_lists::weekList("quoteWeek", this);
    row.week->setObjectName(QStringLiteral("quoteWeek") + number);
    row.note = new QLineEdit(this);
    row.note->setObjectName(QStringLiteral("quoteNote") + number);
    row.parts = {row.name,
                 row.month,
                 new QLabel(QStringLiteral("月"), this),
                 row.week,
                 new QLabel(QStringLiteral("週"), this),
                 row.note};
    setRowEnabled(row, false);
    connect(row.check, &QCheckBox::toggled, this, [this, row](bool on) { setRowEnabled(row, on); });
    return row;
}

QLayout* TForm13::buildFooter() {
    QHBoxLayout* buttons = okCancelRow(m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &TForm13::OkButtonClick);

    auto* footer = new QVBoxLayout;
    footer->addWidget(
        new QLabel(QStringLiteral("追加する予定にチェックを付けてください（編集もできます）。"), this));
    footer->addLayout(buttons);
    return footer;
}

void TForm13::fillRows(const TSakumotu2& entry) {
    const QList<QuoteRowDefault> defaults = QuoteRowDefaults(entry.name, entry.StTuki, entry.StShuu);
    for (int i = 0; i < kRowCount; ++i) {
        const Row& row = m_rows.at(i);
        row.name->setText(defaults.at(i).name);
        week_lists::selectByText(row.month, defaults.at(i).tuki);
        week_lists::selectByText(row.week, defaults.at(i).shuu);
        row.note->setText(defaults.at(i).note);
    }
}

void TForm13::setRowEnabled(const Row& row, bool on) {
    for (QWidget* part : row.parts)
        part->setEnabled(on);
}

// Every ticked row is checked, top to bottom, before any task is added.
bool TForm13::checksPass() {
    bool anyTicked = false;
    for (const Row& row : m_rows) {
        if (!row.check->isChecked())
            continue;
        anyTicked = true;
        if (row.name->text().isEmpty()) {
            m_platform.message(QStringLiteral("予定を入力してください。"));
            row.name->setFocus();
            return false;
        }
        if (row.month->currentIndex() < 0 || row.week->currentIndex() < 0) {
            m_platform.message(QStringLiteral("作業予定週を選択してください。"));
            row.month->setFocus();
            return false;
        }
    }
    if (!anyTicked)
        m_platform.message(QStringLiteral("追加する予定にチェックを付けてください。"));
    return anyTicked;
}

void TForm13::addTicked() {
    for (const Row& row : m_rows) {
        if (!row.check->isChecked())
            continue;
        TYotei* task = m_tasks.add();
        task->name = row.name->text();
        task->tuki = week_lists::selectedText(row.month);
        task->shuu = week_lists::selectedText(row.week);
        task->note = OneLineNote(row.note->text());
        task->state = kYoteiAdded;
    }
}

void TForm13::OkButtonClick() {
    if (!checksPass())
        return;
    addTicked();
    m_tasks.SortByWeek();
    m_tasks.SaveToFile(m_platform.dataFolder(), m_platform);
    accept();
}
