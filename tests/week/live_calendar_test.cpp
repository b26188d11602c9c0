#include "app/main_window.h"
#include "history_ui/undo_commands.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_dialog.h"
#include "schedule/task_records.h"
#include "support/files.h"
#include "support/modal.h"
#include "support/scripted_platform.h"
#include "week/live_calendar_dialog.h"
#include "week_folder.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <libical/ical.h>
#include <sys/stat.h>

using namespace weektest;
using testsupport::whenModal;

namespace {

// What a calendar program sees in the file, read back by the calendar library.
struct Subscribed {
    QMap<QString, QDate> starts; // summary -> first day
    int events = 0;
    int alarms = 0;
    QStringList alarmTriggers;
    QString refresh;
};

Subscribed subscribe(const QString& path) {
    Subscribed seen;
    const QByteArray bytes = testsupport::readBytes(path);
    icalcomponent* calendar = icalparser_parse_string(bytes.constData());
    if (!calendar)
        return seen;
    if (icalproperty* refresh = icalcomponent_get_first_property(calendar, ICAL_REFRESHINTERVAL_PROPERTY))
        seen.refresh = QString::fromUtf8(icalproperty_as_ical_string(refresh)).trimmed();
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        ++seen.events;
        const icaltimetype start = icalcomponent_get_dtstart(event);
        seen.starts.insert(QString::fromUtf8(icalcomponent_get_summary(event)),
                           QDate(start.year, start.month, start.day));
        for (icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT); alarm;
             alarm = icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT)) {
            ++seen.alarms;
            const icaltriggertype trigger =
                icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
            seen.alarmTriggers << QString::fromUtf8(icaldurationtype_as_ical_string(trigger.duration));
        }
    }
    icalcomponent_free(calendar);
    return seen;
}

ino_t inodeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

// The calendar chosen under 書き出し is rewritten after every change of the
// schedule, undo included, and a calendar program reading it again sees the
// schedule as it is: a changed task moves, a completed or deleted one goes.
class LiveCalendarTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_notebook;
    std::unique_ptr<QTemporaryDir> m_elsewhere;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TForm5> m_window;

    QString calendarFile() const { return m_elsewhere->filePath("aobaroku.ics"); }

    void open() {
        m_window = std::make_unique<TForm5>(*m_platform);
        m_window->show();
    }

    TScheduleTab* tab() const { return m_window->scheduleTab(); }

    TYotei* taskNamed(const QString& name) const {
        TYoteiList& tasks = *m_window->context().tasks;
        for (int i = 0; i < tasks.count(); ++i)
            if (tasks.at(i)->name == name)
                return tasks.at(i);
        return nullptr;
    }

    void check(const QString& name) {
        tab()->filters()->button(4)->click();
        CheckByData(taskNamed(name), tab()->list());
    }

    // Fills the task dialog as a user would and presses OK.
    static void fill(TForm11* dialog, const QString& name, const QString& month, const QString& week) {
        if (!name.isEmpty())
            dialog->findChild<QComboBox*>("nameCombo")->setEditText(name);
        dialog->findChild<QComboBox*>("monthCombo")->setCurrentText(month);
        dialog->findChild<QComboBox*>("weekCombo")->setCurrentText(week);
        dialog->OkButtonClick();
    }

