#pragma once

#include "report/band.h"

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;

namespace report {

// Hands the report its rows one at a time. reset() runs before every pass,
// the preparation as well as each print.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual void reset() = 0;
    // The texts of the next row; false when there are no more rows.
    virtual bool next(QStringList& fields) = 0;
};

// The rows that fell on one page.
struct Page {
    QList<QStringList> rows;
};

// Which prepared pages go to the device, and how often.
struct PageSelection {
    QPageRanges ranges; // empty: every page
    int copies = 1;     // whole runs of the chosen pages, one after another
};

// A banded report: on every page a page header and a column header, then as
// many detail bands as fit above the bottom margin, one per row.
class Report {
public:
    QPageSize pageSize{QPageSize::A4};
    QMarginsF margins{10, 10, 10, 10}; // millimetres
    Band pageHeader;
    Band columnHeader;
    Band detail;

    // Portrait paper less the margins, in millimetres.
    QSizeF bodySize() const;
    int rowsPerPage() const;

    // Runs the row loop once and lays the rows out on pages. A report without
    // rows still has one page carrying its headers.
    QList<Page> prepare(RowSource& rows) const;

    // Prepares again and paints the chosen pages on the device, which is set to
    // full-page portrait paper first. Returns the number of pages painted, or -1
    // when the device would not start.
    int print(QPagedPaintDevice& device, RowSource& rows, const PageSelection& selection) const;

    // Paints one page (numbered from 1) with the painter's origin at the paper's corner.
    void paintPage(QPainter& painter, const Page& page, int number) const;

    QPageLayout fullPageLayout() const;

private:
    QList<int> chosenPages(int pageCount, const PageSelection& selection) const;
};

} // namespace report
