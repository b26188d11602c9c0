#pragma once

#include <QList>
#include <functional>

class QWidget;

namespace bench {

// One thing to time: prepare runs untimed before every timed call of work.
struct Measure {
    std::function<void()> work;
    std::function<void()> prepare = {};
};

double elapsedMs(const std::function<void()>& work);
double median(QList<double> values);

// Runs every measure once per round, interleaved so that a busy moment of the
// machine falls on all of them alike, and gives the median of each in ms.
QList<double> medianMs(int rounds, const QList<Measure>& measures);

// The end of every figure in a window: what changed is painted, as the user sees it.
void painted(QWidget* window);

} // namespace bench
