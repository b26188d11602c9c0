#pragma once

#include "store/message_sink.h"
#include "store/notebook_files.h"

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
class TJikiList {
public:
    int count() const { return int(m_items.size()); }
    TJiki* at(int i) const { return m_items[size_t(i)].get(); }
    TJiki* add();
    void remove(int i);
    void clear() { m_items.clear(); }
    void CopyFrom(const TJikiList& other);

private:
    std::vector<std::unique_ptr<TJiki>> m_items;
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
class TSakumotuList {
public:
    int count() const { return int(m_items.size()); }
    TSakumotu* at(int i) const { return m_items[size_t(i)].get(); }
    int indexOf(const TSakumotu* crop) const;
    TSakumotu* add();
    TSakumotu* insert(int index);
    void remove(int index);
    void clear() { m_items.clear(); }

    TSakumotu* FindByName(const QString& name) const;
    TSakumotu* FindOtherByName(const QString& name, const TSakumotu* crop) const;

    // folder ends with a slash. Both report their one message to the sink and return false on failure.
    bool LoadFromFile(const QString& folder, store::MessageSink& sink);
    bool SaveToFile(const QString& folder, store::MessageSink& sink) const;

private:
    std::vector<std::unique_ptr<TSakumotu>> m_items;
};
