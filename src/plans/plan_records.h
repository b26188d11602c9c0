#pragma once

#include "store/message_sink.h"
#include "store/notebook_files.h"
#include "store/owning_list.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

// Planting plan records. sakutuke = planting plan, group = a bed or section of
// the field, sakumotu = crop (here: one crop placed in a plan), ichi = row
// within a group, tuki = month, shuu = week, down = pixels the arrow and name
// are drawn below their row. Colours are 0x00BBGGRR whole numbers, red in the
// low byte, as the plan files store them.

class TIchiList;

// One crop placed in a plan.
class TSakumotu2 {
public:
    QString name;   // the crop's name when the entry was made, or kDummyCropName
    QString StTuki; // start month "1".."12", empty for the dummy
    QString StShuu; // start week "1".."5", empty for the dummy
    QString EdTuki;
    QString EdShuu;
    int ichi = 1;
    int down = 0;

    // Written by TGroupList::Layout; they mean nothing between two layouts.
    int Y = 0;
    int StX = 0;
    int EdX = 0;
    // A file edited by hand may hold periods that are not whole numbers: such an
    // entry has no place on the chart. hasStart: StX is valid; hasEnd: EdX too.
    bool hasStart = false;
    bool hasEnd = false;

    bool IsDummy() const;
};

// The entry's period, e.g. 4月2週～8月5週.
QString EntryPeriodText(const TSakumotu2& entry);
// The entry's name as lists show it: the dummy reads ダミー.
QString EntryListName(const TSakumotu2& entry);

// One group of a plan; owns its entries.
class TGroup : private store::OwningList<TSakumotu2> {
public:
    QString name;
    int order = 0;
    // Written by TGroupList::Layout.
    int Top = 0;
    int Bottom = 0;

    using OwningList::add;
    using OwningList::append;
    using OwningList::at;
    using OwningList::count;
    using OwningList::indexOf;
    using OwningList::remove;
    // Takes the entry out without destroying it, so that another group can append it.
    using OwningList::detach;

    void SortEntries();
    int CropCount() const;
    void ShiftRows(int n);
    void RenumberRows();
    void BuildRows(TIchiList& rows) const;
    int RowCount() const;
};

// One planting plan; owns its groups.
class TGroupList : private store::OwningList<TGroup> {
public:
    QString name;
    int YajirusiColor = 0;      // arrows
    int MojiColor = 0;          // texts
    int SenColor = 0;           // lines
    int HaikeiColor = 0xFFFFFF; // background

    using OwningList::add;
    using OwningList::at;
    using OwningList::clear;
    using OwningList::count;
    using OwningList::indexOf;
    using OwningList::remove;

    void SortGroups();
    int CropCount() const;
    int MaxOrder() const;
    TGroup* FindGroup(const QString& name) const;
    TGroup* FindOtherGroup(const QString& name, const TGroup* group) const;
    TGroup* GroupOf(const TSakumotu2* entry) const;
    void RenameCrop(const QString& oldName, const QString& newName);

    // Sorts groups and entries and places them on the chart (plan_layout.cpp).
    void Layout();
    int ChartHeight() const;

    // folder ends with a slash. Both report their one message to the sink and
    // return false on failure. A missing file loads as an empty plan, quietly.
    bool LoadFromFile(const QString& folder, const QString& fileName, store::MessageSink& sink);
    bool SaveToFile(const QString& folder, const QString& planName, const QString& fileName,
                    store::MessageSink& sink) const;

private:
    void appendGroup(std::unique_ptr<TGroup> group) { append(std::move(group)); }
};

// One row of a group, as the entry dialog offers it: the row number and the
// names of the entries in it, in entry order.
class TIchi {
public:
    int ichi = 0;
    QStringList names;
};

class TIchiList : private store::OwningList<TIchi> {
public:
    using OwningList::add;
    using OwningList::at;
    using OwningList::clear;
    using OwningList::count;

    TIchi* FindRow(int ichi) const;
    int MaxRow() const;
};

// e.g. 2行目（ナス、ダミー）
QString RowCaption(const TIchi& row);

// The eight plan files in file order, with the caption their plan button shows
// until the plan has a name, and the button's place from the left (0..7).
struct PlanFileInfo {
    QString fileName;
    QString defaultCaption;
    int buttonPosition;
};
const std::array<PlanFileInfo, 8>& PlanFiles();

// The plan name stored in the file; empty when there is none.
QString ReadPlanName(const QString& folder, const QString& fileName, store::MessageSink& sink);
// Carries a crop's new name into all eight plan files. A file that cannot be
// read is reported and left as it is on disk; the others are still handled.
bool RenameCropInAllPlans(const QString& folder, const QString& oldName, const QString& newName,
                          store::MessageSink& sink);

// A decimal whole number with an optional sign, as the plan files hold them.
std::optional<int> wholeNumber(const QString& text);
