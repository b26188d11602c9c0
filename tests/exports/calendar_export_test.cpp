#include "exports/calendar_export.h"
#include "schedule/task_records.h"
#include "store/text_lines.h"

#include <QtTest>
#include <libical/ical.h>
#include <memory>

namespace {

TYotei* addTask(TYoteiList& tasks, const QString& name, const QString& tuki, const QString& shuu,
                const QString& note = QString(), const QString& state = QString()) {
    TYotei* task = tasks.add();
    task->name = name;
    task->tuki = tuki;
    task->shuu = shuu;
    task->note = store::splitLines(note);
    task->state = state;
    return task;
}

struct IcalFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Parsed = std::unique_ptr<icalcomponent, IcalFree>;

Parsed parse(const QByteArray& ics) {
    return Parsed(icalparser_parse_string(ics.constData()));
}

QList<icalcomponent*> events(const Parsed& calendar) {
    QList<icalcomponent*> list;
    for (icalcomponent* e = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT))
        list << e;
    return list;
}

QString text(const char* value) {
    return QString::fromUtf8(value);
}

QDate dateOf(const icaltimetype& t) {
    return QDate(t.year, t.month, t.day);
}

QString propertyText(icalcomponent* c, icalproperty_kind kind) {
    icalproperty* p = icalcomponent_get_first_property(c, kind);
    return p ? text(icalproperty_get_value_as_string(p)) : QString();
}

const QDateTime kStamp(QDate(2014, 12, 20), QTime(9, 30, 5), Qt::UTC);

} // namespace

class CalendarExportTest : public QObject {
    Q_OBJECT
private slots:
    void weekDaysFollowTheSaturdayRule_data();
    void weekDaysFollowTheSaturdayRule();
    void weekOutOfRangeHasNoDays();
    void nextOccurrenceTakesThisOrNextYear_data();
    void nextOccurrenceTakesThisOrNextYear();
    void calendarReadsBackWithLibical();
    void openTasksOnlyAndUnreadableOnesCounted();
    void identicalTasksGetDistinctUidsStableAcrossExports();
    void notesKeepLinesAndSpecialCharacters();
    void linesAreFoldedWithoutSplittingCharacters();
};

void CalendarExportTest::weekDaysFollowTheSaturdayRule_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("week");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    // February 2015: 28 days from a Sunday, four whole weeks.
    QTest::newRow("Feb 2015 week 1") << 2015 << 2 << 1 << QDate(2015, 2, 1) << QDate(2015, 2, 7);
    QTest::newRow("Feb 2015 week 4") << 2015 << 2 << 4 << QDate(2015, 2, 22) << QDate(2015, 2, 28);
    QTest::newRow("Feb 2015 week 5 is the last week")
        << 2015 << 2 << 5 << QDate(2015, 2, 22) << QDate(2015, 2, 28);
    // August 2015: 31 days from a Saturday, so six weeks.
    QTest::newRow("Aug 2015 week 1 is the 1st") << 2015 << 8 << 1 << QDate(2015, 8, 1) << QDate(2015, 8, 1);
    QTest::newRow("Aug 2015 week 2") << 2015 << 8 << 2 << QDate(2015, 8, 2) << QDate(2015, 8, 8);
    QTest::newRow("Aug 2015 week 5 takes week 6")
        << 2015 << 8 << 5 << QDate(2015, 8, 23) << QDate(2015, 8, 31);
    // November 2015: 30 days from a Sunday.
    QTest::newRow("Nov 2015 week 5") << 2015 << 11 << 5 << QDate(2015, 11, 29) << QDate(2015, 11, 30);
    // January 2016: 31 days from a Friday.
    QTest::newRow("Jan 2016 week 1") << 2016 << 1 << 1 << QDate(2016, 1, 1) << QDate(2016, 1, 2);
    QTest::newRow("Jan 2016 week 5") << 2016 << 1 << 5 << QDate(2016, 1, 24) << QDate(2016, 1, 31);
    QTest::newRow("Dec 2014 week 4") << 2014 << 12 << 4 << QDate(2014, 12, 21) << QDate(2014, 12, 27);
}

void CalendarExportTest::weekDaysFollowTheSaturdayRule() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, week);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    const std::optional<WeekSpan> days = WeekDays(year, month, week);
    QVERIFY(days);
    QCOMPARE(days->first, first);
    QCOMPARE(days->last, last);
}

