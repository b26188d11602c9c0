#pragma once

#include <QDate>
#include <QDialog>

class QTreeWidget;
class THarvestBook;

// この日の記録: the harvests and diary entries of the same days in every
// earlier year, newest year first, each with its date.
class TThisDayWindow : public QDialog {
    Q_OBJECT
public:
    TThisDayWindow(const THarvestBook& book, const QDate& around, QWidget* parent = nullptr);

    QTreeWidget* rows() const { return m_rows; }

private:
    QTreeWidget* m_rows;
};
