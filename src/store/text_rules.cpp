#include "store/text_rules.h"

#include <limits>

namespace store {

namespace {

bool isAsciiBlank(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

} // namespace

std::optional<qint64> WholeNumber(QStringView text, Width width, Blanks blanks) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    if (blanks == Blanks::Around) {
        while (begin < end && isAsciiBlank(text[begin]))
            ++begin;
        while (end > begin && isAsciiBlank(text[end - 1]))
            --end;
    }
    const bool negative = begin < end && text[begin] == u'-';
    if (begin < end && (negative || text[begin] == u'+'))
        ++begin;
    if (begin == end)
        return std::nullopt;
    const quint64 top = width == Width::Bits32 ? quint64(std::numeric_limits<qint32>::max())
                                               : quint64(std::numeric_limits<qint64>::max());
    // The negative side reaches one further.
    const quint64 limit = negative ? top + 1 : top;
    quint64 value = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const quint64 digit = c - u'0';
        if (value > (limit - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return negative ? qint64(0 - value) : qint64(value);
}

QString MonthWeekText(const QString& tuki, const QString& shuu) {
    return tuki + QStringLiteral("月") + shuu + QStringLiteral("週");
}

QString PeriodText(const QString& stTuki, const QString& stShuu, const QString& edTuki,
                   const QString& edShuu) {
    return MonthWeekText(stTuki, stShuu) + QStringLiteral("～") + MonthWeekText(edTuki, edShuu);
}

} // namespace store
