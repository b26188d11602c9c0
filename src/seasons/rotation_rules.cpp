#include "seasons/rotation_rules.h"

#include <QHash>
#include <QRegularExpression>

namespace seasons {

namespace {

// Folds full-width digits, colons and tildes to their plain forms, and
// half-width katakana to full width.
QString folded(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC);
}

RotationGap gap(int lower, int upper, RotationGap::Source source) {
    RotationGap g;
    g.lower = lower;
    g.upper = upper;
    g.source = source;
    return g;
}

// The rest of a 連作障害 line after its colon: なし, N年, N～M年, N年以上.
RotationGap readGapText(const QString& rest) {
    if (rest.startsWith(QStringLiteral("なし")))
        return gap(0, 0, RotationGap::Source::Note);
    static const QRegularExpression years(
        QStringLiteral("^([0-9]{1,2})\\s*(?:[~〜～ー－−-]\\s*([0-9]{1,2})\\s*)?年(以上)?"));
    const QRegularExpressionMatch m = years.match(rest);
    if (!m.hasMatch())
        return RotationGap();
    const int lower = m.captured(1).toInt();
    const int upper = m.captured(2).isEmpty() ? lower : m.captured(2).toInt();
    RotationGap g = gap(lower, std::max(lower, upper), RotationGap::Source::Note);
    g.atLeast = !m.captured(3).isEmpty();
    return g;
}

} // namespace

QString RotationGap::text() const {
    if (lower <= 0)
        return QStringLiteral("なし");
    if (atLeast)
        return QStringLiteral("%1年以上").arg(lower);
    if (upper > lower)
        return QStringLiteral("%1～%2年").arg(lower).arg(upper);
    return QStringLiteral("%1年").arg(lower);
}

QString FamilyOf(const QString& kamoku) {
    const QString text = folded(kamoku).trimmed();
    const qsizetype ka = text.indexOf(QChar(0x79D1)); // 科
    const QString family = ka < 0 ? text : text.left(ka + 1);
    if (family == QStringLiteral("ユリ科") || family == QStringLiteral("ヒガンバナ科"))
        return QStringLiteral("ユリ科/ヒガンバナ科");
    if (family == QStringLiteral("ヒユ科") || family == QStringLiteral("アカザ科"))
        return QStringLiteral("ヒユ科/アカザ科");
    return family;
}

RotationGap GapFromNote(const QStringList& memo) {
    static const QRegularExpression line(QStringLiteral("連作障害\\s*:\\s*(.*)$"));
    for (const QString& text : memo) {
        const QRegularExpressionMatch m = line.match(folded(text));
        if (!m.hasMatch())
            continue;
        const RotationGap g = readGapText(m.captured(1).trimmed());
        if (g.source != RotationGap::Source::None)
            return g;
    }
    return RotationGap();
}

// The years most Japanese home-garden guides give per family (seed companies'
// and JA's tables of 連作障害 and 休栽年数); the README lists them too. Where
// the guides differ by crop, the family's usual crops set the range.
RotationGap DefaultGap(const QString& family) {
    static const QHash<QString, std::pair<int, int>> table{
        {QStringLiteral("ナス科"), {3, 4}},
        {QStringLiteral("ウリ科"), {2, 3}},
        {QStringLiteral("マメ科"), {3, 4}},
        {QStringLiteral("アブラナ科"), {1, 2}},
        {QStringLiteral("キク科"), {1, 2}},
        {QStringLiteral("セリ科"), {1, 2}},
        {QStringLiteral("ユリ科/ヒガンバナ科"), {1, 2}},
        {QStringLiteral("イネ科"), {0, 0}},
        {QStringLiteral("ヒユ科/アカザ科"), {1, 2}},
        {QStringLiteral("ショウガ科"), {4, 5}},
        {QStringLiteral("サトイモ科"), {3, 4}},
        {QStringLiteral("ヒルガオ科"), {0, 0}},
        {QStringLiteral("シソ科"), {0, 0}},
    };
    const auto found = table.constFind(family);
    if (found == table.cend())
        return RotationGap();
    return gap(found->first, found->second, RotationGap::Source::Table);
}

RotationGap GapOf(const QString& kamoku, const QStringList& memo) {
    const QString family = FamilyOf(kamoku);
    if (family.isEmpty())
        return RotationGap();
    const RotationGap fromNote = GapFromNote(memo);
    return fromNote.source != RotationGap::Source::None ? fromNote : DefaultGap(family);
}

QString BedKey(const QString& groupName) {
    return folded(groupName).simplified();
}

} // namespace seasons
