#include "bench_platform.h"
#include "figures.h"
#include "timing.h"

#include "app/main_window.h"
#include "harvest/harvest_book.h"
#include "harvest/harvest_files.h"
#include "harvest/harvest_tab.h"
#include "harvest/this_day.h"
#include "widgets/dialog_support.h"
#include "widgets/list_view3.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <stdexcept>

namespace bench {

namespace {

constexpr int kHarvests = 10000;
constexpr int kEntries = 5000;
constexpr double kTargetMs = 100;

// Twelve seasons of a busy garden, written by the program's own savers.
QString writeHarvestBook(const QString& root) {
    const QString folder = root + QStringLiteral("/harvest/");
    QDir().mkpath(folder);
    QRandomGenerator random(29);
    const QStringList crops = {QStringLiteral("トマト"), QStringLiteral("キュウリ"),
                               QStringLiteral("ナス"),   QStringLiteral("ピーマン"),
                               QStringLiteral("オクラ"), QStringLiteral("枝豆")};
    const QStringList units = {QStringLiteral("kg"), QStringLiteral("個"), QStringLiteral("g")};
    THarvestBook book;
    for (int i = 0; i < kHarvests; ++i) {
        TShukaku* h = book.shukaku.add();
        h->date = QDate(2014, 1, 1).addDays(random.bounded(12 * 365));
        h->crop = crops[random.bounded(int(crops.size()))];
        h->hatake = QStringLiteral("畝%1").arg(random.bounded(20));
        h->ryou = QString::number(random.bounded(1, 3000) / 10.0);
        h->tani = units[random.bounded(int(units.size()))];
        h->note = QStringLiteral("朝どり");
    }
    for (int i = 0; i < kEntries; ++i) {
        TNikki* e = book.nikki.add();
        e->date = QDate(2014, 1, 1).addDays(random.bounded(12 * 365));
        e->text =
            QStringLiteral("水やりと草取り。%1 の様子を見た。\n午後は雨。").arg(crops[i % crops.size()]);
        e->crop = crops[i % crops.size()];
    }
    store::RecordingSink sink;
    if (!book.shukaku.SaveToFile(folder, sink) || !book.nikki.SaveToFile(folder, sink))
        throw std::runtime_error("cannot write the harvest data set");
    return folder;
}

} // namespace

QList<Figure> harvestFigures(const QString& root, int runs) {
    const QString folder = writeHarvestBook(root);
    QList<Figure> figures;
    const auto loadFigure = [&](const QString& name, const QString& file, auto load, auto count) {
        store::RecordingSink sink;
        THarvestBook book;
        const QByteArray path = QFile::encodeName(folder + file);
        const QList<double> ms =
            medianMs(runs, {{[&] { load(book, sink); }}, {[&path] { parseOnly(path); }}});
        expectLoaded(true, sink, count(book), file == kShukakuFileName ? kHarvests : kEntries, file);
        figures << Figure{name, ms[0], QStringLiteral("xmlReadFile"), ms[1], 0, kTargetMs, runs};
    };
    loadFigure(
        QStringLiteral("load and sort %L1 harvests").arg(kHarvests), kShukakuFileName,
        [&](THarvestBook& b, store::RecordingSink& s) { b.LoadShukaku(folder, s); },
        [](const THarvestBook& b) { return b.shukaku.count(); });
    loadFigure(
        QStringLiteral("load and sort %L1 diary entries").arg(kEntries), kNikkiFileName,
        [&](THarvestBook& b, store::RecordingSink& s) { b.LoadNikki(folder, s); },
        [](const THarvestBook& b) { return b.nikki.count(); });

    BenchPlatform platform(folder);
    TForm5 window(platform);
    window.show();
    THarvestTab& tab = *window.harvestTab();
    if (window.context().harvest->shukaku.count() != kHarvests || !platform.shown.isEmpty())
        throw std::runtime_error("the harvest notebook did not load in full");
    window.tabWidget()->setCurrentWidget(&tab);
    painted(&window);
    const auto chooseYear = [&](const QString& year) {
        choices::selectByTextQuietly(tab.years(), year);
        tab.YearChanged();
        painted(&window);
    };
    const auto switchYears = [&](const QString& what) {
        const double ms =
            medianMs(runs,
                     {{[&] { chooseYear(QStringLiteral("2020")); }, [&] { chooseYear(kHarvestAllEntries); }},
                      {[&] { chooseYear(kHarvestAllEntries); }, [&] { chooseYear(QStringLiteral("2020")); }}})
                .value(1);
        figures << Figure{what + QStringLiteral(": year filter one year to すべて, painted"),
                          ms,
                          QString(),
                          0,
                          0,
                          kTargetMs,
                          runs};
    };
    switchYears(QStringLiteral("harvest tab, %L1 harvests").arg(kHarvests));
    tab.diaryRadio()->setChecked(true);
    painted(&window);
    switchYears(QStringLiteral("harvest tab, %L1 diary entries").arg(kEntries));
    const THarvestBook& book = *window.context().harvest;
    int found = 0;
    const double thisDay = medianMs(
        runs, {{[&] {
            found = int(ThisDayInEarlierYears(book.shukaku, book.nikki, QDate(2026, 7, 14)).harvests.size());
        }}})[0];
    if (found == 0)
        throw std::runtime_error("この日の記録 found nothing");
    figures << Figure{
        QStringLiteral("この日の記録 over both lists"), thisDay, QString(), 0, 0, kTargetMs, runs};
    return figures;
}

} // namespace bench
