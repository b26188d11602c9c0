#pragma once

#include <QString>
#include <functional>

namespace store {

class XmlDocument;

// What a save knows of the records it wrote, counted as it wrote them: the
// elements under the root, and those three levels down (a plan's entries sit
// there). -1 when not known.
struct ElementCounts {
    int depth1 = -1;
    int depth3 = -1;
};

// Sees every data file the program reads and replaces, so that the versions it
// replaces can be kept. None is installed unless the main window switches the
// history on; saves then hand it the replacement to carry out. Nothing it does
// may make a save fail that would have succeeded without it.
class SaveRecorder {
public:
    virtual ~SaveRecorder() = default;

    // path is the file as the saver was given it, target the file the save
    // really replaces (links followed), staging the finished new file. rename
    // puts staging in place of target and throws SaveError when it cannot; the
    // recorder calls it exactly once and lets its error through.
    virtual void replace(const QString& path, const QString& target, const QString& staging,
                         const ElementCounts& counts, const std::function<void()>& rename) = 0;
    // A loader read the file in full into doc. Whatever the recorder counts in
    // doc costs another walk of it, so it counts only what it needs.
    virtual void fileRead(const QString& path, const XmlDocument& doc) = 0;
    // A loader could not read the file in full.
    virtual void fileUnreadable(const QString& path) = 0;
};

// Null switches recording off. Saves and loads already under way are not affected.
void installSaveRecorder(SaveRecorder* recorder);
SaveRecorder* saveRecorder();

} // namespace store
