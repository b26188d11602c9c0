#include "widgets/tab_layout.h"

namespace tabs {

QLabel* hint(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* button(const QString& caption, const char* objectName, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    b->setDefault(false);
    b->setMinimumWidth(75);
    return b;
}

void fitToCaption(QPushButton* button) {
    button->setFixedWidth(qMax(button->fontMetrics().horizontalAdvance(button->text()) + 14, 56));
}

QHBoxLayout* commandRow() {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    return row;
}

void addRight(QHBoxLayout* row, QWidget* widget) {
    row->addStretch(1);
    row->addWidget(widget);
}

} // namespace tabs
