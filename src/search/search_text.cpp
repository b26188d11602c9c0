#include "search/search_text.h"

#include <QChar>
#include <QRegularExpression>
#include <array>
#include <string>

namespace search {

namespace {

constexpr char16_t kVoicedMark = 0x3099;     // the combining form of ゛
constexpr char16_t kSemiVoicedMark = 0x309A; // and of ゜

// U+FF61 to U+FF9F, the half-width katakana and its marks, at their full width
// as Unicode decomposes them; the two marks become the combining ones.
const std::array<char16_t, 0x3F>& halfWidthKana() {
    static const std::array<char16_t, 0x3F> table = [] {
        std::array<char16_t, 0x3F> wide{};
        for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) {
            const QString d = QChar(c).decomposition();
            wide[c - 0xFF61] = d.size() == 1 ? d.at(0).unicode() : c;
        }
        return wide;
    }();
    return table;
}

// Katakana as hiragana, so that either finds the other.
char16_t asHiragana(char16_t c) {
    if (c >= 0x30A1 && c <= 0x30F6)
        return char16_t(c - 0x60);
    if (c == 0x30FD || c == 0x30FE) // ヽヾ
        return char16_t(c - 0x60);
    return c;
}

// One character at its narrow or wide form, before kana and case.
char16_t widthFolded(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) // full-width ASCII
        return char16_t(c - 0xFEE0);
    if (c == 0x3000) // the ideographic space
        return u' ';
    if (c >= 0xFF61 && c <= 0xFF9F)
        return halfWidthKana()[c - 0xFF61];
    return c;
}

char16_t caseFolded(char16_t c) {
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 0x20) : c;
    if (QChar::isSurrogate(c))
        return c;
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

// The kana that a voiced (or semi-voiced) mark turns the hiragana base into,
// or 0 when it takes none: か+゛ is が, は+゜ is ぱ, う+゛ is ゔ, わ+゛ is ヷ.
char16_t composed(char16_t base, char16_t mark) {
    if (mark == kSemiVoicedMark)
        return base >= 0x306F && base <= 0x307B && (base - 0x306F) % 3 == 0 ? char16_t(base + 2) : 0;
    if (base >= 0x304B && base <= 0x3061 && (base - 0x304B) % 2 == 0)
        return char16_t(base + 1);
    if (base == 0x3064 || base == 0x3066 || base == 0x3068)
        return char16_t(base + 1);
    if (base >= 0x306F && base <= 0x307B && (base - 0x306F) % 3 == 0)
        return char16_t(base + 1);
    if (base == 0x3046)
        return 0x3094;
    if (base == 0x309D)
        return 0x309E;
    if (base >= 0x308F && base <= 0x3092)
        return char16_t(base - 0x308F + 0x30F7);
    return 0;
}

// Appends the folded text to out.
void foldInto(QStringView text, std::u16string& out) {
    for (const QChar qc : text) {
        const char16_t c = caseFolded(asHiragana(widthFolded(qc.unicode())));
        if ((c == kVoicedMark || c == kSemiVoicedMark) && !out.empty()) {
            if (const char16_t joined = composed(out.back(), c)) {
                out.back() = joined;
                continue;
            }
        }
        out.push_back(c);
    }
}

} // namespace

QString foldText(QStringView text) {
    std::u16string folded;
    folded.reserve(size_t(text.size()));
    foldInto(text, folded);
    return QString(reinterpret_cast<const QChar*>(folded.data()), qsizetype(folded.size()));
}

// Blanks of either width, tabs and line breaks pasted into the field all part words.
Query::Query(QStringView typed) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    m_words = foldText(typed).split(blanks, Qt::SkipEmptyParts);
}

// Folds into one buffer for the whole run: a search calls this for every text
// of the notebook and must not allocate each time. The texts are joined by a
// line break, which no word holds, so a word is never found across two texts.
bool Query::matches(std::span<const QStringView> texts) const {
    if (m_words.isEmpty())
        return false;
    thread_local std::u16string folded;
    folded.clear();
    for (const QStringView text : texts) {
        foldInto(text, folded);
        folded.push_back(u'\n');
    }
    const QStringView haystack(folded.data(), qsizetype(folded.size()));
    for (const QString& word : m_words)
        if (!haystack.contains(word))
            return false;
    return true;
}

bool Query::matches(QStringView text) const {
    return matches(std::span<const QStringView>(&text, 1));
}

} // namespace search