void CalendarExportTest::weekOutOfRangeHasNoDays() {
    QVERIFY(!WeekDays(2015, 13, 1));
    QVERIFY(!WeekDays(2015, 0, 1));
    QVERIFY(!WeekDays(2015, 5, 0));
    QVERIFY(!WeekDays(2015, 5, 6));
    QVERIFY(!NextOccurrence(QStringLiteral("x"), QStringLiteral("1"), QDate(2015, 5, 1)));
    QVERIFY(!NextOccurrence(QStringLiteral("5"), QString(), QDate(2015, 5, 1)));
    QVERIFY(!NextOccurrence(QStringLiteral("5"), QStringLiteral("2.5"), QDate(2015, 5, 1)));
}

void CalendarExportTest::nextOccurrenceTakesThisOrNextYear_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("tuki");
    QTest::addColumn<QString>("shuu");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::newRow("December, a January task") << QDate(2014, 12, 20) << "1"
                                              << "2" << QDate(2015, 1, 4) << QDate(2015, 1, 10);
    QTest::newRow("inside the week") << QDate(2015, 5, 13) << "5"
                                     << "3" << QDate(2015, 5, 10) << QDate(2015, 5, 16);
    QTest::newRow("on the week's last day") << QDate(2015, 5, 16) << "5"
                                            << "3" << QDate(2015, 5, 10) << QDate(2015, 5, 16);
    QTest::newRow("the day after") << QDate(2015, 5, 17) << "5"
                                   << "3" << QDate(2016, 5, 15) << QDate(2016, 5, 21);
    QTest::newRow("later this year") << QDate(2015, 5, 17) << "11"
                                     << "5" << QDate(2015, 11, 29) << QDate(2015, 11, 30);
    // In the sixth week of August 2015 the week-5 task is still this year's.
    QTest::newRow("sixth week") << QDate(2015, 8, 31) << "8"
                                << "5" << QDate(2015, 8, 23) << QDate(2015, 8, 31);
}

void CalendarExportTest::nextOccurrenceTakesThisOrNextYear() {
    QFETCH(QDate, today);
    QFETCH(QString, tuki);
    QFETCH(QString, shuu);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    const std::optional<WeekSpan> days = NextOccurrence(tuki, shuu, today);
    QVERIFY(days);
    QCOMPARE(days->first, first);
    QCOMPARE(days->last, last);
}

void CalendarExportTest::calendarReadsBackWithLibical() {
    TYoteiList tasks;
    addTask(tasks, "種まき", "2", "5", "トマト");
    const QByteArray ics = CalendarIcs(PlanCalendar(tasks, QDate(2015, 1, 10)), kStamp);
    QVERIFY(ics.endsWith("END:VCALENDAR\r\n"));
    QVERIFY(!QByteArray(ics).replace("\r\n", "").contains('\n'));

    const Parsed parsed = parse(ics);
    icalcomponent* calendar = parsed.get();
    QVERIFY(calendar);
    QCOMPARE(icalcomponent_isa(calendar), ICAL_VCALENDAR_COMPONENT);
    QCOMPARE(propertyText(calendar, ICAL_VERSION_PROPERTY), QStringLiteral("2.0"));
    QVERIFY(!propertyText(calendar, ICAL_PRODID_PROPERTY).isEmpty());
    QCOMPARE(propertyText(calendar, ICAL_NAME_PROPERTY), QStringLiteral("青葉録の予定"));
    icalproperty* x = icalcomponent_get_first_property(calendar, ICAL_X_PROPERTY);
    QCOMPARE(text(icalproperty_get_x_name(x)), QStringLiteral("X-WR-CALNAME"));
    QCOMPARE(text(icalproperty_get_x(x)), QStringLiteral("青葉録の予定"));

    const QList<icalcomponent*> found = events(parsed);
    QCOMPARE(found.size(), 1);
    icalcomponent* event = found.first();
    const icaltimetype start = icalcomponent_get_dtstart(event);
    const icaltimetype end = icalcomponent_get_dtend(event);
    QVERIFY(start.is_date);
    QVERIFY(end.is_date);
    // February 2015 has no fifth week: its last week, 22nd to 28th, ending on 1 March.
    QCOMPARE(dateOf(start), QDate(2015, 2, 22));
    QCOMPARE(dateOf(end), QDate(2015, 3, 1));
    const icaltimetype stamp = icalcomponent_get_dtstamp(event);
    QVERIFY(icaltime_is_utc(stamp));
    QCOMPARE(QDateTime(dateOf(stamp), QTime(stamp.hour, stamp.minute, stamp.second), Qt::UTC), kStamp);
    QCOMPARE(text(icalcomponent_get_summary(event)), QStringLiteral("種まき"));
    QCOMPARE(text(icalcomponent_get_description(event)), QStringLiteral("トマト"));
    QCOMPARE(propertyText(event, ICAL_CATEGORIES_PROPERTY), QStringLiteral("家庭菜園"));
    QCOMPARE(propertyText(event, ICAL_TRANSP_PROPERTY), QStringLiteral("TRANSPARENT"));
    QVERIFY(!text(icalcomponent_get_uid(event)).isEmpty());
}

