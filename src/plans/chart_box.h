#pragma once

#include <QWidget>

class QImage;

// The chart area's canvas: copies the chart image to the screen at (0, 0),
// unchanged, and is exactly as large as the image so the area scrolls over it.
class TChartBox : public QWidget {
    Q_OBJECT
public:
    explicit TChartBox(const QImage* image, QWidget* parent = nullptr);

    // Takes the image's new size after a redraw and paints it again.
    void imageChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage* m_image;
};
