#include "schedule/schedule_tab.h"

#include "history/command_scope.h"
#include "plans/entry_pick_dialog.h"
#include "schedule/merge_dialog.h"
#include "schedule/quote_dialog.h"
#include "schedule/task_dialog.h"
#include "schedule/task_records.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"
#include "widgets/platform.h"
#include "widgets/show_record.h"
#include "widgets/tab_layout.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kChooseTask = QStringLiteral("予定を選択してください。");
const QString kAdded = QStringLiteral(
    "予定を追加しました。「すべて」ラジオボタンをクリックして追加されていることを確認してください。");
const QString kMerged =
    QStringLiteral("予定をまとめました。「すべて」ラジオボタンをクリックして確認してください。");
const QColor kDoneColour(128, 128, 128);
constexpr int kAllFilter = 4; // すべて

} // namespace

TScheduleTab::TScheduleTab(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs::hint(QStringLiteral("予定をあらかじめ「追加」ボタンから登録しておきます。"
                                                "予定を消化しましたら、「完了にする」ボタンを押します。"),
                                 this));
    layout->addWidget(tabs::hint(QStringLiteral("予定を追加　→　予定を消化　→　完了にする　→→→　（一年）"
                                                "　→　更新　→　予定を消化"),
                                 this));
    buildFilters(layout);
    m_list = new TListView3(this);
    m_list->setObjectName(QStringLiteral("taskList"));
    m_list->setColumns(
        {QStringLiteral("週"), QStringLiteral("予定"), QStringLiteral("ノート"), QStringLiteral("状態")},
        {70, 250, 250, 50});
    showTasks();
    connect(m_list, &TListView3::opened, this, &TScheduleTab::ChangeButtonClick);
    layout->addWidget(m_list, 1);
    buildCommands(layout);

    showTaskCard = [this](TYotei& task) {
        if (m_context.showTaskCard)
            m_context.showTaskCard(task, window());
    };
}

void TScheduleTab::buildFilters(QVBoxLayout* layout) {
    static const char* const captions[] = {"今週の予定", "今月の予定", "過ぎてる（完了してない）", "完了",
                                           "すべて"};
    auto* row = new QHBoxLayout;
    m_filters = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(captions[i]), this);
        radio->setObjectName(QStringLiteral("taskFilter%1").arg(i));
        m_filters->addButton(radio, i);
        row->addWidget(radio);
    }
    row->addStretch(1);
    m_filterRow = row;
    m_filters->button(0)->setChecked(true);
    connect(m_filters, &QButtonGroup::idClicked, this, [this] { YoteiRadioButtonClick(); });
    layout->addLayout(row);
}

// After the stretch: the radio buttons stay where they are.
void TScheduleTab::addBesideFilters(QWidget* widget) {
    m_filterRow->addWidget(widget);
}

void TScheduleTab::buildCommands(QVBoxLayout* layout) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    int column = 0;
    // Nine buttons share the row, so each is only as wide as its caption.
    auto add = [&](const char* caption, const char* name, void (TScheduleTab::*handler)()) {
        QPushButton* b = tabs::button(QString::fromUtf8(caption), name, this);
        tabs::fitToCaption(b);
        connect(b, &QPushButton::clicked, this, handler);
        grid->addWidget(b, 0, column++);
    };
    add("完了にする", "taskDoneButton", &TScheduleTab::DoneButtonClick);
    add("取消", "taskUndoneButton", &TScheduleTab::UndoneButtonClick);
    add("作付計画から引用", "taskQuoteButton", &TScheduleTab::QuoteButtonClick);
    add("追加", "taskAddButton", &TScheduleTab::AddButtonClick);
    add("変更", "taskChangeButton", &TScheduleTab::ChangeButtonClick);
    add("表示", "taskShowButton", &TScheduleTab::ShowButtonClick);
    add("削除", "taskDeleteButton", &TScheduleTab::DeleteButtonClick);
    add("まとめる", "taskMergeButton", &TScheduleTab::MergeButtonClick);
    grid->setColumnStretch(column++, 1);
    add("更新（完了をクリア）", "taskClearButton", &TScheduleTab::ClearButtonClick);
    auto* note = new QLabel(QStringLiteral("※先に「作付計画」タブにて計画を選択してください。"), this);
    note->setObjectName(QStringLiteral("taskQuoteNote"));
    grid->addWidget(note, 1, 2, 1, 7, Qt::AlignLeft);
    note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addLayout(grid);
}

QString TScheduleTab::filterKey() const {
    static const QString keys[] = {kFilterThisWeek, kFilterThisMonth, kFilterPast, kFilterDone, kFilterAll};
    const int id = m_filters->checkedId();
    return id >= 0 && id < 5 ? keys[id] : QString();
}

void TScheduleTab::YoteiRadioButtonClick() {
    TYoteiRefList shown;
    if (m_context.tasks)
        m_context.tasks->Filter(filterKey(), m_context.platform->today(), shown);
    m_list->setRecords(shown.items());
    emit refreshed();
}

