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

// The field as it stands, or in double quotes with inner quotes doubled when it
// holds a comma, a quote or a line break.
QString field(const QString& text);
// The byte order mark, then every row with CR LF.
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

// The catalogue in its order without the dummy crop, the note's lines kept as
// line breaks inside their field.
CsvExport CropsCsv(const TSakumotuList& crops);
