#pragma once

#include "store/message_sink.h"
#include "store/notebook_files.h"
#include "store/owning_list.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// Favourite web sites. okini = favourite, memo = the gardener's note on the site.

inline const QString kOkiniStyleSheetName = QStringLiteral("okini.css");

class TOkini {
public:
    QString name;
    QString url;
    QString memo;
};

// The favourites in the order of entry; new ones go to the end and the list is
// never sorted. Owns its favourites.
class TOkiniList : private store::OwningList<TOkini> {
public:
    using OwningList::add;
    using OwningList::at;
    using OwningList::clear;
    using OwningList::count;
    using OwningList::indexOf;
    using OwningList::remove;

    // folder ends with a slash. Loading appends to what the list holds. Both
    // report their one message to the sink and return false on failure.
    bool LoadFromFile(const QString& folder, store::MessageSink& sink);
    bool SaveToFile(const QString& folder, store::MessageSink& sink) const;

    // The lines of the page, without their line ends. siteAddress ends with a
    // slash; the page takes its look from okini.css there.
    QStringList PageLines(const QString& siteAddress) const;
    // Replaces folder + OkiniList.html with the page in code page 932, CR LF after
    // every line. On failure reports the favourites' save message and returns false;
    // the previous page is then still whole.
    bool WritePage(const QString& folder, const QString& siteAddress, store::MessageSink& sink) const;
};
