#pragma once

#include "store/message_sink.h"
#include "store/notebook_files.h"
#include "store/owning_list.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// Crop catalogue records. sakumotu = crop, jiki = cultivation period,
// okiniiri = favourite variety, kamoku = botanical family,
// joukan = row spacing, kabukan = plant spacing.

inline const QString kDummyCropName = QStringLiteral("[[[ダミー]]]");

class TJiki {
public:
    QString st;
    QString ed;

    void CopyFrom(const TJiki& other);
};

QString PeriodText(const TJiki& period);

// Owns its periods.
class TJikiList : private store::OwningList<TJiki> {
public:
    using OwningList::add;
    using OwningList::at;
    using OwningList::clear;
    using OwningList::count;
    using OwningList::remove;
    void CopyFrom(const TJikiList& other) { OwningList::CopyFrom(other); }
};

QString PeriodsText(const TJikiList& periods);

class TSakumotu {
public:
    QString name;
    QString kamoku;
    QString okiniiri1;
    QString okiniiri2;
    QString joukan;
    QString kabukan1;
    QString kabukan2;
    TJikiList jiki;
    QStringList memo;

    QString VarietiesText() const;
    QString SpacingText() const;
};

// The crop catalogue, in file order with added crops at the end. Owns its crops.
class TSakumotuList : private store::OwningList<TSakumotu> {
public:
    using OwningList::add;
    using OwningList::at;
    using OwningList::clear;
    using OwningList::count;
    using OwningList::indexOf;
    using OwningList::insert;
    using OwningList::remove;

    TSakumotu* FindByName(const QString& name) const;
    TSakumotu* FindOtherByName(const QString& name, const TSakumotu* crop) const;

    // folder ends with a slash. Both report their one message to the sink and return false on failure.
    bool LoadFromFile(const QString& folder, store::MessageSink& sink);
    bool SaveToFile(const QString& folder, store::MessageSink& sink) const;
};
