#pragma once

#include "store/message_sink.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTextStream>
#include <functional>
#include <optional>

// The exports without a window, for the command line. Each reads the data
// folder's files as the program does (their messages go to err), writes the
// file atomically and prints one line to out. Returns 0 when written; 1 when a
// data file gave its load message or the file could not be written (nothing is
// written then); 2 when the data folder is missing or an argument is invalid.
// The data folder is never created or changed.

int exportCalendarCommand(const QString& dataFolder, const QString& file, const QDate& from, QTextStream& out,
                          QTextStream& err);
// year and month as the purchase tab's filters take them; "すべて" or empty for all.
int exportPurchasesCommand(const QString& dataFolder, const QString& file, const QString& year,
                           const QString& month, QTextStream& out, QTextStream& err);
int exportCropsCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err);
// Every harvest and every diary entry, oldest first; with no file yet, the header line alone.
int exportHarvestsCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err);
int exportDiaryCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err);

// The same frame for an export made by another part of the program: load reads
// from the folder (with its closing slash) and tells the sink of every fault;
// build gives the file's bytes and the line that says what they hold.
struct ExportOutput {
    QByteArray bytes;
    QString said;
};
int runExportCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err,
                     const std::function<bool(const QString& folder, store::MessageSink& sink)>& load,
                     const std::function<ExportOutput()>& build);

// Passes every loader message of a command on to standard error and remembers
// that one came. A command saves nothing, so no copy of a damaged file is
// kept: it only says what it did not write.
class CommandErrorSink : public store::MessageSink {
public:
    explicit CommandErrorSink(QTextStream& err) : m_err(err) {}
    void message(const QString& text) override {
        m_err << text << Qt::endl;
        m_failed = true;
    }
    void loadFailed(const QString& text, const QString& path) override;
    bool failed() const { return m_failed; }

private:
    QTextStream& m_err;
    bool m_failed = false;
};

// The data folder with the closing slash the loaders take; nothing, after
// saying so on err, when it is not a folder.
std::optional<QString> commandFolder(const QString& dataFolder, QTextStream& err);
