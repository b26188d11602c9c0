#include "plans/plan_chart.h"

#include "plans/chart_canvas.h"
#include "plans/plan_records.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace {

struct MonthLabel {
    int month;
    int x; // 15 pixels into the column, 12 for the two-digit months
};

constexpr MonthLabel kMonthLabels[chart::kMonthColumns] = {
    {2, 115},  {3, 150},  {4, 185}, {5, 220}, {6, 255}, {7, 290}, {8, 325}, {9, 360}, {10, 392},
    {11, 427}, {12, 462}, {1, 500}, {2, 535}, {3, 570}, {4, 605}, {5, 640}, {6, 675},
};

int roundHalfEven(double v) {
    return int(std::nearbyint(v));
}

void drawGrid(ChartCanvas& canvas, int h0) {
    using namespace chart;
    canvas.line({0, 0}, {kImageWidth, 0});
    canvas.line({0, kHeaderHeight}, {kImageWidth, kHeaderHeight});
    canvas.line({0, h0 - 1}, {kImageWidth, h0 - 1});
    canvas.line({0, 0}, {0, h0});
    canvas.line({kLabelWidth, 0}, {kLabelWidth, h0});
    for (int k = 0; k < kMonthColumns - 1; ++k) {
        const int x = kLabelWidth + kMonthWidth * (k + 1);
        canvas.dottedLine({x, 0}, {x, h0 - 1});
    }
    canvas.line({kImageWidth - 1, 0}, {kImageWidth - 1, h0});
}

void drawHeader(ChartCanvas& canvas) {
    canvas.text({5, 2}, QStringLiteral("グループ（畝など）"));
    for (const MonthLabel& label : kMonthLabels)
        canvas.text({label.x, 2}, QString::number(label.month));
}

// An entry that cannot be placed, or whose arrow would have no length and so
// no direction, shows no arrow; the rest of the chart is drawn as usual.
void drawEntry(ChartCanvas& canvas, const TSakumotu2& entry) {
    if (entry.IsDummy() || !entry.hasStart)
        return;
    const qint64 top = qint64(entry.Y) + entry.down;
    if (std::llabs(top) > chart::kFarAway)
        return;
    const int y = int(top);
    if (entry.hasEnd && entry.EdX != entry.StX) {
        const int ya = y + 8;
        DrawArrow(canvas, entry.StX, ya, entry.EdX, ya, chart::kArrowHeadLength, chart::kArrowHeadAngle,
                  false);
        DrawArrow(canvas, entry.EdX, ya, entry.StX, ya, chart::kArrowHeadLength, chart::kArrowHeadAngle,
                  false);
    }
    canvas.text({entry.StX + 5, y + 11}, entry.name);
}

void drawGroup(ChartCanvas& canvas, const TGroup& group, const TGroupList& plan) {
    canvas.setPenColor(ChartColor(plan.SenColor));
    canvas.line({0, group.Top}, {chart::kImageWidth, group.Top});
    canvas.wrappedText(QRect(QPoint(5, group.Top), QPoint(chart::kLabelWidth - 1, group.Bottom - 1)),
                       group.name);
    canvas.setPenColor(ChartColor(plan.YajirusiColor));
    for (int i = 0; i < group.count(); ++i)
        drawEntry(canvas, *group.at(i));
}

} // namespace

QFont chart::font() {
    QFont font;
    // Tahoma where it exists, with the first Japanese face for what it cannot show.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("IPAexGothic"), QStringLiteral("IPAGothic")});
    font.setStyleHint(QFont::SansSerif);
    // The same grey edges on every desktop; colour fringes would also blur in the JPEG.
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    font.setPixelSize(12);
    return font;
}

QColor ChartColor(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

int BgrColor(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

std::pair<QPoint, QPoint> ArrowHeadPoints(int x1, int y1, int x2, int y2, int length, int angleDegrees) {
    const double t = angleDegrees * M_PI / 180.0;
    // atan2 also covers the vertical shaft, where the quotient has no value.
    const double a = std::atan2(std::abs(double(y1) - y2), std::abs(double(x2) - x1));
    const double sx = x2 >= x1 ? -1.0 : 1.0;
    const double sy = y2 >= y1 ? -1.0 : 1.0;
    return {QPoint(roundHalfEven(x2 + sx * length * std::cos(a - t)),
                   roundHalfEven(y2 + sy * length * std::sin(a - t))),
            QPoint(roundHalfEven(x2 + sx * length * std::cos(a + t)),
                   roundHalfEven(y2 + sy * length * std::sin(a + t)))};
}

void DrawArrow(ChartCanvas& canvas, int x1, int y1, int x2, int y2, int length, int angleDegrees,
               bool filled) {
    const auto [p1, p3] = ArrowHeadPoints(x1, y1, x2, y2, length, angleDegrees);
    const QPoint tip(x2, y2);
    canvas.line({x1, y1}, tip);
    if (filled)
        canvas.polygon({p1, tip, p3});
    else
        canvas.polyline({p1, tip, p3});
}

void DrawChart(TGroupList& plan, QImage& image, const QString& caption, qreal pixelRatio) {
    using namespace chart;
    plan.Layout();
    const int h0 = plan.ChartHeight();
    const bool footer = plan.CropCount() > 0;
    const int h = footer ? h0 + kFooterRoom : h0;
    const QSize size(kImageWidth, h);
    image = QImage(pixelRatio == 1.0 ? size : (QSizeF(size) * pixelRatio).toSize(), QImage::Format_RGB32);
    if (image.isNull())
        throw std::runtime_error("作付計画が大きすぎて図にできません。");
    image.setDevicePixelRatio(pixelRatio);
    ChartCanvas canvas(image);
    canvas.setFont(font());
    canvas.fillRect(QRect(QPoint(0, 0), size), ChartColor(plan.HaikeiColor));
    canvas.setPenColor(ChartColor(plan.SenColor));
    drawGrid(canvas, h0);
    canvas.setTextColor(ChartColor(plan.MojiColor));
    drawHeader(canvas);
    if (footer && !caption.isEmpty())
        canvas.text({10, h - 25}, caption);
    for (int i = 0; i < plan.count(); ++i)
        if (plan.at(i)->count() > 0)
            drawGroup(canvas, *plan.at(i), plan);
}
