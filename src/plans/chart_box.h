#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// The chart area's canvas: shows the chart image at (0, 0) and is exactly as
// large as the image, so the area scrolls over it. On a screen at a scale
// above 100 % the same chart is drawn again at the screen's pixel ratio, so it
// comes out sharp rather than enlarged; the image itself, which is what gets
// saved, keeps its size.
class TChartBox : public QWidget {
    Q_OBJECT
public:
    // Draws the chart into an image at the given pixel ratio.
    using Draw = std::function<void(QImage& image, qreal pixelRatio)>;

    TChartBox(const QImage* image, Draw draw, QWidget* parent = nullptr);

    // Takes the image's new size after a redraw and paints it again.
    void imageChanged();
    // What the screen shows: the image itself, or its finer drawing.
    const QImage& shownImage();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawSharp(qreal ratio);

    const QImage* m_image;
    Draw m_draw;
    QImage m_sharp; // null at a pixel ratio of 1
};
