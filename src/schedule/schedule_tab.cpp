#include "schedule/schedule_tab.h"

#include "widgets/app_context.h"
#include "widgets/list_view3.h"
#include "widgets/tab_layout.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <QVBoxLayout>

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
    layout->addWidget(m_list, 1);
    buildCommands(layout);
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
    m_filters->button(0)->setChecked(true);
    layout->addLayout(row);
}

void TScheduleTab::buildCommands(QVBoxLayout* layout) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    int column = 0;
    // Nine buttons share the row, so each is only as wide as its caption.
    auto add = [&](const char* caption, const char* name) {
        QPushButton* b = tabs::button(QString::fromUtf8(caption), name, this);
        tabs::fitToCaption(b);
        grid->addWidget(b, 0, column++);
    };
    add("完了にする", "taskDoneButton");
    add("取消", "taskUndoneButton");
    add("作付計画から引用", "taskQuoteButton");
    add("追加", "taskAddButton");
    add("変更", "taskChangeButton");
    add("表示", "taskShowButton");
    add("削除", "taskDeleteButton");
    add("まとめる", "taskMergeButton");
    grid->setColumnStretch(column++, 1);
    QPushButton* clear = tabs::button(QStringLiteral("更新（完了をクリア）"), "taskClearButton", this);
    tabs::fitToCaption(clear);
    grid->addWidget(clear, 0, column);
    auto* note = new QLabel(QStringLiteral("※先に「作付計画」タブにて計画を選択してください。"), this);
    note->setObjectName(QStringLiteral("taskQuoteNote"));
    grid->addWidget(note, 1, 2, 1, 7, Qt::AlignLeft);
    note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addLayout(grid);
}
