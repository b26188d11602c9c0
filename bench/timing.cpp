#include "timing.h"

#include <QCoreApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>

namespace bench {

double elapsedMs(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double median(QList<double> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

QList<double> medianMs(int rounds, const QList<Measure>& measures) {
    QList<QList<double>> times(measures.size());
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype i = 0; i < measures.size(); ++i) {
            if (measures[i].prepare)
                measures[i].prepare();
            times[i].append(elapsedMs(measures[i].work));
        }
    }
    QList<double> medians;
    for (const QList<double>& t : times)
        medians.append(median(t));
    return medians;
}

void painted(QWidget* window) {
    QCoreApplication::processEvents();
    window->repaint();
}

} // namespace bench