// A note of several lines reads on one line in its cell; the whole note is its
// tooltip. Completed tasks are grey.
void TScheduleTab::showTasks() {
    m_list->setTexts<TYotei>([](const TYotei& task, int column) {
        switch (column) {
        case 1:
            return task.WeekText();
        case 2:
            return task.name;
        case 3:
            return task.NoteOneLine();
        default:
            return task.state;
        }
    });
    m_list->setToolTips<TYotei>([](const TYotei& task, int column) {
        return column == 3 && !task.note.isEmpty() ? task.note.join(QLatin1Char('\n')) : QString();
    });
    m_list->setTextColours<TYotei>([](const TYotei& task) { return task.isDone() ? kDoneColour : QColor(); });
}

TYotei* TScheduleTab::checkedTask() {
    TYotei* task = m_list->checkedRecord<TYotei>();
    if (!task)
        m_context.platform->message(kChooseTask);
    return task;
}

bool TScheduleTab::save() {
    return m_context.tasks->SaveToFile(m_context.platform->dataFolder(), *m_context.platform);
}

// The list keeps the change even when the save fails; the saver has said so.
void TScheduleTab::setState(const QString& state, const QString& command) {
    const history::CommandScope change(m_context.history, command);
    TYotei* task = checkedTask();
    if (!task)
        return;
    task->state = state;
    if (save() && state == kYoteiDone && m_context.noteTaskDone)
        m_context.noteTaskDone(task->name);
    YoteiRadioButtonClick();
    CheckByData(task, m_list);
}

void TScheduleTab::DoneButtonClick() {
    setState(kYoteiDone, QStringLiteral("予定「完了にする」"));
}

void TScheduleTab::UndoneButtonClick() {
    setState(QString(), QStringLiteral("予定「取消」"));
}

void TScheduleTab::QuoteButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("予定「作付計画から引用」"));
    TSakumotu2* entry = pickPlanEntry();
    if (!entry)
        return;
    TForm13 dialog(*m_context.platform, *entry, *m_context.tasks, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    YoteiRadioButtonClick();
    m_context.platform->message(kAdded);
}

// The entry picker of the plan tab, on the current plan, without placeholder rows.
TSakumotu2* TScheduleTab::pickPlanEntry() {
    if (!m_context.plan)
        return nullptr;
    TForm6 picker(*m_context.platform, *m_context.plan, false, window());
    if (picker.exec() != QDialog::Accepted)
        return nullptr;
    return picker.entry();
}

void TScheduleTab::AddButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("予定「追加」"));
    TForm11 dialog(*m_context.platform, *m_context.tasks, nullptr, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    YoteiRadioButtonClick();
    m_context.platform->message(kAdded);
}

void TScheduleTab::ChangeButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("予定「変更」"));
    TYotei* task = checkedTask();
    if (!task)
        return;
    TForm11 dialog(*m_context.platform, *m_context.tasks, task, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    YoteiRadioButtonClick();
    CheckByData(task, m_list);
}

void TScheduleTab::ShowButtonClick() {
    TYotei* task = checkedTask();
    if (task && showTaskCard)
        showTaskCard(*task);
}

void TScheduleTab::DeleteButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("予定「削除」"));
    TYotei* task = checkedTask();
    if (!task)
        return;
    if (!m_context.platform->question(task->name + QStringLiteral(" を削除します。よろしいですか？")))
        return;
    m_list->removeRecord(task);
    m_context.tasks->remove(task);
    const bool saved = save();
    YoteiRadioButtonClick();
    if (saved)
        m_context.tellUndoable(kDeletedNote);
}

void TScheduleTab::MergeButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("予定「まとめる」"));
    TForm14 dialog(*m_context.platform, *m_context.tasks, window());
    connect(&dialog, &TForm14::merging, m_list, &TListView3::clear);
    if (dialog.exec() != QDialog::Accepted)
        return;
    YoteiRadioButtonClick();
    m_context.platform->message(kMerged);
}

// Clears the added marks too; names, weeks and notes stay.
void TScheduleTab::ClearButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("予定「更新（完了をクリア）」"));
    const AppContext::SeasonHooks& seasons = m_context.seasons;
    const QString kept = seasons.clearQuestionLine ? seasons.clearQuestionLine() : QString();
    if (!m_context.platform->question(
            QStringLiteral("すべての完了をクリアします。年が変わった時などに行ってください。"
                           "完了をクリアしますか？") +
            (kept.isEmpty() ? QString() : QLatin1Char('\n') + kept)))
        return;
    // The year's marks are cleared only once they are kept.
    if (seasons.keepScheduleBeforeClear && !seasons.keepScheduleBeforeClear())
        return;
    m_context.tasks->ClearStates();
    const bool saved = save();
    YoteiRadioButtonClick();
    if (saved)
        m_context.tellUndoable(kDeletedNote);
}

// A task the chosen filter hides is shown under すべて.
void TScheduleTab::ShowTask(const TYotei* task) {
    if (TickAndShow(task, m_list))
        return;
    m_filters->button(kAllFilter)->setChecked(true);
    YoteiRadioButtonClick();
    TickAndShow(task, m_list);
}
