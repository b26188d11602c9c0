#include "data_sets.h"
#include "figures.h"
#include "timing.h"

#include "image/jpeg_writer.h"
#include "plans/plan_chart.h"
#include "plans/plan_records.h"
#include "settings/preferences.h"

#include <QFile>
#include <QStandardPaths>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace bench {

namespace {

constexpr double kChartTargetMs = 20;
constexpr double kJpegTargetRatio = 1.2;

TGroupList loadPlan(const QString& folder) {
    TGroupList plan;
    store::RecordingSink sink;
    const bool loaded = plan.LoadFromFile(folder, PlanFiles().front().fileName, sink);
    expectLoaded(loaded, sink, plan.CropCount(), kPlanGroups * kPlanEntries, folder);
    return plan;
}

// Starts the program and waits for it; throws unless it ends well.
void runChild(const QString& program, const QStringList& arguments) {
    std::vector<QByteArray> texts{QFile::encodeName(program)};
    for (const QString& a : arguments)
        texts.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& t : texts)
        argv.push_back(t.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the child process failed: " + program.toStdString());
}

Figure chartFigure(TGroupList& plan, QImage& chart, int runs) {
    const double ms = medianMs(runs, {{[&] { DrawChart(plan, chart, settings::kDefaultImageCaption); }}})[0];
    const QString name = QStringLiteral("DrawChart (%L1 entries, %2x%3 px)")
                             .arg(plan.CropCount())
                             .arg(chart.width())
                             .arg(chart.height());
    return {name, ms, QString(), 0, 0, kChartTargetMs, runs};
}

Figure jpegFigure(const QImage& chart, const QString& scratch, int runs) {
    const QString name = QStringLiteral("encodeJpeg of the chart");
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (cjpeg.isEmpty())
        return {name + QStringLiteral(" (cjpeg not installed)"),
                medianMs(runs, {{[&] { image::encodeJpeg(chart); }}})[0],
                QString(),
                0,
                0,
                0,
                runs};
    const QString ppm = scratch + QStringLiteral("chart.ppm");
    const QString out = scratch + QStringLiteral("cjpeg.jpg");
    if (!chart.convertToFormat(QImage::Format_RGB888).save(ppm, "PPM"))
        throw std::runtime_error("cannot write the chart as PPM");
    const QStringList arguments = {"-quality", "90", "-baseline", "-outfile", out, ppm};
    QByteArray ours;
    const QList<double> ms =
        medianMs(runs, {{[&] { ours = image::encodeJpeg(chart); }}, {[&] { runChild(cjpeg, arguments); }}});
    qInfo("JPEG of the chart: ours %lld bytes, cjpeg %lld bytes", qlonglong(ours.size()),
          qlonglong(QFile(out).size()));
    return {name, ms[0], QStringLiteral("cjpeg -quality 90 -baseline (child)"), ms[1], kJpegTargetRatio,
            0,    runs};
}

} // namespace

QList<Figure> chartFigures(const QString& root, const QString& scratch, int runs) {
    qInfo("measuring the chart");
    TGroupList plan = loadPlan(planFolder(root));
    QImage chart;
    const Figure drawn = chartFigure(plan, chart, runs);
    return {drawn, jpegFigure(chart, scratch, runs)};
}

} // namespace bench
