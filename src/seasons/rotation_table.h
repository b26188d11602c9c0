#pragma once

#include "seasons/rotation.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace seasons {

// One bed in one year: the families grown there, each with its crops, and
// whether one of them came back before its gap was over.
struct RotationCell {
    QStringList families; // in the order first grown; empty text for crops without a family
    QList<QStringList> crops;
    bool conflict = false;
    QString conflictNote; // the tooltip when conflict

    bool isEmpty() const { return families.isEmpty(); }
    // 「ナス科：ナス、トマト」 one family a line; a conflict starts with ※.
    QString text() const;
};

// Beds as rows (in the order their names sort), years as columns (each year
// something grew, ascending).
struct RotationTable {
    QStringList beds;
    QList<int> years;
    QList<QList<RotationCell>> cells; // [bed][year]
};

RotationTable BuildRotationTable(const RotationBook& book);

// The table for spreadsheets: the header 畝 and the years, one row a bed,
// each cell its text; guarded against formulas as every export of the notebook.
QByteArray RotationCsv(const RotationTable& table);

} // namespace seasons
