#pragma once

#include "search/search_text.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

class TCostList;
class TGroupList;
class TOkiniList;
class TSakumotuList;
class TYoteiList;
namespace store {
class MessageSink;
}

// Finding records of each kind in the notebook, for the search window: what
// the results list shows of a record and where the record is.
namespace search {

struct Hit {
    QString title;
    QString detail;
    // The record in the main window's lists; none for a plan entry.
    const void* record = nullptr;
    // A plan entry: its plan file, and its group and place in that group in
    // the order the chart lays them out.
    QString planFile;
    int group = -1;
    int entry = -1;
};

// However many match, a list of thousands helps nobody: the first ones are
// kept and the rest only counted.
inline constexpr int kMostShown = 500;

struct Found {
    std::vector<Hit> hits;
    int total = 0;

    // make is called only for a hit that is kept.
    template <class Make> void add(Make make) {
        if (total++ < kMostShown)
            hits.push_back(make());
    }
};

// Name, family, varieties and notes.
Found findCrops(const TSakumotuList& crops, const Query& query);
// Name and note, in schedule order.
Found findTasks(const TYoteiList& tasks, const Query& query);
// Each line by its name, the newest purchase first, with its date and amount.
Found findPurchaseLines(const TCostList& costs, const Query& query);
// Name, address and note.
Found findFavourites(const TOkiniList& okini, const Query& query);

// The eight plans, in the order of their buttons: the plan on show as the
// main window holds it, the others read from their files.
class PlanShelf {
public:
    // current is laid out already; failures to read the others are told to sink.
    void load(const QString& folder, const TGroupList& current, const QString& currentFile,
              const QString& currentName, store::MessageSink& sink);
    // Entries by their crop name, placeholders left out.
    Found find(const Query& query) const;

private:
    struct Plan {
        const TGroupList* plan = nullptr;
        QString file;
        QString caption;
    };
    std::vector<Plan> m_plans;
    std::vector<std::unique_ptr<TGroupList>> m_read;
};

} // namespace search
