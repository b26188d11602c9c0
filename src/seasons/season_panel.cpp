#include "seasons/season_panel.h"

#include "crops/crop_records.h"
#include "history/command_scope.h"
#include "plans/plan_records.h"
#include "plans/plan_tab.h"
#include "schedule/schedule_tab.h"
#include "seasons/rotation.h"
#include "seasons/rotation_table.h"
#include "seasons/season_windows.h"
#include "widgets/app_context.h"
#include "widgets/platform.h"

#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

namespace seasons {

namespace {

constexpr int kYearsBack = 6;

// The style draws the menu arrow inside the button without widening it, so a
// long text would run under the arrow and lose its last character.
void fitText(QToolButton* button, const QString& text) {
    button->setText(text);
    button->setMinimumWidth(0);
    button->setMinimumWidth(button->sizeHint().width() +
                            button->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, button));
}

QToolButton* menuButton(const char* name, const QString& text, QMenu* menu, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    fitText(button, text);
    return button;
}

} // namespace

TSeasonPanel::TSeasonPanel(AppContext& context, TPlanTab* planTab, TScheduleTab* scheduleTab, QObject* parent)
    : QObject(parent), m_context(context) {
    buildPlanControls(planTab);
    buildScheduleControls(scheduleTab);
    AppContext::SeasonHooks& hooks = m_context.seasons;
    hooks.confirmPlacing = [this](QWidget* dialog, const QString& crop, const QString& group) {
        return ConfirmPlacing(dialog, crop, group);
    };
    hooks.entryNote = [this](const TGroup&, const TSakumotu2& entry) { return EntryNote(entry); };
    hooks.planShown = [this] { planShown(); };
    hooks.clearQuestionLine = [this] { return ClearQuestionLine(); };
    hooks.keepScheduleBeforeClear = [this] { return KeepScheduleBeforeClear(); };
}

void TSeasonPanel::buildPlanControls(TPlanTab* planTab) {
    m_planMenu = new QMenu(planTab);
    m_planMenu->setObjectName(QStringLiteral("seasonMenu"));
    m_yearButton = menuButton("seasonButton", QString(), m_planMenu, planTab);
    m_yearButton->setToolTip(QStringLiteral("この計画の年度、過去の年度、連作表"));
    m_warning = new QLabel(planTab);
    m_warning->setObjectName(QStringLiteral("rotationWarning"));
    m_warning->setStyleSheet(QStringLiteral("color: #b04800;"));
    m_warning->hide();
    planTab->addBesidePlanButtons(m_yearButton);
    planTab->addBesidePlanButtons(m_warning);
    connect(m_planMenu, &QMenu::aboutToShow, this, &TSeasonPanel::fillPlanMenu);
}

void TSeasonPanel::buildScheduleControls(TScheduleTab* scheduleTab) {
    m_scheduleMenu = new QMenu(scheduleTab);
    m_scheduleMenu->setObjectName(QStringLiteral("pastScheduleMenu"));
    m_pastSchedules =
        menuButton("pastScheduleButton", QStringLiteral("過去の予定"), m_scheduleMenu, scheduleTab);
    m_pastSchedules->setToolTip(QStringLiteral("「更新（完了をクリア）」の前に残した一年の予定と完了の記録"));
    scheduleTab->addBesideFilters(m_pastSchedules);
    connect(m_scheduleMenu, &QMenu::aboutToShow, this, &TSeasonPanel::fillScheduleMenu);
}

void TSeasonPanel::Load() {
    m_seasons.LoadFromFolder(m_context.platform->dataFolder(), *m_context.platform);
    planShown();
}

int TSeasonPanel::planYear() const {
    return m_seasons.yearOrToday(m_context.planFile, m_context.platform->today());
}

RotationBook TSeasonPanel::book() const {
    return BookOfNotebook(m_seasons, m_context.platform->dataFolder(), *m_context.plan, m_context.planFile,
                          CropFamilies(*m_context.crops), m_context.platform->today());
}

