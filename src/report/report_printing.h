#pragma once

class Platform;

namespace report {

class Report;
class RowSource;

// Prepares the report to count its pages, then offers the print dialog: the
// default printer preselected, pages 1 to that count with all chosen, one copy.
// Prints the chosen range and copies on the chosen printer; a cancelled dialog
// prints nothing. A printer that will not start goes to the general error box.
void printWithDialog(const Report& report, RowSource& rows, Platform& platform);

} // namespace report
