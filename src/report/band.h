#pragma once

#include <QFont>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace report {

class MmCanvas;

// One text of a band: fixed, a field of the current row, or the page number.
struct BandText {
    enum class Source { Fixed, Field, PageNumber };
    Source source = Source::Fixed;
    QString text;  // for Fixed
    int field = 0; // for Field: index into the row's texts
    QRectF cell;   // millimetres within the band; the text is cut at its edges
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// A horizontal strip of fixed height holding texts, frames and lines at
// positions in millimetres from its top-left corner. It never grows with its texts.
class Band {
public:
    explicit Band(double heightMm = 0) : m_height(heightMm) {}

    double height() const { return m_height; }
    const QList<BandText>& texts() const { return m_texts; }

    void addText(const QString& text, const QRectF& cell, const QFont& font,
                 Qt::Alignment alignment = Qt::AlignLeft);
    void addField(int field, const QRectF& cell, const QFont& font, Qt::Alignment alignment = Qt::AlignLeft);
    void addPageNumber(const QRectF& cell, const QFont& font, Qt::Alignment alignment = Qt::AlignRight);
    void addFrame(const QRectF& rect) { m_frames << rect; }
    void addLine(const QPointF& from, const QPointF& to) { m_lines << QLineF(from, to); }

    // The texts a band shows for a row and a page.
    QString textOf(const BandText& text, const QStringList& fields, int pageNumber) const;
    // Paints the band with its top at topMm on the canvas.
    void paint(MmCanvas& canvas, double topMm, const QStringList& fields, int pageNumber) const;

private:
    double m_height;
    QList<BandText> m_texts;
    QList<QRectF> m_frames;
    QList<QLineF> m_lines;
};

} // namespace report
