#pragma once

#include <QStringList>

class THarvestBook;
class TSakumotuList;
class TGroupList;

// What the harvest and diary dialogs offer in their drop-down lists; any
// other text may be typed as well.
struct HarvestChoices {
    QStringList crops; // the catalogue's crops, then names used before
    QStringList beds;  // the current plan's groups, then beds used before
    QStringList units; // the usual units, then units used before
};

HarvestChoices ChoicesFor(const TSakumotuList& crops, const TGroupList& plan, const THarvestBook& book);
