#include "bench_platform.h"
#include "data_sets.h"
#include "figures.h"
#include "timing.h"

#include "app/main_window.h"
#include "app/search_kinds.h"
#include "purchases/purchase_records.h"
#include "search/search_window.h"
#include "widgets/app_context.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTreeWidget>
#include <stdexcept>

namespace bench {

namespace {

// A search answers as the gardener types.
constexpr double kSearchTargetMs = 200;

} // namespace

// The window 検索 over the large notebook, each figure ending once the results
// have painted: what typing a word costs, from the field's change on.
QList<Figure> searchFigures(const QString& root, int runs) {
    qInfo("measuring the search");
    BenchPlatform platform(searchFolder(root));
    TForm5 window(platform);
    window.show();
    if (window.context().costs->count() != kLargePurchases || !platform.shown.isEmpty())
        throw std::runtime_error("the large notebook did not load in full");

    const auto typed = [&window, runs](const QString& words, bool finds = true) {
        TFormSearch search(notebookSearchKinds(window), QString(), &window);
        search.show();
        painted(&search);
        const double ms = medianMs(runs, {{[&] {
                                               search.field()->setText(words);
                                               painted(&search);
                                           },
                                           [&] {
                                               search.field()->clear();
                                               painted(&search);
                                           }}})[0];
        if ((search.results()->topLevelItemCount() > 0) != finds)
            throw std::runtime_error("the search did not find what the data set holds");
        return ms;
    };
    const auto opened = [&window, runs](const QString& last) {
        return medianMs(runs, {{[&] {
                            TFormSearch search(notebookSearchKinds(window), last, &window);
                            search.show();
                            painted(&search);
                        }}})[0];
    };
    const QString on =
        QStringLiteral(" (%L1 purchases, %L2 tasks, %L3 crops, 8 plans of %L4 entries, painted)")
            .arg(kLargePurchases)
            .arg(kLargeTasks)
            .arg(kCropCount)
            .arg(kPlanGroups * kPlanEntries);
    const auto figure = [runs](const QString& name, double ms) {
        return Figure{name, ms, QString(), 0, 0, kSearchTargetMs, runs};
    };
    return {figure(QStringLiteral("search: ﾄﾏﾄ typed, half width, thousands found") + on, typed("ﾄﾏﾄ")),
            figure(QStringLiteral("search: two words, 培養土 ２５Ｌ") + on,
                   typed(QStringLiteral("培養土 ２５Ｌ"))),
            figure(QStringLiteral("search: a word nothing holds") + on,
                   typed(QStringLiteral("ズワイガニ"), false)),
            figure(QStringLiteral("search: window opened on the last word, ﾄﾏﾄ") + on, opened("ﾄﾏﾄ"))};
}

} // namespace bench
