#include "crops/integer_text.h"

#include <cstdint>

namespace {

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    return value < base ? value : -1;
}

// Reads digits from pos to the end; false on an empty run, a stray character or a value above limit.
bool readDigits(const QString& text, qsizetype pos, int base, std::uint64_t limit) {
    if (pos >= text.size())
        return false;
    std::uint64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = digitValue(text[pos], base);
        if (digit < 0)
            return false;
        value = value * std::uint64_t(base) + std::uint64_t(digit);
        if (value > limit)
            return false;
    }
    return true;
}

} // namespace

bool PassesIntegerTest(const QString& text) {
    if (text.isEmpty())
        return true;
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == u' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    if (pos < text.size() && text[pos] == u'$')
        return readDigits(text, pos + 1, 16, 0xFFFFFFFFu);
    if (text.mid(pos, 2).compare(QStringLiteral("0x"), Qt::CaseInsensitive) == 0)
        return readDigits(text, pos + 2, 16, 0xFFFFFFFFu);
    return readDigits(text, pos, 10, negative ? 2147483648u : 2147483647u);
}
