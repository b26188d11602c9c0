#include "cards/card_sheet.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace cards {

QRect Place::rect(const QSize& size) const {
    const int x = left.at(size.width());
    const int y = top.at(size.height());
    return QRect(x, y, right.at(size.width()) - x, bottom.at(size.height()) - y);
}

namespace {

QFont uiFont(int pixels) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("IPAexGothic"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

QFont gothicFont(int pixels) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("IPAexGothic"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(pixels);
    return font;
}

void fillLine(QPainter& painter, int x1, int y1, int x2, int y2) {
    painter.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), Qt::black);
}

void paintFrame(QPainter& painter, const CardSheet& sheet, const QSize& size) {
    const QRect frame = frameRect(size);
    fillLine(painter, frame.left(), frame.top(), frame.right(), frame.top());
    fillLine(painter, frame.left(), frame.bottom(), frame.right(), frame.bottom());
    fillLine(painter, frame.left(), frame.top(), frame.left(), frame.bottom());
    fillLine(painter, frame.right(), frame.top(), frame.right(), frame.bottom());
    fillLine(painter, kDividerX, frame.top(), kDividerX, frame.bottom());
    for (int y : sheet.dividers)
        fillLine(painter, frame.left(), y, frame.right(), y);
    for (int y : sheet.valueDividers)
        fillLine(painter, kDividerX, y, frame.right(), y);
}

// Lines laid out at the box's width and stacked at a fixed step.
void paintLines(QPainter& painter, const QRect& box, const CardText& text, const QFont& font) {
    const int step = text.lineStep > 0 ? text.lineStep : QFontMetrics(font, painter.device()).lineSpacing();
    QTextOption option(text.alignment);
    option.setWrapMode(text.wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    int y = 0;
    for (const QString& paragraph : text.text.split(QLatin1Char('\n'))) {
        if (y >= box.height())
            break;
        if (paragraph.isEmpty()) {
            y += step;
            continue;
        }
        QTextLayout layout(paragraph, font, painter.device());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            line.setPosition(QPointF(0, y));
            y += step;
        }
        layout.endLayout();
        layout.draw(&painter, box.topLeft());
    }
}

void paintTextIn(QPainter& painter, const QRect& box, const CardText& text, const QFont& font) {
    if (box.isEmpty() || text.text.isEmpty())
        return;
    painter.save();
    painter.setClipRect(box);
    painter.setFont(font);
    painter.setPen(Qt::black);
    if (text.multiLine)
        paintLines(painter, box, text, font);
    else
        painter.drawText(box, int(text.alignment | Qt::AlignTop) | Qt::TextSingleLine, text.text);
    painter.restore();
}

void paintText(QPainter& painter, const CardText& text, const QSize& size) {
    paintTextIn(painter, text.place.rect(size), text, cardFont(text.font));
}

// One line of the column per line of the table, stacked at the table's step.
CardText column(const QStringList& lines, Qt::Alignment alignment, int step) {
    CardText text{{}, lines.join(QLatin1Char('\n')), FontKind::MultiLine, alignment};
    text.multiLine = true;
    text.lineStep = step;
    return text;
}

// The largest size, at most the font's own, at which the text is no wider than width.
QFont fittedFont(const QFont& font, const QString& text, int width, const QPaintDevice* device) {
    QFont fitted = font;
    while (fitted.pixelSize() > 1 && QFontMetrics(fitted, device).horizontalAdvance(text) > width)
        fitted.setPixelSize(fitted.pixelSize() - 1);
    return fitted;
}

// The figure column widens into the names for a figure that needs it, up to
// half the table; only a figure wider still is set smaller.
void paintLineTable(QPainter& painter, const CardLines& lines, const QSize& size) {
    const QRect box = lines.place.rect(size);
    const QFont font = cardFont(FontKind::MultiLine);
    const QFontMetrics metrics(font, painter.device());
    const int step = metrics.lineSpacing();
    if (box.isEmpty() || step <= 0)
        return;
    const ShownLines shown = shownLines(lines, box.height() / step);
    QString widest;
    for (const QString& figure : shown.figures)
        if (metrics.horizontalAdvance(figure) > metrics.horizontalAdvance(widest))
            widest = figure;
    const int figureWidth =
        std::max(lines.figureWidth, std::min(metrics.horizontalAdvance(widest), box.width() / 2));
    const int figureLeft = box.right() + 1 - figureWidth;
    paintTextIn(painter, QRect(box.left(), box.top(), figureLeft - lines.gap - box.left(), box.height()),
                column(shown.names, Qt::AlignLeft, step), font);
    // A smaller figure keeps to the baseline of its name.
    const QFont figureFont = fittedFont(font, widest, figureWidth, painter.device());
    const int drop = metrics.ascent() - QFontMetrics(figureFont, painter.device()).ascent();
    paintTextIn(painter, QRect(figureLeft, box.top() + drop, figureWidth, box.height()),
                column(shown.figures, Qt::AlignRight, step), figureFont);
}

} // namespace

ShownLines shownLines(const CardLines& lines, int fitting) {
    const qsizetype count = lines.names.size();
    if (count <= fitting)
        return {lines.names, lines.figures};
    if (fitting <= 0)
        return {};
    ShownLines shown{lines.names.mid(0, fitting), lines.figures.mid(0, fitting)};
    const qsizetype last = fitting - 1;
    if (last < lines.restNames.size() && last < lines.restFigures.size()) {
        shown.names[last] = lines.restNames.at(last);
        shown.figures[last] = lines.restFigures.at(last);
    }
    return shown;
}

QFont cardFont(FontKind kind) {
    switch (kind) {
    case FontKind::SmallCaption:
        return uiFont(12);
    case FontKind::MultiLine:
        return gothicFont(13);
    case FontKind::Caption:
    case FontKind::Value:
        break;
    }
    return uiFont(13);
}

QFont windowFont() {
    return uiFont(11);
}

// 8 points at 96 dots per inch, rounded to whole pixels as the desktop does.
QFont footerFont() {
    return uiFont(11);
}

QRect frameRect(const QSize& size) {
    return QRect(QPoint(17, 19), QPoint(size.width() - 17, size.height() - 46));
}

void paintSheet(QPainter& painter, const CardSheet& sheet, const QSize& size) {
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    for (const CardText& text : sheet.texts)
        paintText(painter, text, size);
    for (const CardLines& lines : sheet.lines)
        paintLineTable(painter, lines, size);
    paintFrame(painter, sheet, size);
}

void drawFooter(QImage& image, const QString& text) {
    if (text.isEmpty())
        return;
    const QFont font = footerFont();
    const QFontMetrics metrics(font, &image);
    const QRect box(kFooterX, image.height() - kFooterRise, metrics.horizontalAdvance(text),
                    metrics.height());
    QPainter painter(&image);
    painter.fillRect(box, Qt::white);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace cards
