#include "report/band.h"

#include "report/mm_canvas.h"

namespace report {

void Band::addText(const QString& text, const QRectF& cell, const QFont& font, Qt::Alignment alignment) {
    m_texts << BandText{BandText::Source::Fixed, text, 0, cell, font, alignment};
}

void Band::addField(int field, const QRectF& cell, const QFont& font, Qt::Alignment alignment) {
    m_texts << BandText{BandText::Source::Field, QString(), field, cell, font, alignment};
}

void Band::addPageNumber(const QRectF& cell, const QFont& font, Qt::Alignment alignment) {
    m_texts << BandText{BandText::Source::PageNumber, QString(), 0, cell, font, alignment};
}

QString Band::textOf(const BandText& text, const QStringList& fields, int pageNumber) const {
    switch (text.source) {
    case BandText::Source::Fixed:
        return text.text;
    case BandText::Source::Field:
        return fields.value(text.field);
    case BandText::Source::PageNumber:
        return QString::number(pageNumber);
    }
    return QString();
}

// Texts first, so the lines of the grid stay whole where a text runs up to them.
void Band::paint(MmCanvas& canvas, double topMm, const QStringList& fields, int pageNumber) const {
    const QPointF offset(0, topMm);
    for (const BandText& text : m_texts)
        canvas.text(text.cell.translated(offset), textOf(text, fields, pageNumber), text.font,
                    text.alignment);
    for (const QRectF& frame : m_frames)
        canvas.frame(frame.translated(offset));
    for (const QLineF& line : m_lines)
        canvas.line(line.p1() + offset, line.p2() + offset);
}

} // namespace report
