#pragma once

#include "report/report.h"

class TSakumotuList;

// The printed crop list: the report definition and its row loop. It carries the
// report and is never shown; each print makes one and discards it.
class TForm39 : public report::RowSource {
public:
    explicit TForm39(const TSakumotuList& crops);

    const report::Report& report() const { return m_report; }

    // The row loop: the counter walks the catalogue in its own order, past the dummy crop.
    void reset() override { m_counter = 0; }
    bool next(QStringList& fields) override;

    // The four texts of a detail row.
    enum Field { FieldName, FieldVarieties, FieldPeriods, FieldSpacing };

private:
    void buildPageHeader();
    void buildColumnHeader();
    void buildDetail();

    const TSakumotuList& m_crops;
    int m_counter = 0;
    report::Report m_report;
};
