#pragma once

#include "store/locations.h"

#include <QStringList>

class QTextStream;

// What the start does after reading the command line.
struct StartDecision {
    bool openWindow = false; // false: the process ends at once with exitCode
    int exitCode = 0;
    store::DataFolder dataFolder;
    bool showWeek = false; // the window opens on this week's tasks
};

// A command line that cannot be followed ends the process with this code.
constexpr int kUsageExitCode = 2;

// Reads the command line before any application object exists, so that the
// help, the version and every windowless command work without a display.
// Prints what they print and every refusal; decides the data folder.
StartDecision readCommandLine(const QStringList& arguments, const store::Surroundings& where,
                              QTextStream& out, QTextStream& err);

// The same for this process: its arguments, surroundings, standard output and error.
StartDecision readCommandLine(int argc, char** argv);
