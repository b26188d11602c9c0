#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace store {

// What a save knows of the records it wrote, counted as it wrote them: the
// elements under the root, and those three levels down (a plan's entries sit
// there). -1 when not known.
struct ElementCounts {
    int depth1 = -1;
    int depth3 = -1;
};

// The bytes a save wrote, with their checksum made at most once however many
// of those who see the save ask for it: it is a walk over the whole file.
class SavedBytes {
public:
    explicit SavedBytes(const QByteArray& bytes) : m_bytes(bytes) {}
    const QString& hash() const;

private:
    const QByteArray& m_bytes;
    mutable QString m_hash;
};

// Sees every data file the program reads and replaces, so that the versions it
// replaces can be kept. None is installed unless the main window switches the
// history on; saves then hand it the replacement to carry out. Nothing it does
// may make a save fail that would have succeeded without it, with one
// exception: beforeSave may refuse a save that would overwrite a file the
// recorder has left half way between two versions and cannot set right.
class SaveRecorder {
public:
    virtual ~SaveRecorder() = default;

    // A save of path is about to begin. Throws SaveError, with the reason in
    // the user's words, to refuse it.
    virtual void beforeSave(const QString& path) = 0;
    // path is the file as the saver was given it, target the file the save
    // really replaces (links followed), staging the finished new file holding
    // the saved bytes. rename puts staging in place of target and throws SaveError when
    // it cannot; the recorder calls it exactly once and lets its error through.
    virtual void replace(const QString& path, const QString& target, const QString& staging,
                         const ElementCounts& counts, const SavedBytes& saved,
                         const std::function<void()>& rename) = 0;
    // A loader read the file in full; counts are of the elements it passed.
    virtual void fileRead(const QString& path, const ElementCounts& counts) = 0;
    // A loader could not read the file in full.
    virtual void fileUnreadable(const QString& path) = 0;
    // A data file's save failed and its saver told the user; the file holds
    // what it held before.
    virtual void saveFailed(const QString& path) = 0;
};

// Null switches recording off. Saves and loads already under way are not affected.
void installSaveRecorder(SaveRecorder* recorder);
SaveRecorder* saveRecorder();

} // namespace store
