#pragma once

#include "app/settings_dialog.h"
#include "crops/crop_dialog.h"
#include "crops/crop_records.h"
#include "crops/period_dialog.h"
#include "favourites/favourite_records.h"
#include "favourites/favourites_pick_dialog.h"
#include "favourites/url_dialog.h"
#include "harvest/diary_dialog.h"
#include "harvest/harvest_book.h"
#include "harvest/harvest_dialog.h"
#include "plans/colour_dialog.h"
#include "plans/crop_pick_dialog.h"
#include "plans/entry_dialog.h"
#include "plans/entry_pick_dialog.h"
#include "plans/group_dialog.h"
#include "plans/group_list_dialog.h"
#include "plans/plan_name_dialog.h"
#include "plans/plan_records.h"
#include "purchases/purchase_dialog.h"
#include "purchases/purchase_line_dialog.h"
#include "purchases/purchase_records.h"
#include "schedule/merge_dialog.h"
#include "schedule/quote_dialog.h"
#include "schedule/task_dialog.h"
#include "schedule/task_records.h"
#include "seasons/season_records.h"
#include "seasons/season_windows.h"
#include "support/files.h"
#include "support/scripted_platform.h"
#include "week/live_calendar_dialog.h"
#include "widgets/app_context.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace usability {

// A small notebook in a temporary folder, and every dialog of the program
// opened on it by its caption, as the windows open them.
class EveryDialog {
public:
    EveryDialog() : platform(testsupport::folderOf(dir)) {
        crops.insert(0)->name = kDummyCropName;
        tomato = crops.add();
        tomato->name = QStringLiteral("トマト");
        group = plan.add();
        group->name = QStringLiteral("畝１");
        group->order = 1;
        entry = group->add();
        entry->name = QStringLiteral("トマト");
        entry->StTuki = QStringLiteral("4");
        entry->StShuu = QStringLiteral("2");
        entry->EdTuki = QStringLiteral("8");
        entry->EdShuu = QStringLiteral("5");
        entry->ichi = 1;
        task = tasks.add();
        task->name = QStringLiteral("種まき");
        task->tuki = QStringLiteral("4");
        task->shuu = QStringLiteral("1");
        okini = favourites.add();
        okini->name = QStringLiteral("野菜の会");
        okini->url = QStringLiteral("http://yasai.example/");
        context.platform = &platform;
        context.tasks = &tasks;
    }

    // The captions, in the order of the tabs that open them.
    static QStringList captions() {
        // clang-format off
        return {"作物",           "栽培時期",       "作物選択（計画）",
                "作付計画へ追加", "作付計画の変更", "作物選択（引用）",
                "グループ",       "グループ設定",   "計画名変更",
                "色設定",         "予定",           "簡単予定追加",
                "予定をまとめる", "購入",           "購入内容",
                "収穫",           "日誌",
                "URL登録",        "お気に入り一覧", "設定",
                "過去の作付計画", "過去の予定",     "連作表",
                "カレンダーを自動で書き出す"};
        // clang-format on
    }
    // The dialogs without OK: they save as they go, or only show, and only close.
    static bool hasOk(const QString& caption) {
        return !QStringList{"グループ設定", "色設定", "過去の作付計画", "過去の予定", "連作表"}.contains(
            caption);
    }

    std::unique_ptr<FormDialog> open(const QString& caption) {
        static const QString add = QStringLiteral("追加");
        if (caption == "作物")
            return std::make_unique<TForm2>(platform, add, crops, nullptr);
        if (caption == "栽培時期")
            return std::make_unique<TForm8>(platform, add, periods, nullptr);
        if (caption == "作物選択（計画）")
            return std::make_unique<TForm10>(platform, crops);
        if (caption == "作付計画へ追加")
            return std::make_unique<TForm9>(platform,
                                            TForm9::Inputs{&plan, "計画１", "sakutuke1.xml", tomato});
        if (caption == "作付計画の変更")
            return std::make_unique<TForm9>(
                platform, TForm9::Inputs{&plan, "計画１", "sakutuke1.xml", tomato, entry, group});
        if (caption == "作物選択（引用）")
            return std::make_unique<TForm6>(platform, plan, true);
        if (caption == "グループ")
            return std::make_unique<TForm1>(platform, plan, nullptr);
        if (caption == "グループ設定")
            return std::make_unique<TForm3>(platform, plan, "計画１", "sakutuke1.xml");
        if (caption == "計画名変更")
            return std::make_unique<TForm42>(platform, QStringLiteral("計画１"));
        if (caption == "色設定")
            return std::make_unique<TForm45>(platform, plan, nullptr);
        if (caption == "予定")
            return std::make_unique<TForm11>(platform, tasks, nullptr);
        if (caption == "簡単予定追加")
            return std::make_unique<TForm13>(platform, *entry, tasks);
        if (caption == "予定をまとめる")
            return std::make_unique<TForm14>(platform, tasks);
        if (caption == "購入")
            return std::make_unique<TForm15>(platform, costs, nullptr, "2026", "12", "28");
        if (caption == "購入内容")
            return std::make_unique<TForm16>(platform, lines, nullptr);
        if (caption == "収穫")
            return std::make_unique<TFormShukaku>(platform, harvest, nullptr, QDate(2026, 12, 28), choices);
        if (caption == "日誌")
            return std::make_unique<TFormNikki>(platform, harvest, nullptr, QDate(2026, 12, 28), choices);
        if (caption == "URL登録")
            return std::make_unique<TForm18>(platform, favourites, nullptr);
        if (caption == "お気に入り一覧")
            return std::make_unique<TForm19>(platform, favourites);
        if (caption == "設定")
            return std::make_unique<TSettingsDialog>(platform, platform.preferences());
        if (caption == "過去の作付計画") {
            seasons::PastPlan past{2025, "sakutuke1.xml", QDate(2025, 12, 1), std::make_unique<TGroupList>()};
            seasons::CopyPlan(plan, *past.plan);
            return std::make_unique<seasons::TPastPlanWindow>(platform, past, QString());
        }
        if (caption == "過去の予定") {
            seasons::PastSchedule past{2025, QDate(2026, 1, 5), std::make_unique<TYoteiList>()};
            *past.tasks->add() = *task;
            return std::make_unique<seasons::TPastScheduleWindow>(platform, past);
        }
        if (caption == "連作表")
            return std::make_unique<seasons::TRotationWindow>(platform, seasons::RotationTable{});
        if (caption == "カレンダーを自動で書き出す")
            return std::make_unique<TLiveCalendarDialog>(context, QString(), false);
        qFatal("no dialog captioned %s", qPrintable(caption));
    }

    // Shown and active, with the keyboard focus where the dialog puts it first.
    static bool showActive(QDialog& dialog) {
        dialog.show();
        dialog.activateWindow();
        return QTest::qWaitForWindowActive(&dialog);
    }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    TSakumotuList crops;
    TSakumotu* tomato;
    TJikiList periods;
    TGroupList plan;
    TGroup* group;
    TSakumotu2* entry;
    TYoteiList tasks;
    TYotei* task;
    TCostList costs;
    TSinaList lines;
    THarvestBook harvest;
    HarvestChoices choices{{QStringLiteral("トマト")}, {QStringLiteral("畝１")}, {QStringLiteral("g")}};
    TOkiniList favourites;
    TOkini* okini;
    AppContext context;
};

template <class T> T* child(QWidget& parent, const char* objectName) {
    return parent.findChild<T*>(QString::fromLatin1(objectName));
}

} // namespace usability
