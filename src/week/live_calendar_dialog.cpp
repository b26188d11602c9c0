#include "week/live_calendar_dialog.h"

#include "exports/calendar_export.h"
#include "exports/export_messages.h"
#include "schedule/schedule_tab.h"
#include "widgets/app_context.h"
#include "widgets/platform.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

TLiveCalendarDialog::TLiveCalendarDialog(AppContext& context, const QString& file, bool alarms,
                                         QWidget* parent)
    : FormDialog(*context.platform, parent), m_context(context) {
    setObjectName(QStringLiteral("liveCalendarDialog"));
    setWindowTitle(QStringLiteral("カレンダーを自動で書き出す"));
    auto* note = new QLabel(QStringLiteral("予定が変わるたびに、このファイルへ予定を書き出します。\n"
                                           "カレンダーのアプリでこのファイルを購読（照会）すると、"
                                           "いつも今の予定が見えます。"),
                            this);
    note->setTextFormat(Qt::PlainText);
    m_file = new QLineEdit(file, this);
    m_file->setObjectName(QStringLiteral("liveCalendarFileEdit"));
    m_file->setReadOnly(true);
    m_file->setMinimumWidth(360);
    m_file->setPlaceholderText(QStringLiteral("書き出していません"));
    auto* choose = new QPushButton(QStringLiteral("選ぶ(&F)…"), this);
    choose->setObjectName(QStringLiteral("liveCalendarChooseButton"));
    auto* stop = new QPushButton(QStringLiteral("やめる(&S)"), this);
    stop->setObjectName(QStringLiteral("liveCalendarStopButton"));
    m_alarms = new QCheckBox(QStringLiteral("予定の週の初日、朝%1時に知らせる(&A)").arg(kAlarmHour), this);
    m_alarms->setObjectName(QStringLiteral("liveCalendarAlarmBox"));
    m_alarms->setChecked(alarms);

    auto* grid = new QGridLayout(this);
    grid->addWidget(note, 0, 0, 1, 3);
    grid->addWidget(m_file, 1, 0);
    grid->addWidget(choose, 1, 1);
    grid->addWidget(stop, 1, 2);
    grid->addWidget(m_alarms, 2, 0, 1, 3);
    QPushButton* ok = nullptr;
    grid->addLayout(okCancelRow(ok), 3, 0, 1, 3);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(choose, &QPushButton::clicked, this, &TLiveCalendarDialog::ChooseButtonClick);
    connect(stop, &QPushButton::clicked, this, &TLiveCalendarDialog::StopButtonClick);
    setFixedSize(sizeHint());
}

QString TLiveCalendarDialog::file() const {
    return m_file->text();
}

bool TLiveCalendarDialog::alarms() const {
    return m_alarms->isChecked();
}

void TLiveCalendarDialog::ChooseButtonClick() {
    const QString path = m_context.platform->saveFileName({QStringLiteral("liveCalendar"), SaveKind::Export,
                                                           QStringLiteral("aobaroku.ics"),
                                                           QStringLiteral("iCalendar (*.ics)")});
    if (!path.isEmpty())
        m_file->setText(path);
}

void TLiveCalendarDialog::StopButtonClick() {
    m_file->clear();
}

TLiveCalendarKeeper::TLiveCalendarKeeper(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_calendar(context.platform->preferences()) {}

void TLiveCalendarKeeper::update() {
    if (!m_context.tasks)
        return;
    const QString failure =
        m_calendar.update(*m_context.tasks, m_context.platform->today(), m_context.platform->dataFolder());
    if (failure.isEmpty() || failure == m_told) {
        m_told = failure;
        return;
    }
    m_told = failure;
    m_context.platform->error(failure);
}

void TLiveCalendarKeeper::Choose() {
    auto* owner = qobject_cast<QWidget*>(parent());
    TLiveCalendarDialog dialog(m_context, m_calendar.file(), m_calendar.alarms(),
                               owner ? owner->window() : nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_calendar.choose(dialog.file(), dialog.alarms());
    m_told.clear();
    if (dialog.file().isEmpty())
        return;
    update();
    if (m_told.isEmpty())
        m_context.platform->message(exportmsg::calendarWritten(m_calendar.lastEvents(), 0) +
                                    QStringLiteral("\n予定が変わるたびに書き直します。"));
}

TLiveCalendarKeeper* keepCalendarCurrent(QMenu& exportMenu, TScheduleTab& scheduleTab, AppContext& context) {
    auto* keeper = new TLiveCalendarKeeper(context, &scheduleTab);
    QAction* action = exportMenu.addAction(QStringLiteral("カレンダーを自動で書き出す…"));
    action->setObjectName(QStringLiteral("liveCalendarAction"));
    QObject::connect(action, &QAction::triggered, keeper, &TLiveCalendarKeeper::Choose);
    QObject::connect(&scheduleTab, &TScheduleTab::refreshed, keeper, &TLiveCalendarKeeper::update);
    return keeper;
}
