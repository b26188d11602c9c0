#pragma once

#include "settings/preferences.h"
#include "store/message_sink.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

class QPrinter;

// What a save dialog saves decides where it first opens: a picture in the
// user's Pictures folder, an export in Documents. Afterwards each dialog opens
// where the user last saved with it.
enum class SaveKind { Picture, Export };

struct SaveRequest {
    QString dialog; // names the dialog, which keeps its own last folder
    SaveKind kind = SaveKind::Picture;
    QString proposed; // a file name without a folder
    QString filter;   // empty: no file-type filter
};

// Everything a window asks of the desktop: message boxes, common dialogs, the
// printer, today's date, the data folder, the default browser and the user's
// preferences. The main window hands one down to every tab and dialog; tests
// hand in a scripted one.
class Platform : public store::MessageSink {
public:
    // Plain message box with OK, titled with the application title.
    void message(const QString& text) override = 0;
    // Information box titled 情報 with はい(&Y) and いいえ(&N); true only for Yes.
    virtual bool question(const QString& text) = 0;
    // Warning box titled 警告 with OK.
    virtual void warning(const QString& text) = 0;
    // The general error box for failures that no command catches.
    virtual void error(const QString& text) = 0;

    // Save dialog proposing a file name, asking before it overwrites; empty when cancelled.
    virtual QString saveFileName(const SaveRequest& request) = 0;
    // Open dialog for pictures to copy into the notebook; empty when cancelled.
    virtual QStringList openPictures() { return {}; }
    // Colour chooser; false when cancelled.
    virtual bool chooseColour(QColor& colour) = 0;
    // Print dialog with printer, page range and copies; false when cancelled.
    virtual bool printDialog(QPrinter& printer) = 0;
    // The default printer, or null when the system has none.
    virtual std::unique_ptr<QPrinter> defaultPrinter() = 0;

    virtual void openUrl(const QUrl& url) = 0;
    virtual QDate today() = 0;
    // The data folder, ending with '/'.
    virtual QString dataFolder() = 0;
    // Whether the main window keeps the history of changes in the data folder.
    virtual bool keepsHistory() { return false; }
    // The user's preferences: the window as it was left, the caption of saved pictures.
    virtual settings::Preferences& preferences() = 0;
};
