#pragma once

#include "harvest/dated_list.h"
#include "store/message_sink.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// The harvest log and the garden diary. shukaku = a harvest, nikki = a diary
// entry, hatake = the bed (a group name of the plans, or any text), ryou = the
// amount harvested as typed, tani = its unit. Dates are stored as YYYY-MM-DD.

// The units offered in the harvest dialog; any other text may be typed.
QStringList DefaultUnits();

// An amount in thousandths of its unit, so that sums of 0.1 kg stay exact.
// Digits typed full width count; at most three decimals; nothing else.
std::optional<qint64> ParseAmount(const QString& text);
// 1500 -> "1.5", 2000 -> "2": no trailing zeros, no separators.
QString AmountText(qint64 thousandths);

class TShukaku {
public:
    QDate date;
    QString crop;
    QString hatake;
    QString ryou;
    QString tani;
    QString note;

    // The amount in thousandths; a text that is no amount counts as 0.
    qint64 Amount() const { return ParseAmount(ryou).value_or(0); }
    QString DateText() const;
    // For example 1.5 kg.
    QString AmountWithUnit() const;
};

// Kinds of diary entry: written by the gardener, or the line a done task leaves.
inline const QString kNikkiTaskKind = QStringLiteral("作業記録");

class TNikki {
public:
    QDate date;
    QString kind; // empty, or kNikkiTaskKind
    QString text;
    QString crop;
    QString hatake;
    // Names inside the data folder, for example photos/2025/20250714-081500-1.jpg;
    // as read from the file, so never a path until IsSafePhotoName passed them.
    QStringList photos;

    QString DateText() const;
    // The text on one line, lines joined by " / ", for the list.
    QString OneLine() const;
};

class TShukakuList : public DatedList<TShukaku> {
public:
    // folder ends with a slash. Both report their one message to the sink and return false on failure.
    bool LoadFromFile(const QString& folder, store::MessageSink& sink);
    bool SaveToFile(const QString& folder, store::MessageSink& sink) const;
};

class TNikkiList : public DatedList<TNikki> {
public:
    bool LoadFromFile(const QString& folder, store::MessageSink& sink);
    bool SaveToFile(const QString& folder, store::MessageSink& sink) const;
};

// The form a photo name must have before it is ever joined to the data folder:
// photos/<four digits>/<letters, digits, - or _>.jpg, nothing else.
bool IsSafePhotoName(const QString& name);
