#include "store/file_names.h"

namespace store {

namespace {

// Characters, not bytes: 60 Japanese characters are 180 bytes of the 255 a name may have.
constexpr int kLongestStem = 60;

bool forbidden(QChar c) {
    return c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c);
}

bool trimmedAway(QChar c) {
    return c.isSpace() || c == QLatin1Char('.');
}

} // namespace

QString proposedFileName(const QString& text, const QString& extension, const QString& fallback) {
    QString stem = text;
    for (QChar& c : stem)
        if (forbidden(c))
            c = QLatin1Char('_');
    qsizetype first = 0;
    while (first < stem.size() && trimmedAway(stem.at(first)))
        ++first;
    stem = stem.mid(first, kLongestStem);
    if (!stem.isEmpty() && stem.back().isHighSurrogate())
        stem.chop(1);
    while (!stem.isEmpty() && trimmedAway(stem.back()))
        stem.chop(1);
    return stem.isEmpty() ? fallback : stem + extension;
}

} // namespace store
