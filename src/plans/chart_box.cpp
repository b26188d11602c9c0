#include "plans/chart_box.h"

#include <QImage>
#include <QPainter>

TChartBox::TChartBox(const QImage* image, QWidget* parent) : QWidget(parent), m_image(image) {
    setObjectName(QStringLiteral("PaintBox1"));
}

void TChartBox::imageChanged() {
    setFixedSize(m_image && !m_image->isNull() ? m_image->size() : QSize(0, 0));
    update();
}

void TChartBox::paintEvent(QPaintEvent*) {
    if (!m_image || m_image->isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, *m_image);
}
