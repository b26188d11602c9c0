#include "crops/crop_list_report.h"

#include "crops/crop_records.h"
#include "report/mincho.h"

namespace {

constexpr double kWidth = 190;
constexpr double kNameRight = 34.0;
constexpr double kVarietiesRight = 76.9;

// The grid shared by the column header and the detail: a frame, two
// vertical lines and a horizontal one across the right cell only.
void addGrid(report::Band& band, double middle) {
    band.addFrame(QRectF(0, 0, kWidth, band.height()));
    band.addLine(QPointF(kNameRight, 0), QPointF(kNameRight, band.height()));
    band.addLine(QPointF(kVarietiesRight, 0), QPointF(kVarietiesRight, band.height()));
    band.addLine(QPointF(kVarietiesRight, middle), QPointF(kWidth, middle));
}

// A cell from a text's position to the right edge it is cut at.
QRectF cell(double left, double top, double right, const report::Band& band) {
    return QRectF(left, top, right - left, band.height() - top);
}

} // namespace

TForm39::TForm39(const TSakumotuList& crops) : m_crops(crops) {
    m_report.pageHeader = report::Band(15.1);
    m_report.columnHeader = report::Band(13.8);
    m_report.detail = report::Band(13.5);
    buildPageHeader();
    buildColumnHeader();
    buildDetail();
}

void TForm39::buildPageHeader() {
    report::Band& band = m_report.pageHeader;
    band.addText(QStringLiteral("作 物 一 覧"), cell(81.8, 6.4, kWidth, band), report::minchoFont(14));
    band.addPageNumber(cell(162.5, 1.9, 173.3, band), report::pMinchoFont(10), Qt::AlignRight);
    band.addText(QStringLiteral("ページ"), cell(174.6, 1.9, kWidth, band), report::pMinchoFont(10));
}

void TForm39::buildColumnHeader() {
    report::Band& band = m_report.columnHeader;
    addGrid(band, 7.0);
    const QFont font = report::minchoFont(10);
    band.addText(QStringLiteral("作物名"), cell(1.9, 4.8, kNameRight, band), font);
    band.addText(QStringLiteral("お気に入り品種"), cell(35.5, 4.8, kVarietiesRight, band), font);
    band.addText(QStringLiteral("栽培時期"), cell(78.1, 1.6, kWidth, band), font);
    band.addText(QStringLiteral("間隔"), cell(78.1, 8.7, kWidth, band), font);
}

void TForm39::buildDetail() {
    report::Band& band = m_report.detail;
    addGrid(band, 6.8);
    const QFont font = report::pMinchoFont(10);
    band.addField(FieldName, cell(1.9, 5.0, kNameRight, band), font);
    band.addField(FieldVarieties, cell(35.5, 5.0, kVarietiesRight, band), font);
    band.addField(FieldPeriods, cell(78.1, 1.6, kWidth, band), font);
    band.addField(FieldSpacing, cell(78.1, 8.2, kWidth, band), font);
}

bool TForm39::next(QStringList& fields) {
    while (m_counter < m_crops.count()) {
        const TSakumotu* crop = m_crops.at(m_counter++);
        if (crop->name == kDummyCropName)
            continue;
        fields = {crop->name, crop->VarietiesText(), PeriodsText(crop->jiki), crop->SpacingText()};
        return true;
    }
    return false;
}
