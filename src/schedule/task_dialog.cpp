#include "schedule/task_dialog.h"

#include "schedule/task_presets.h"
#include "schedule/task_records.h"
#include "schedule/week_lists.h"
#include "widgets/lines_edit.h"
#include "widgets/platform.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TForm11::TForm11(Platform& platform, TYoteiList& tasks, TYotei* task, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_tasks(tasks), m_task(task) {
    setObjectName(QStringLiteral("TForm11"));
    setWindowTitle(QStringLiteral("予定") +
                   (m_task ? QStringLiteral("（変更）") : QStringLiteral("（追加）")));
    buildLayout();
    setFixedSize(406, 366);
    showTask();
}

void TForm11::buildLayout() {
    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("nameCombo"));
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    // A name typed by hand is kept as typed: no preset is completed into it.
    m_name->setCompleter(nullptr);
    m_name->addItems(TaskNamePresets());
    m_name->setMaxVisibleItems(int(TaskNamePresets().size()));
    m_name->setCurrentIndex(-1);
    m_name->clearEditText();
    m_month = week_lists::monthList("monthCombo", this);
    m_week = week_lists::weekList("weekCombo", this);
    m_note = new LinesEdit(this);
    m_note->setObjectName(QStringLiteral("noteEdit"));
    m_note->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_note->setTabChangesFocus(true);

    auto* week = new QHBoxLayout;
    week->addWidget(m_month);
    week->addWidget(new QLabel(QStringLiteral("月"), this));
    week->addWidget(m_week);
    week->addWidget(new QLabel(QStringLiteral("週"), this));
    week->addSpacing(8);
    week->addWidget(new QLabel(QStringLiteral("※土曜を週末としています"), this));
    week->addStretch(1);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(8);
    grid->addWidget(new QLabel(QStringLiteral("予定"), this), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("作業予定週"), this), 1, 0);
    grid->addLayout(week, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("ノート"), this), 2, 0, Qt::AlignTop);
    grid->addWidget(m_note, 2, 1);
    grid->setRowStretch(2, 1);

    QHBoxLayout* buttons = okCancelRow(m_ok, m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->addLayout(grid, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TForm11::OkButtonClick);
    QWidget::setTabOrder(m_name, m_month);
    QWidget::setTabOrder(m_month, m_week);
    QWidget::setTabOrder(m_week, m_note);
    QWidget::setTabOrder(m_note, m_ok);
    QWidget::setTabOrder(m_ok, m_cancel);
}

// A new task opens with every field empty and neither month nor week chosen.
void TForm11::showTask() {
    if (!m_task)
        return;
    m_name->setEditText(m_task->name);
    week_lists::selectByText(m_month, m_task->tuki);
    week_lists::selectByText(m_week, m_task->shuu);
    m_note->setLines(m_task->note);
}

bool TForm11::failsWith(bool failed, const QString& text, QWidget* focus) {
    if (failed) {
        m_platform.message(text);
        focus->setFocus();
    }
    return failed;
}

// Only the empty name is refused: blanks count as text.
bool TForm11::checksPass() {
    return !failsWith(m_name->currentText().isEmpty(), QStringLiteral("予定を入力（選択）してください。"),
                      m_name) &&
           !failsWith(m_month->currentIndex() < 0, QStringLiteral("月を選択してください。"), m_month) &&
           !failsWith(m_week->currentIndex() < 0, QStringLiteral("週を選択してください。"), m_week);
}

// A change keeps the task's state. A failed save is reported by the saver; the
// dialog still closes and the task stays changed in memory.
void TForm11::OkButtonClick() {
    if (!checksPass())
        return;
    if (!m_task) {
        m_task = m_tasks.add();
        m_task->state = kYoteiAdded;
    }
    m_task->name = m_name->currentText();
    m_task->tuki = week_lists::selectedText(m_month);
    m_task->shuu = week_lists::selectedText(m_week);
    m_task->note = m_note->lines();
    m_tasks.SortByWeek();
    m_tasks.SaveToFile(m_platform.dataFolder(), m_platform);
    accept();
}
