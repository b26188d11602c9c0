#pragma once

#include "seasons/rotation_rules.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

class TGroupList;
class TSakumotuList;

namespace seasons {

class Seasons;

// Each crop name's family and gap, as the catalogue gives them; a name the
// catalogue no longer has has no family and never warns.
class CropFamilies {
public:
    struct Info {
        QString family;
        RotationGap gap;
    };
    explicit CropFamilies(const TSakumotuList& crops);
    Info of(const QString& cropName) const;

private:
    QHash<QString, Info> m_byName;
};

// One crop grown in one bed in one year, in a plan or a past season.
struct Planting {
    QString bedKey;
    QString bedName; // as the group is called
    int year = 0;
    QString family;
    QString crop;
    RotationGap gap;
};

// Every planting of the notebook, by bed.
class RotationBook {
public:
    // The plan's entries, dummies left out, grown in year.
    void addPlan(const TGroupList& plan, int year, const CropFamilies& families);

    const std::vector<Planting>& plantings() const { return m_plantings; }
    // The plantings of the family in the bed in the gap's years before year,
    // latest first, each year and crop once.
    std::vector<Planting> conflicts(const QString& bedKey, int year, const QString& family,
                                    const RotationGap& gap) const;

private:
    std::vector<Planting> m_plantings;
    QHash<QString, std::vector<size_t>> m_byBed;
};

// The eight plans with their years (the plan in memory in place of its file)
// and every past season. Plan files that cannot be read count as far as they can.
RotationBook BookOfNotebook(const Seasons& seasons, const QString& folder, const TGroupList& current,
                            const QString& currentFile, const CropFamilies& families, const QDate& today);

// The question the entry dialog asks before placing crop in a bed where its family grew too lately.
QString ConflictQuestion(const QString& crop, const QString& bedName, const RotationGap& gap,
                         const std::vector<Planting>& conflicts);
// The tooltip of an entry so placed: 「連作の注意：2025年度 ナス（ナス科は3～4年あける）」.
QString ConflictNote(const QString& family, const RotationGap& gap, const std::vector<Planting>& conflicts);

} // namespace seasons
