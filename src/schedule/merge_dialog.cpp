#include "schedule/merge_dialog.h"

#include "schedule/task_merge.h"
#include "schedule/task_records.h"
#include "widgets/platform.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm14::TForm14(Platform& platform, TYoteiList& tasks, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_tasks(tasks) {
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(QStringLiteral("予定をまとめる"));
    setSizeGripEnabled(true);
    buildLayout();
    // Opens at its smallest size and only grows from there.
    setMinimumSize(501, 471);
    resize(501, 471);
    m_report->setPlainText(MergeReport(m_tasks).join(QLatin1Char('\n')));
}

void TForm14::buildLayout() {
    auto* intro = new QLabel(QStringLiteral("重複している予定と、まとめられる予定を表示しています。"
                                            "まとめる場合は「OK」ボタンを押してください。"),
                             this);
    intro->setWordWrap(true);
    m_report = new QPlainTextEdit(this);
    m_report->setObjectName(QStringLiteral("reportEdit"));
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);

    QHBoxLayout* buttons = okCancelRow(m_ok, m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(intro);
    layout->addWidget(m_report, 1);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TForm14::OkButtonClick);
}

QString TForm14::reportText() const {
    return m_report->toPlainText();
}

// Always available, also with an empty report: the schedule is then saved as it is.
void TForm14::OkButtonClick() {
    emit merging();
    m_tasks.RemoveDuplicates();
    m_tasks.MergeSameWeek();
    m_tasks.SortByWeek();
    m_tasks.SaveToFile(m_platform.dataFolder(), m_platform);
    accept();
}
