#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class TCostRefList;
class TSakumotuList;

// Purchases and crops as comma-separated files for spreadsheet programs:
// RFC 4180 quoting, UTF-8 with a byte order mark (without it, spreadsheets in
// Japan read the file as Shift-JIS), CR LF after every record.

namespace csv {

// A text that starts with =, +, -, @, a tab, a CR or ' gets a ' in front, so
// that no spreadsheet reads it as a formula; a plain number (-500) stays as it
// is. Taking the first ' off a cell that starts with one of those after it
// gives the text back.
QString guarded(const QString& text);
// The field as it stands, or in double quotes with inner quotes doubled when it
// holds a comma, a quote or a line break.
QString field(const QString& text);
// The byte order mark, then every row with CR LF; a guarded cell that got its
// mark is always in double quotes.
QByteArray document(const QList<QStringList>& rows);

} // namespace csv

struct CsvExport {
    QByteArray bytes;
    int records = 0; // purchases or crops
    int rows = 0;    // rows below the header
};

// One row per line of every purchase shown, dated as the purchase tab shows it,
// amounts as plain whole numbers; they add up to the list's ListTotal.
CsvExport PurchasesCsv(const TCostRefList& shown);

// The catalogue in its order without the dummy crop, every stored text in a
// cell of its own and exactly as stored: name, family, both varieties, the
// three spacings, start and end of each period (five pairs, or as many as the
// crop with the most has), and the note with its lines joined by LF.
CsvExport CropsCsv(const TSakumotuList& crops);
