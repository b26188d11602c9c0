#include "history_ui/file_names.h"

#include "plans/plan_records.h"
#include "store/message_sink.h"
#include "store/notebook_files.h"

namespace history {

// A plan file that cannot be read was told of when it was loaded; its button's caption stands for it.
FileNames FileNames::ofFolder(const QString& folder) {
    FileNames names;
    names.m_names = {{kCropFileName, QStringLiteral("作物一覧")},
                     {kYoteiFileName, QStringLiteral("予定")},
                     {kCostFileName, QStringLiteral("購入履歴")},
                     {kOkiniFileName, QStringLiteral("お気に入り")}};
    store::RecordingSink quiet;
    for (const PlanFileInfo& plan : PlanFiles()) {
        const QString name = ReadPlanName(folder, plan.fileName, quiet);
        names.m_names.insert(plan.fileName, QStringLiteral("作付計画「") +
                                                (name.isEmpty() ? plan.defaultCaption : name) +
                                                QStringLiteral("」"));
    }
    return names;
}

QString FileNames::of(const QString& fileName) const {
    return m_names.value(fileName, fileName);
}

} // namespace history
