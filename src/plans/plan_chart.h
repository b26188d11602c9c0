#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <utility>

class ChartCanvas;
class TGroupList;

// The plan chart: groups down the left, seventeen month columns from February
// to the June of the following year, one 28-pixel line per row of a group and
// each crop as a double-headed arrow over its weeks with its name under it.
namespace chart {
inline constexpr int kImageWidth = 697;
inline constexpr int kHeaderHeight = 17;
inline constexpr int kLabelWidth = 100;
inline constexpr int kMonthWidth = 35;
inline constexpr int kWeekWidth = 7;
inline constexpr int kMonthColumns = 17;
inline constexpr int kRowHeight = 28;
inline constexpr int kFooterRoom = 30;
inline constexpr int kArrowHeadLength = 10;
inline constexpr int kArrowHeadAngle = 20;
// Coordinates beyond this come only from hand-edited files; such arrows are not drawn.
inline constexpr int kFarAway = 1 << 22;

// The chart texts: 9 points at 96 dots per inch, Japanese-capable.
QFont font();
} // namespace chart

// Plan colours are 0x00BBGGRR, red in the low byte.
QColor ChartColor(int bgr);
int BgrColor(const QColor& colour);

// Lays the plan out and draws the whole chart into the image, which it sizes.
// A plan with crops has room for a footer under the frame, where the caption
// stands; an empty caption leaves the room empty. A pixel ratio above 1 draws
// the same chart on that many image pixels per chart pixel, for a screen at
// that scale; what is saved is always drawn at 1.
void DrawChart(TGroupList& plan, QImage& image, const QString& caption, qreal pixelRatio = 1.0);
// The two outer points of an arrow head at (x2, y2), each stroke at the angle to
// the shaft, rounded to the nearest pixel with ties to the even one.
std::pair<QPoint, QPoint> ArrowHeadPoints(int x1, int y1, int x2, int y2, int length, int angleDegrees);
// A straight shaft from (x1, y1) to (x2, y2) and an open (or filled) head of two
// strokes of the given length at the given angle to the shaft, at (x2, y2).
void DrawArrow(ChartCanvas& canvas, int x1, int y1, int x2, int y2, int length, int angleDegrees,
               bool filled);
