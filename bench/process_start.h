#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Whole-process start-up figures: a program started as a user starts it, timed
// until it sits idle, and weighed with every process it started.
namespace bench {

struct ProcessStart {
    double msToIdle = 0; // from starting the process until its CPU time stops growing
    double rssMb = 0;    // resident memory of the process and its children at that moment
};

// Starts program in the bench's environment with extra set, on the screen when
// there is one and off-screen otherwise; waits until the CPU time of it and its
// children has stayed flat for 400 ms, measures, and ends them. Throws
// std::runtime_error when the program ends by itself or does not settle within a minute.
ProcessStart measureProcessStart(const QString& program, const QStringList& arguments,
                                 const QProcessEnvironment& extra = {});

// The real program on a data folder of the caller's choosing (--data), with a
// lock of its own. The program's site folder is the one beside it.
ProcessStart measureProgramStart(const QString& program, const QString& dataFolder);

} // namespace bench
