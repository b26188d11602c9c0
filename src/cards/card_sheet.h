#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;

// A record card as drawn: a framed table on white, captions on the left of the
// divider at x 120, values on its right. Everything is placed in pixels of the
// client area, and what lies near the right or bottom edge follows that edge
// when the card is resized.
namespace cards {

// A coordinate from the near (left or top) or the far (right or bottom) edge.
struct Edge {
    int offset = 0;
    bool fromFar = false;
    int at(int extent) const { return fromFar ? extent - offset : offset; }
};
inline Edge nearEdge(int offset) {
    return {offset, false};
}
inline Edge farEdge(int offset) {
    return {offset, true};
}

// A box by its four edges; right and bottom are exclusive.
struct Place {
    Edge left, top, right, bottom;
    QRect rect(const QSize& size) const;
};

enum class FontKind {
    Caption,      // Tahoma 13 pixels
    SmallCaption, // Tahoma 12 pixels, for the long captions
    Value,        // Tahoma 13 pixels
    MultiLine,    // ＭＳ ゴシック 13 pixels, fixed pitch
};
QFont cardFont(FontKind kind);
// The card window's own 11-pixel font, for its buttons and notes.
QFont windowFont();
// The default 8-point user-interface font the footer is written in.
QFont footerFont();

struct CardText {
    Place place;
    QString text;
    FontKind font = FontKind::Value;
    Qt::Alignment alignment = Qt::AlignLeft;
    // A multi-line text keeps its line breaks and stacks its lines lineStep
    // apart (0: the font's line spacing); wrapped, it also breaks long lines
    // at word boundaries. Either way it is cut at the bottom of its box.
    bool multiLine = false;
    bool wrap = false;
    int lineStep = 0;
};

// Lines of two columns in the multi-line font, one line each and never
// wrapped: a name on the left and a figure right-aligned on the right.
struct CardLines {
    Place place; // both columns; the figures end at its right edge
    QStringList names;
    QStringList figures;
    // When the lines do not all fit, the last line that fits stands for itself
    // and every line after it, and reads restNames[i] and restFigures[i] in
    // place of line i.
    QStringList restNames;
    QStringList restFigures;
    // The figure column is this wide, or wider when a figure shown needs it:
    // a figure is never cut. The names then give up the room.
    int figureWidth = 0;
    int gap = 0; // between the names and the figures
};

struct CardSheet {
    QSize clientSize;
    QList<int> dividers;      // horizontal, across the frame
    QList<int> valueDividers; // horizontal, across the value column only
    QList<CardText> texts;
    QList<CardLines> lines;
};

// The names and figures shown when `fitting` lines fit.
struct ShownLines {
    QStringList names;
    QStringList figures;
};
ShownLines shownLines(const CardLines& lines, int fitting);

// The frame leaves 17 pixels on the left, 19 at the top, 16 on the right and 45 at the bottom.
QRect frameRect(const QSize& size);
inline constexpr int kDividerX = 120;
inline constexpr int kCaptionX = 31;
inline constexpr int kValueX = 128;

// Paints the sheet for a client area of the given size on a white ground.
void paintSheet(QPainter& painter, const CardSheet& sheet, const QSize& size);

// The footer of a saved card: the user's caption, black on opaque white, 40
// pixels above the bottom edge. An empty caption leaves the image untouched.
void drawFooter(QImage& image, const QString& caption);
inline constexpr int kFooterX = 20;
inline constexpr int kFooterRise = 40;

} // namespace cards