void CalendarExportTest::openTasksOnlyAndUnreadableOnesCounted() {
    TYoteiList tasks;
    addTask(tasks, "完了した", "3", "1", QString(), "完了");
    addTask(tasks, "追加した", "3", "2", QString(), "追加");
    addTask(tasks, "手で直した", "x", "1");
    addTask(tasks, "週が６", "3", "6");
    addTask(tasks, "開いている", "3", "3");
    const CalendarPlan plan = PlanCalendar(tasks, QDate(2015, 1, 10));
    QCOMPARE(plan.leftOut, 2);
    const Parsed parsed = parse(CalendarIcs(plan, kStamp));
    QStringList summaries;
    for (icalcomponent* event : events(parsed))
        summaries << text(icalcomponent_get_summary(event));
    QCOMPARE(summaries, (QStringList{"追加した", "開いている"}));
}

void CalendarExportTest::identicalTasksGetDistinctUidsStableAcrossExports() {
    TYoteiList tasks;
    addTask(tasks, "追肥", "6", "1", "ナス");
    addTask(tasks, "追肥", "6", "1", "ナス");
    addTask(tasks, "追肥", "6", "1", "キュウリ");
    addTask(tasks, "追肥", "6", "2", "ナス");
    const auto uids = [&tasks](const QDate& today, const QDateTime& stamp) {
        QStringList list;
        const Parsed parsed = parse(CalendarIcs(PlanCalendar(tasks, today), stamp));
        for (icalcomponent* event : events(parsed))
            list << text(icalcomponent_get_uid(event));
        return list;
    };
    const QStringList first = uids(QDate(2015, 1, 10), kStamp);
    QCOMPARE(first.size(), 4);
    QCOMPARE(QSet<QString>(first.begin(), first.end()).size(), 4);
    // Another day, another moment, even another year: the same events.
    QCOMPARE(uids(QDate(2015, 7, 1), kStamp.addDays(200)), first);
    // A completed task elsewhere in the list changes no other task's UID.
    addTask(tasks, "別の", "1", "1", QString(), "完了");
    QCOMPARE(uids(QDate(2015, 1, 10), kStamp), first);
}

void CalendarExportTest::notesKeepLinesAndSpecialCharacters() {
    TYoteiList tasks;
    const QString note = QStringLiteral("苗, 肥料; 支柱\r\n①㈱～の件\\メモ\r\n\r\n最後");
    addTask(tasks, "植え付け, 準備; 確認", "4", "2", note);
    const QByteArray ics = CalendarIcs(PlanCalendar(tasks, QDate(2015, 1, 10)), kStamp);
    // UTF-8 throughout, not escapes of another encoding.
    QVERIFY(ics.contains(QStringLiteral("①㈱～").toUtf8()));
    const Parsed parsed = parse(ics);
    icalcomponent* event = events(parsed).value(0);
    QVERIFY(event);
    QCOMPARE(text(icalcomponent_get_summary(event)), QStringLiteral("植え付け, 準備; 確認"));
    QCOMPARE(text(icalcomponent_get_description(event)),
             QStringLiteral("苗, 肥料; 支柱\n①㈱～の件\\メモ\n\n最後"));
}

void CalendarExportTest::linesAreFoldedWithoutSplittingCharacters() {
    TYoteiList tasks;
    addTask(tasks, QString(60, QChar(0x7a2e)), "4", "2", QString(100, QChar(0x2460)) + "\r\nabc");
    const QByteArray ics = CalendarIcs(PlanCalendar(tasks, QDate(2015, 1, 10)), kStamp);
    for (const QByteArray& line : ics.split('\n')) {
        QVERIFY2(line.size() <= 76, line.constData()); // 75 octets and the CR
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString decoded = decoder(line);
        QVERIFY2(!decoder.hasError(), line.constData());
    }
    const Parsed parsed = parse(ics);
    QCOMPARE(text(icalcomponent_get_summary(events(parsed).value(0))), QString(60, QChar(0x7a2e)));
}

QTEST_GUILESS_MAIN(CalendarExportTest)
#include "calendar_export_test.moc"