// The year and the marks follow the plan shown; the chart itself stays as it is.
void TSeasonPanel::planShown() {
    const std::optional<int> year = m_seasons.yearOf(m_context.planFile);
    fitText(m_yearButton, year ? QStringLiteral("%1年度").arg(*year)
                               : QStringLiteral("%1年度（今年）").arg(m_context.platform->today().year()));
    m_notes.clear();
    if (!m_context.plan || !m_context.crops)
        return;
    const RotationBook all = book();
    const CropFamilies families(*m_context.crops);
    const int planYearNow = planYear();
    QStringList lines;
    for (int g = 0; g < m_context.plan->count(); ++g) {
        const TGroup& group = *m_context.plan->at(g);
        for (int e = 0; e < group.count(); ++e) {
            const TSakumotu2& entry = *group.at(e);
            if (entry.IsDummy())
                continue;
            const CropFamilies::Info info = families.of(entry.name);
            const std::vector<Planting> earlier =
                all.conflicts(BedKey(group.name), planYearNow, info.family, info.gap);
            if (earlier.empty())
                continue;
            const QString note = ConflictNote(info.family, info.gap, earlier);
            m_notes.insert(&entry, note);
            lines << group.name + QStringLiteral("　") + entry.name + QStringLiteral("　") + note;
        }
    }
    m_warning->setVisible(!lines.isEmpty());
    m_warning->setText(QStringLiteral("連作注意 %1件").arg(lines.size()));
    m_warning->setToolTip(lines.join(QLatin1Char('\n')));
}

void TSeasonPanel::fillPlanMenu() {
    m_planMenu->clear();
    const int today = m_context.platform->today().year();
    const std::optional<int> year = m_seasons.yearOf(m_context.planFile);
    QMenu* years = m_planMenu->addMenu(QStringLiteral("年度を設定"));
    years->setObjectName(QStringLiteral("yearMenu"));
    QAction* none = years->addAction(QStringLiteral("指定しない（今年として扱う）"));
    none->setObjectName(QStringLiteral("yearNone"));
    none->setCheckable(true);
    none->setChecked(!year);
    connect(none, &QAction::triggered, this, [this] { SetYear(std::nullopt); });
    QList<int> offered;
    for (int y = today + 1; y >= today - kYearsBack; --y)
        offered << y;
    if (year && !offered.contains(*year))
        offered << *year;
    for (int y : offered) {
        QAction* action = years->addAction(QStringLiteral("%1年度").arg(y));
        action->setObjectName(QStringLiteral("year%1").arg(y));
        action->setCheckable(true);
        action->setChecked(year == y);
        connect(action, &QAction::triggered, this, [this, y] { SetYear(y); });
    }
    QAction* keep = m_planMenu->addAction(QStringLiteral("年度を保存"), this, &TSeasonPanel::KeepSeason);
    keep->setObjectName(QStringLiteral("keepSeason"));
    QMenu* past = m_planMenu->addMenu(QStringLiteral("過去の年度"));
    past->setObjectName(QStringLiteral("pastPlanMenu"));
    past->setEnabled(!m_seasons.pastPlans().empty());
    for (int i = 0; i < int(m_seasons.pastPlans().size()); ++i) {
        const PastPlan& p = m_seasons.pastPlans()[size_t(i)];
        past->addAction(QStringLiteral("%1年度　%2").arg(p.year).arg(p.plan->name), this,
                        [this, i] { ShowPastPlan(i); });
    }
    m_planMenu->addSeparator();
    QAction* table = m_planMenu->addAction(QStringLiteral("連作表…"), this, &TSeasonPanel::ShowRotationTable);
    table->setObjectName(QStringLiteral("rotationTable"));
}

