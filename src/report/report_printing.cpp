#include "report/report_printing.h"

#include "report/report.h"
#include "widgets/platform.h"

#include <QPrinter>

namespace report {

namespace {

PageSelection chosenBy(QPrinter& printer) {
    PageSelection selection;
    if (printer.printRange() == QPrinter::PageRange)
        selection.ranges = printer.pageRanges();
    // A printer that makes its own copies gets the pages once.
    selection.copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    return selection;
}

} // namespace

void printWithDialog(const Report& report, RowSource& rows, Platform& platform) {
    const int pageCount = int(report.prepare(rows).size());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(report.fullPageLayout());
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(1, pageCount);
    printer.setCopyCount(1);
    if (!platform.printDialog(printer))
        return;
    if (report.print(printer, rows, chosenBy(printer)) < 0)
        platform.error(QStringLiteral("印刷を開始できませんでした。"));
}

} // namespace report
