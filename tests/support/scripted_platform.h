#pragma once

#include "widgets/platform.h"

#include <QPrinter>
#include <QQueue>
#include <QStringList>
#include <functional>

// A desktop that answers from a script and remembers what it was asked, so
// window tests can run without anyone at the screen.
class ScriptedPlatform : public Platform {
public:
    explicit ScriptedPlatform(const QString& dataFolder) : m_dataFolder(dataFolder) {}

    // What was shown, in order.
    QStringList messages;
    QStringList questions;
    QStringList warnings;
    QStringList errors;
    QStringList openedUrls;
    QStringList proposedFileNames;
    QList<SaveRequest> saveRequests;

    // Answers: questions take from the queue, then defaultAnswer.
    QQueue<bool> answers;
    bool defaultAnswer = true;
    QString saveAs;         // empty: the save dialog is cancelled
    QQueue<QColor> colours; // empty: the colour chooser is cancelled
    bool printDialogAccepts = true;
    bool hasPrinter = true;
    QString printFile; // PDF the printers write to; set by the test
    QDate date = QDate(2026, 12, 9);
    bool keepHistory = false; // the main window keeps the history of changes
    // In memory unless a test gives it a file: nothing of the tester's own is read.
    settings::Preferences userPreferences;
    // Runs while a message is up, as the windows behind a message box may repaint then.
    std::function<void()> whileMessageShown;

    void message(const QString& text) override {
        messages << text;
        if (whileMessageShown)
            whileMessageShown();
    }
    bool question(const QString& text) override {
        questions << text;
        return answers.isEmpty() ? defaultAnswer : answers.dequeue();
    }
    void warning(const QString& text) override { warnings << text; }
    void error(const QString& text) override { errors << text; }
    QString saveFileName(const SaveRequest& request) override {
        proposedFileNames << request.proposed;
        saveRequests << request;
        return saveAs;
    }
    QStringList picturesToOpen; // empty: the open dialog is cancelled
    QStringList openPictures() override { return picturesToOpen; }
    bool chooseColour(QColor& colour) override {
        if (colours.isEmpty())
            return false;
        colour = colours.dequeue();
        return true;
    }
    bool printDialog(QPrinter& printer) override {
        preparePdf(printer);
        return printDialogAccepts;
    }
    std::unique_ptr<QPrinter> defaultPrinter() override {
        if (!hasPrinter)
            return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        preparePdf(*printer);
        return printer;
    }
    void openUrl(const QUrl& url) override { openedUrls << url.toString(); }
    QDate today() override { return date; }
    QString dataFolder() override { return m_dataFolder; }
    bool keepsHistory() override { return keepHistory; }
    settings::Preferences& preferences() override { return userPreferences; }

    // Everything the user was told, of any kind.
    QStringList allShown() const { return messages + questions + warnings + errors; }

private:
    void preparePdf(QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile.isEmpty() ? m_dataFolder + QStringLiteral("print.pdf")
                                                      : printFile);
    }

    QString m_dataFolder;
};
