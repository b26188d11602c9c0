#include "schedule/merge_dialog.h"

#include "schedule/task_merge.h"
#include "schedule/task_records.h"
#include "widgets/platform.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm14::TForm14(Platform& platform, TYoteiList& tasks, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_tasks(tasks) {
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(QStringLiteral("予定をまとめる"));
    setSizeGripEnabled(true);
    QFont f = font();
    f.setPointSize(10);
    setFont(f);
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

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(intro);
    layout->addWidget(m_report, 1);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TForm14::OkButtonClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TForm14::reportText() const {
    return m_report->toPlainText();
}

// Always available, also with an empty report: the schedule is then saved as it is.
void TForm14::OkButtonClick() {
    m_tasks.RemoveDuplicates();
    m_tasks.MergeSameWeek();
    m_tasks.SortByWeek();
    m_tasks.SaveToFile(m_platform.dataFolder(), m_platform);
    accept();
}
