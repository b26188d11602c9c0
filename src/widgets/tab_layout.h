#pragma once

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QString>

// Small builders shared by the tabs, so every hint line and command row looks alike.
namespace tabs {

QLabel* hint(const QString& text, QWidget* parent);
QPushButton* button(const QString& caption, const char* objectName, QWidget* parent);
// For crowded rows: the button is only as wide as its caption needs.
void fitToCaption(QPushButton* button);
// A row along the bottom: buttons added to it sit left; addRight puts them right.
QHBoxLayout* commandRow();
void addRight(QHBoxLayout* row, QWidget* widget);

} // namespace tabs
