#pragma once

#include "history/change.h"

#include <QDialog>
#include <QList>
#include <functional>

class Platform;
class QPushButton;
class TListView3;
namespace history {
class History;
}

// The history window 履歴: every change, the newest first, with the records
// of each of its files before and after. 戻す takes every file the chosen
// change or a later one touched back to where it was before the change.
class TFormHistory : public QDialog {
    Q_OBJECT
public:
    // restore carries out the restore of a change and all that follows it in the main window.
    TFormHistory(Platform& platform, const history::History& history, std::function<void(qint64 id)> restore,
                 QWidget* parent = nullptr);
    ~TFormHistory() override;

    TListView3* list() const { return m_list; }
    void RestoreButtonClick();

private:
    void showChanges();
    void fillList();

    Platform& m_platform;
    const history::History& m_history;
    std::function<void(qint64 id)> m_restore;
    TListView3* m_list;
    QList<history::Change> m_shown;
};
