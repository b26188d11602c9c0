#include "seasons/season_records.h"

#include "store/load_guard.h"
#include "store/messages.h"
#include "store/notebook_files.h"
#include "store/text_pool.h"
#include "store/xml_store.h"

#include <QFile>
#include <algorithm>

namespace seasons {

namespace {

// A year comes from a file the user may have been handed: anything but a
// plain year stops the reading as a damaged file does.
int readYear(const store::XmlNode& node, const char* path) {
    const std::optional<int> year = wholeNumber(node.text(path));
    if (!year || *year < kFirstYear || *year > kLastYear)
        throw store::XmlError(std::string("not a year: ") + path);
    return *year;
}

// Only one of the eight plan names: the name is never used as a path, but
// nothing else may pass for a plan.
QString readPlanFile(const store::XmlNode& node) {
    const QString file = node.text("@file");
    if (!IsPlanFile(file))
        throw store::XmlError("not a plan file");
    return file;
}

// The day a season was kept is shown only; an unreadable one is left empty.
QDate readDate(const store::XmlNode& node) {
    if (node.select("@date").isEmpty())
        return QDate();
    return QDate::fromString(node.text("@date"), Qt::ISODate);
}

void writeDate(store::XmlWriter& out, const QDate& day) {
    out.attribute("date", day.isValid() ? day.toString(Qt::ISODate) : QString());
}

} // namespace

int YearEndingOn(const QDate& day) {
    return day.month() <= 3 ? day.year() - 1 : day.year();
}

bool Seasons::LoadFromFolder(const QString& folder, store::MessageSink& sink) {
    const bool years = loadYears(folder, sink);
    const bool plans = loadPastPlans(folder, sink);
    const bool schedules = loadPastSchedules(folder, sink);
    return years && plans && schedules;
}

bool Seasons::loadYears(const QString& folder, store::MessageSink& sink) {
    m_years.clear();
    const QString path = folder + kNendoFileName;
    if (!QFile::exists(path))
        return true;
    const auto read = [this](store::RecordReader& records) {
        while (const auto node = records.next("nendo"))
            m_years.insert(readPlanFile(*node), readYear(*node, "@year"));
    };
    return store::loadDocument(path, sink, msg::LoadFailed, read, [this] { m_years.clear(); });
}

bool Seasons::loadPastPlans(const QString& folder, store::MessageSink& sink) {
    m_plans.clear();
    const QString path = folder + kKakoSakutukeFileName;
    if (!QFile::exists(path))
        return true;
    const auto read = [this](store::RecordReader& records) {
        while (const auto node = records.next("kako")) {
            PastPlan past;
            past.year = readYear(*node, "@nendo");
            past.file = readPlanFile(*node);
            past.kept = readDate(*node);
            const QList<store::XmlNode> plan = node->select("sakutuke");
            if (plan.isEmpty())
                throw store::XmlError("missing node sakutuke");
            past.plan = std::make_unique<TGroupList>();
            past.plan->ReadElement(plan.first());
            m_plans.push_back(std::move(past));
        }
    };
    return store::loadDocument(path, sink, msg::LoadFailed, read, [this] { m_plans.clear(); });
}

bool Seasons::loadPastSchedules(const QString& folder, store::MessageSink& sink) {
    m_schedules.clear();
    const QString path = folder + kKakoYoteiFileName;
    if (!QFile::exists(path))
        return true;
    const auto read = [this](store::RecordReader& records) {
        store::TextPool pool;
        while (const auto node = records.next("kako")) {
            PastSchedule past;
            past.year = readYear(*node, "@nendo");
            past.kept = readDate(*node);
            past.tasks = std::make_unique<TYoteiList>();
            for (const store::XmlNode& task : node->select("yotei"))
                ReadTaskElement(task, *past.tasks->add(), pool);
            m_schedules.push_back(std::move(past));
        }
    };
    return store::loadDocument(path, sink, msg::LoadFailed, read, [this] { m_schedules.clear(); });
}

// In the order of the plan files, so that the file changes only where a year did.
bool Seasons::SaveYears(const QString& folder, store::MessageSink& sink) const {
    return store::saveDocument(folder + kNendoFileName, sink, msg::SaveFailed, [this](store::XmlWriter& out) {
        for (const PlanFileInfo& plan : PlanFiles()) {
            if (!m_years.contains(plan.fileName))
                continue;
            out.startElement("nendo");
            out.attribute("file", plan.fileName);
            out.attribute("year", QString::number(m_years.value(plan.fileName)));
            out.endElement();
        }
    });
}

bool Seasons::SavePastPlans(const QString& folder, store::MessageSink& sink) const {
    return store::saveDocument(folder + kKakoSakutukeFileName, sink, msg::SaveFailed,
                               [this](store::XmlWriter& out) {
                                   for (const PastPlan& past : m_plans) {
                                       out.startElement("kako");
                                       out.attribute("nendo", QString::number(past.year));
                                       out.attribute("file", past.file);
                                       writeDate(out, past.kept);
                                       past.plan->WriteElement(out, past.plan->name);
                                       out.endElement();
                                   }
                               });
}

bool Seasons::SavePastSchedules(const QString& folder, store::MessageSink& sink) const {
    return store::saveDocument(folder + kKakoYoteiFileName, sink, msg::SaveFailed,
                               [this](store::XmlWriter& out) {
                                   for (const PastSchedule& past : m_schedules) {
                                       out.startElement("kako");
                                       out.attribute("nendo", QString::number(past.year));
                                       writeDate(out, past.kept);
                                       for (int i = 0; i < past.tasks->count(); ++i)
                                           WriteTaskElement(out, *past.tasks->at(i));
                                       out.endElement();
                                   }
                               });
}

std::optional<int> Seasons::yearOf(const QString& planFile) const {
    const auto found = m_years.constFind(planFile);
    return found == m_years.cend() ? std::nullopt : std::optional<int>(*found);
}

int Seasons::yearOrToday(const QString& planFile, const QDate& today) const {
    return yearOf(planFile).value_or(today.year());
}

void Seasons::setYear(const QString& planFile, std::optional<int> year) {
    if (year)
        m_years.insert(planFile, *year);
    else
        m_years.remove(planFile);
}

const PastPlan* Seasons::findPastPlan(int year, const QString& planFile) const {
    for (const PastPlan& past : m_plans)
        if (past.year == year && past.file == planFile)
            return &past;
    return nullptr;
}

void Seasons::keepPlan(int year, const QString& planFile, const QString& planName, const TGroupList& plan,
                       const QDate& today) {
    PastPlan past;
    past.year = year;
    past.file = planFile;
    past.kept = today;
    past.plan = std::make_unique<TGroupList>();
    CopyPlan(plan, *past.plan);
    past.plan->name = planName;
    const auto same = std::find_if(m_plans.begin(), m_plans.end(),
                                   [&](const PastPlan& p) { return p.year == year && p.file == planFile; });
    if (same != m_plans.end())
        *same = std::move(past);
    else
        m_plans.push_back(std::move(past));
    std::stable_sort(m_plans.begin(), m_plans.end(),
                     [](const PastPlan& a, const PastPlan& b) { return a.year < b.year; });
}

void Seasons::keepSchedule(int year, const TYoteiList& tasks, const QDate& today) {
    PastSchedule past;
    past.year = year;
    past.kept = today;
    past.tasks = std::make_unique<TYoteiList>();
    for (int i = 0; i < tasks.count(); ++i)
        *past.tasks->add() = *tasks.at(i);
    m_schedules.push_back(std::move(past));
}

void CopyPlan(const TGroupList& from, TGroupList& to) {
    to.clear();
    to.name = from.name;
    to.YajirusiColor = from.YajirusiColor;
    to.MojiColor = from.MojiColor;
    to.SenColor = from.SenColor;
    to.HaikeiColor = from.HaikeiColor;
    for (int g = 0; g < from.count(); ++g) {
        const TGroup& group = *from.at(g);
        TGroup* copy = to.add();
        copy->name = group.name;
        copy->order = group.order;
        for (int e = 0; e < group.count(); ++e)
            *copy->add() = *group.at(e);
    }
}

} // namespace seasons
