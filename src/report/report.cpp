#include "report/report.h"

#include "report/mm_canvas.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

namespace report {

QSizeF Report::bodySize() const {
    const QSizeF paper = pageSize.size(QPageSize::Millimeter);
    return {paper.width() - margins.left() - margins.right(),
            paper.height() - margins.top() - margins.bottom()};
}

// A small allowance keeps a page that fits exactly from losing its last row to rounding.
int Report::rowsPerPage() const {
    const double room = bodySize().height() - pageHeader.height() - columnHeader.height();
    if (detail.height() <= 0)
        return 1;
    return qMax(1, int(std::floor(room / detail.height() + 1e-9)));
}

QList<Page> Report::prepare(RowSource& rows) const {
    rows.reset();
    QList<Page> pages{Page()};
    const int perPage = rowsPerPage();
    QStringList fields;
    while (rows.next(fields)) {
        if (pages.last().rows.size() == perPage)
            pages << Page();
        pages.last().rows << fields;
        fields.clear();
    }
    return pages;
}

void Report::paintPage(QPainter& painter, const Page& page, int number) const {
    MmCanvas canvas(painter, QPointF(margins.left(), margins.top()));
    double top = 0;
    pageHeader.paint(canvas, top, {}, number);
    top += pageHeader.height();
    columnHeader.paint(canvas, top, {}, number);
    top += columnHeader.height();
    for (const QStringList& row : page.rows) {
        detail.paint(canvas, top, row, number);
        top += detail.height();
    }
}

QList<int> Report::chosenPages(int pageCount, const PageSelection& selection) const {
    QList<int> chosen;
    for (int number = 1; number <= pageCount; ++number)
        if (selection.ranges.isEmpty() || selection.ranges.contains(number))
            chosen << number;
    return chosen;
}

// The margins are ours, so the painter's origin must be the paper's corner.
QPageLayout Report::fullPageLayout() const {
    QPageLayout layout(pageSize, QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter, QMarginsF());
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

int Report::print(QPagedPaintDevice& device, RowSource& rows, const PageSelection& selection) const {
    const QList<Page> pages = prepare(rows);
    const QList<int> chosen = chosenPages(int(pages.size()), selection);
    const int copies = qMax(1, selection.copies);
    if (chosen.isEmpty())
        return 0;
    device.setPageLayout(fullPageLayout());
    // The range has been applied here; a device that read it again would cut twice.
    device.setPageRanges(QPageRanges());
    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    int painted = 0;
    for (int copy = 0; copy < copies; ++copy)
        for (int number : chosen) {
            if (painted > 0)
                device.newPage();
            paintPage(painter, pages.at(number - 1), number);
            ++painted;
        }
    painter.end();
    return painted;
}

} // namespace report
