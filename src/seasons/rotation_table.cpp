#include "seasons/rotation_table.h"

#include "exports/csv_export.h"

#include <QCollator>
#include <QMap>
#include <algorithm>

namespace seasons {

namespace {

void addToCell(RotationCell& cell, const Planting& p) {
    qsizetype at = cell.families.indexOf(p.family);
    if (at < 0) {
        cell.families << p.family;
        cell.crops << QStringList();
        at = cell.families.size() - 1;
    }
    if (!cell.crops[at].contains(p.crop))
        cell.crops[at] << p.crop;
}

} // namespace

QString RotationCell::text() const {
    QStringList lines;
    for (qsizetype i = 0; i < families.size(); ++i) {
        const QString family = families[i].isEmpty() ? QStringLiteral("科目なし") : families[i];
        lines << family + QStringLiteral("：") + crops[i].join(QStringLiteral("、"));
    }
    return (conflict ? QStringLiteral("※") : QString()) + lines.join(QLatin1Char('\n'));
}

RotationTable BuildRotationTable(const RotationBook& book) {
    RotationTable table;
    QMap<QString, QString> bedNames; // key → the name first seen
    QList<int> years;
    for (const Planting& p : book.plantings()) {
        if (!bedNames.contains(p.bedKey))
            bedNames.insert(p.bedKey, p.bedName.trimmed());
        if (!years.contains(p.year))
            years << p.year;
    }
    // Only the years something grew: a year mistyped far off adds one column, not thousands.
    std::sort(years.begin(), years.end());
    table.years = years;
    QStringList keys = bedNames.keys();
    QCollator collator(QLocale(QLocale::Japanese));
    collator.setNumericMode(true);
    std::stable_sort(keys.begin(), keys.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    for (const QString& key : keys) {
        table.beds << bedNames.value(key);
        table.cells << QList<RotationCell>(table.years.size());
    }
    for (const Planting& p : book.plantings()) {
        RotationCell& cell = table.cells[keys.indexOf(p.bedKey)][years.indexOf(p.year)];
        addToCell(cell, p);
        const std::vector<Planting> earlier = book.conflicts(p.bedKey, p.year, p.family, p.gap);
        if (!earlier.empty() && !cell.conflict) {
            cell.conflict = true;
            cell.conflictNote = p.crop + QStringLiteral("　") + ConflictNote(p.family, p.gap, earlier);
        }
    }
    return table;
}

QByteArray RotationCsv(const RotationTable& table) {
    QList<QStringList> rows;
    QStringList header{QStringLiteral("畝")};
    for (int year : table.years)
        header << QStringLiteral("%1年度").arg(year);
    rows << header;
    for (qsizetype b = 0; b < table.beds.size(); ++b) {
        QStringList row{table.beds[b]};
        for (const RotationCell& cell : table.cells[b])
            row << cell.text();
        rows << row;
    }
    return csv::document(rows);
}

} // namespace seasons
