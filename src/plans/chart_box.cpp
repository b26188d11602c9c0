#include "plans/chart_box.h"

#include <QPainter>
#include <exception>

TChartBox::TChartBox(const QImage* image, Draw draw, QWidget* parent)
    : QWidget(parent), m_image(image), m_draw(std::move(draw)) {
    setObjectName(QStringLiteral("PaintBox1"));
}

// The finer drawing is made with the image, so both show the plan as it was
// when it was redrawn.
void TChartBox::imageChanged() {
    setFixedSize(m_image && !m_image->isNull() ? m_image->size() : QSize(0, 0));
    m_sharp = QImage();
    drawSharp(devicePixelRatioF());
    update();
}

// A plan too large to draw finer is shown enlarged, as it was drawn for saving.
void TChartBox::drawSharp(qreal ratio) {
    if (ratio == 1.0 || !m_draw || !m_image || m_image->isNull())
        return;
    try {
        m_draw(m_sharp, ratio);
    } catch (const std::exception&) {
        m_sharp = QImage();
    }
}

const QImage& TChartBox::shownImage() {
    const qreal ratio = devicePixelRatioF();
    // Moved to a screen of another scale.
    if (ratio != 1.0 && (m_sharp.isNull() || m_sharp.devicePixelRatio() != ratio))
        drawSharp(ratio);
    return ratio != 1.0 && !m_sharp.isNull() ? m_sharp : *m_image;
}

void TChartBox::paintEvent(QPaintEvent*) {
    if (!m_image || m_image->isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), shownImage());
}
