#pragma once

#include "store/locations.h"

#include <QCommandLineOption>
#include <QList>
#include <functional>

class QCommandLineParser;
class QTextStream;

// What a windowless command is handed: the parsed command line, the data folder
// that is (or would be) used, and standard output and error.
struct CommandRun {
    const QCommandLineParser& parser;
    const store::DataFolder& dataFolder;
    QTextStream& out;
    QTextStream& err;
};

// A command that does its work and ends the process: it runs before any
// application object exists, so it creates no window, takes no lock, needs no
// display, and it never creates the data folder. What run returns is the
// process's exit code.
struct WindowlessCommand {
    QCommandLineOption option;
    QList<QCommandLineOption> modifiers; // options read only by this command, such as a range
    std::function<int(const CommandRun&)> run;
    // The first fault in the values of the command and its modifiers, in the
    // user's words; empty when run may go ahead.
    std::function<QString(const QCommandLineParser&)> check;
    bool isExport = false; // exports may be named together and all run
};

// Every windowless command, in the order the help lists them and they run.
QList<WindowlessCommand> windowlessCommands();

// "データフォルダー: …", said by --version and the help so a user can find their files.
QString dataFolderLine(const store::DataFolder& folder);
