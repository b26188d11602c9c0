#include "store/text_lines.h"

namespace store {

// A hand-written scan: a regular expression here cost a sixth of loading a schedule.
QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.sliced(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines << text.sliced(start);
    // "a\r\n" holds one line, as a text box would show it.
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString joinLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString boxText(const QStringList& lines) {
    return lines.join(QLatin1Char('\n'));
}

QStringList boxLines(const QString& text) {
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

} // namespace store
