#pragma once

#include <QString>
#include <QStringList>

// The rules of 連作障害 (injury from growing one family in one bed year after
// year): which family a crop belongs to, how many years its bed should rest
// from that family, and which groups of the plans are one bed.
namespace seasons {

// Years a bed rests from a family: "4～5年あける" is lower 4, upper 5. A
// lower of 0 never warns.
struct RotationGap {
    enum class Source { None, Note, Table };
    int lower = 0;
    int upper = 0;
    bool atLeast = false; // 「N年以上」
    Source source = Source::None;

    bool warns() const { return lower > 0; }
    // 「4～5年」「5年以上」「2年」「なし」
    QString text() const;
};

// The part of 科目 up to and including the first 科 (ナス科ナス属 → ナス科),
// the whole 科目 when it has none; empty for an empty 科目. ユリ科 and
// ヒガンバナ科, ヒユ科 and アカザ科 are each one family.
QString FamilyOf(const QString& kamoku);

// The gap a note line like 連作障害：４～５年あける gives; source None when no
// line of the note says it in a form that can be read.
RotationGap GapFromNote(const QStringList& memo);
// The published rule of thumb for a family (see the README); source None for a family it does not know.
RotationGap DefaultGap(const QString& family);
// The note first, then the family's rule of thumb.
RotationGap GapOf(const QString& kamoku, const QStringList& memo);

// Two groups are one bed when their names agree after trimming and folding
// full and half width.
QString BedKey(const QString& groupName);

} // namespace seasons
