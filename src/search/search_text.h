#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

// The matching rule of the search window: what the gardener typed is found in
// a record's text whatever the kana, the width or the case (トマト, とまと and
// ﾄﾏﾄ all find トマト). No widgets here, so the rule is tested on its own.
namespace search {

// The text as the search compares it: full-width letters, digits and spaces
// narrow, half-width katakana widened with its voiced marks joined (ﾄﾞ is ド),
// katakana as hiragana, letters in lower case.
QString foldText(QStringView text);

// What was typed, split into words at blanks of either width. A text matches
// when every word is in it; an empty query matches nothing.
class Query {
public:
    Query() = default;
    explicit Query(QStringView typed);

    bool isEmpty() const { return m_words.isEmpty(); }
    const QStringList& words() const { return m_words; }
    bool matches(QStringView text) const;
    // A record of several texts matches when each word is in one of them.
    bool matches(std::span<const QStringView> texts) const;

private:
    QStringList m_words;
};

} // namespace search