void TSeasonPanel::fillScheduleMenu() {
    m_scheduleMenu->clear();
    if (m_seasons.pastSchedules().empty()) {
        m_scheduleMenu->addAction(QStringLiteral("（まだありません）"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < int(m_seasons.pastSchedules().size()); ++i) {
        const PastSchedule& p = m_seasons.pastSchedules()[size_t(i)];
        m_scheduleMenu->addAction(QStringLiteral("%1年度（%2 件）").arg(p.year).arg(p.tasks->count()), this,
                                  [this, i] { ShowPastSchedule(i); });
    }
}

void TSeasonPanel::SetYear(std::optional<int> year) {
    const history::CommandScope change(m_context.history, QStringLiteral("作付計画「年度」"));
    m_seasons.setYear(m_context.planFile, year);
    if (!m_seasons.SaveYears(m_context.platform->dataFolder(), *m_context.platform))
        m_seasons.LoadFromFolder(m_context.platform->dataFolder(), *m_context.platform);
    planShown();
}

void TSeasonPanel::KeepSeason() {
    Platform& platform = *m_context.platform;
    const int year = planYear();
    const QString name = m_context.planName;
    if (m_seasons.findPastPlan(year, m_context.planFile) &&
        !platform.question(QStringLiteral("%1年度の「%2」はもう保存してあります。今の計画で置き換えますか？")
                               .arg(year)
                               .arg(name)))
        return;
    const history::CommandScope change(m_context.history, QStringLiteral("作付計画「年度を保存」"));
    m_seasons.keepPlan(year, m_context.planFile, name, *m_context.plan, platform.today());
    if (!m_seasons.SavePastPlans(platform.dataFolder(), platform)) {
        m_seasons.LoadFromFolder(platform.dataFolder(), platform);
        return;
    }
    platform.message(QStringLiteral("%1年度の作付計画「%2」を保存しました。\n"
                                    "「過去の年度」からいつでも見られます。この計画は来年度に使えます。")
                         .arg(year)
                         .arg(name));
}

void TSeasonPanel::ShowPastPlan(int index) {
    if (index < 0 || index >= int(m_seasons.pastPlans().size()))
        return;
    TPastPlanWindow window(*m_context.platform, m_seasons.pastPlans()[size_t(index)],
                           m_context.platform->preferences().imageCaption(), m_yearButton->window());
    window.exec();
}

void TSeasonPanel::ShowPastSchedule(int index) {
    if (index < 0 || index >= int(m_seasons.pastSchedules().size()))
        return;
    TPastScheduleWindow window(*m_context.platform, m_seasons.pastSchedules()[size_t(index)],
                               m_pastSchedules->window());
    window.exec();
}

void TSeasonPanel::ShowRotationTable() {
    TRotationWindow window(*m_context.platform, BuildRotationTable(book()), m_yearButton->window());
    window.exec();
}

bool TSeasonPanel::ConfirmPlacing(QWidget*, const QString& crop, const QString& groupName) {
    const CropFamilies families(*m_context.crops);
    const CropFamilies::Info info = families.of(crop);
    if (info.family.isEmpty() || !info.gap.warns())
        return true;
    const std::vector<Planting> earlier =
        book().conflicts(BedKey(groupName), planYear(), info.family, info.gap);
    return earlier.empty() ||
           m_context.platform->question(ConflictQuestion(crop, groupName, info.gap, earlier));
}

QString TSeasonPanel::ClearQuestionLine() {
    return QStringLiteral("この一年の予定と完了の記録は %1 年度として残ります。")
        .arg(YearEndingOn(m_context.platform->today()));
}

// Saved inside the clear's own change: one Ctrl+Z takes back both.
bool TSeasonPanel::KeepScheduleBeforeClear() {
    Platform& platform = *m_context.platform;
    m_seasons.keepSchedule(YearEndingOn(platform.today()), *m_context.tasks, platform.today());
    if (m_seasons.SavePastSchedules(platform.dataFolder(), platform))
        return true;
    m_seasons.LoadFromFolder(platform.dataFolder(), platform);
    return false;
}

} // namespace seasons
