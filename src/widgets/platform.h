#pragma once

#include "store/message_sink.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <QUrl>
#include <memory>

class QPrinter;

// Everything a window asks of the desktop: message boxes, common dialogs, the
// printer, today's date, the data folder and the default browser. The main
// window hands one down to every tab and dialog; tests hand in a scripted one.
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
    virtual QString saveFileName(const QString& proposed, const QString& filter) = 0;
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
};
