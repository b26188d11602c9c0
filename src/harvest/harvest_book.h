#pragma once

#include "harvest/harvest_records.h"

#include <QDate>

namespace store {
class MessageSink;
}

// The harvest log and the diary of one notebook, as the main window keeps them
// for the whole run. Each list is read and written on its own file.
class THarvestBook {
public:
    TShukakuList shukaku;
    TNikkiList nikki;

    // Both read and sorted oldest first; a missing file leaves its list empty.
    void LoadShukaku(const QString& folder, store::MessageSink& sink);
    void LoadNikki(const QString& folder, store::MessageSink& sink);

    // 完了にする on a task leaves a dated line in the diary, naming the task,
    // and saves the diary; the entry, or null when the save failed (the saver
    // has said why and the line is taken out again).
    TNikki* AddTaskLine(const QString& taskName, const QDate& date, const QString& folder,
                        store::MessageSink& sink);
};