private slots:
    void init() {
        m_notebook = std::make_unique<QTemporaryDir>();
        m_elsewhere = std::make_unique<QTemporaryDir>();
        QVERIFY(
            testsupport::writeBytes(m_notebook->filePath("yotei.xml"),
                                    windowsSchedule(task("種まき", 12, 3) + task("追肥", 12, 4) +
                                                    task("土寄せ", 1, 2) + task("植え付け", 11, 1, "完了"))));
        m_platform = std::make_unique<ScriptedPlatform>(testsupport::folderOf(*m_notebook));
        m_platform->date = QDate(2026, 12, 9);
        m_platform->keepHistory = true;
    }

    void cleanup() { m_window.reset(); }

    void writtenAtStartWithOpenTasksAndRefresh() {
        m_platform->userPreferences.setLiveCalendarFile(calendarFile());
        open();
        const Subscribed seen = subscribe(calendarFile());
        QCOMPARE(seen.starts.keys(), (QStringList{"土寄せ", "種まき", "追肥"}));
        QCOMPARE(seen.starts.value("種まき"), QDate(2026, 12, 13));
        QCOMPARE(seen.starts.value("土寄せ"), QDate(2027, 1, 3));
        QCOMPARE(seen.refresh, QStringLiteral("REFRESH-INTERVAL;VALUE=DURATION:PT1H"));
        QCOMPARE(seen.alarms, 0);
        QVERIFY(m_platform->errors.isEmpty());
    }

    void rewrittenOnEveryChangeAndUndo() {
        m_platform->userPreferences.setLiveCalendarFile(calendarFile());
        open();

        check("種まき");
        tab()->DoneButtonClick();
        QVERIFY(!subscribe(calendarFile()).starts.contains("種まき"));

        m_window->undoCommands()->Undo();
        QCOMPARE(subscribe(calendarFile()).starts.value("種まき"), QDate(2026, 12, 13));

        whenModal<TForm11>([](TForm11* dialog) { fill(dialog, "間引き", "1", "1"); });
        tab()->AddButtonClick();
        QCOMPARE(subscribe(calendarFile()).starts.value("間引き"), QDate(2027, 1, 1));

        // A changed task moves: the file holds it once, in its new week.
        check("追肥");
        whenModal<TForm11>([](TForm11* dialog) { fill(dialog, QString(), "2", "1"); });
        tab()->ChangeButtonClick();
        Subscribed seen = subscribe(calendarFile());
        QCOMPARE(seen.starts.value("追肥"), QDate(2027, 2, 1));
        QCOMPARE(seen.events, 4);

        check("土寄せ");
        tab()->DeleteButtonClick();
        seen = subscribe(calendarFile());
        QVERIFY(!seen.starts.contains("土寄せ"));
        QCOMPARE(seen.events, 3);

        m_window->undoCommands()->Undo();
        QCOMPARE(subscribe(calendarFile()).starts.value("土寄せ"), QDate(2027, 1, 3));
        QVERIFY(m_platform->errors.isEmpty());
    }

    void unchangedScheduleIsNotRewritten() {
        m_platform->userPreferences.setLiveCalendarFile(calendarFile());
        open();
        const ino_t before = inodeOf(calendarFile());
        QVERIFY(before != 0);
        for (int filter = 0; filter < 5; ++filter)
            tab()->filters()->button(filter)->click();
        QCOMPARE(inodeOf(calendarFile()), before);
    }

    void chosenOnceWithAlarmsFromTheExportMenu() {
        open();
        QVERIFY(!QFile::exists(calendarFile()));
        auto* action = m_window->findChild<QAction*>("liveCalendarAction");
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("カレンダーを自動で書き出す…"));
        m_platform->saveAs = calendarFile();
        whenModal<TLiveCalendarDialog>([](TLiveCalendarDialog* dialog) {
            dialog->findChild<QPushButton*>("liveCalendarChooseButton")->click();
            dialog->findChild<QCheckBox*>("liveCalendarAlarmBox")->setChecked(true);
            dialog->accept();
        });
        action->trigger();
        const Subscribed seen = subscribe(calendarFile());
        QCOMPARE(seen.events, 3);
        QCOMPARE(seen.alarms, 3);
        QCOMPARE(seen.alarmTriggers, QStringList(3, QStringLiteral("PT8H")));
        QCOMPARE(m_platform->userPreferences.liveCalendarFile(), calendarFile());
        QVERIFY(m_platform->userPreferences.liveCalendarAlarms());
        QCOMPARE(m_platform->messages.last(),
                 QStringLiteral("予定 3件をカレンダーに書き出しました。\n予定が変わるたびに書き直します。"));

        // Stopped: later changes leave the last file as it was.
        whenModal<TLiveCalendarDialog>([](TLiveCalendarDialog* dialog) {
            dialog->findChild<QPushButton*>("liveCalendarStopButton")->click();
            dialog->accept();
        });
        action->trigger();
        QVERIFY(m_platform->userPreferences.liveCalendarFile().isEmpty());
        check("追肥");
        tab()->DoneButtonClick();
        QCOMPARE(subscribe(calendarFile()).events, 3);
    }

    void neverInPlaceOfTheNotebooksFiles() {
        const QByteArray schedule = testsupport::readBytes(m_notebook->filePath("yotei.xml"));
        m_platform->userPreferences.setLiveCalendarFile(m_elsewhere->filePath("link.ics"));
        QVERIFY(QFile::link(m_notebook->filePath("yotei.xml"), m_elsewhere->filePath("link.ics")));
        open();
        QCOMPARE(m_platform->errors.size(), 1);
        QVERIFY(m_platform->errors.first().contains("青葉録のデータファイルには書き出せません。"));
        // Told once, not again at every change.
        check("種まき");
        tab()->DoneButtonClick();
        QCOMPARE(m_platform->errors.size(), 1);
        QVERIFY(testsupport::readBytes(m_notebook->filePath("yotei.xml")) !=
                schedule); // the save itself went on
        QVERIFY(subscribe(m_notebook->filePath("yotei.xml")).events == 0);
    }
};

QTEST_MAIN(LiveCalendarTest)
#include "live_calendar_test.moc"
