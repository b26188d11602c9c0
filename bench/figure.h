#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace bench {

// One line of the table: a median, the floor it is held against (measured in
// the same rounds) and the target, either a ratio to the floor or a time. Most
// figures are times; ms and floorMs then hold milliseconds, else the unit's amounts.
struct Figure {
    QString name;
    double ms = 0;
    QString floorName; // empty when there is no floor
    double floorMs = 0;
    double targetRatio = 0; // the figure may take this many times the floor; 0: none
    double targetMs = 0;    // the figure may take this long; 0: none
    int runs = 0;
    QString unit = QStringLiteral("ms");

    bool hasFloor() const { return !floorName.isEmpty() && floorMs > 0; }
    bool hasTarget() const { return (targetRatio > 0 && hasFloor()) || targetMs > 0; }
    double ratio() const { return hasFloor() ? ms / floorMs : 0; }
    // Below 1 when the target is met.
    double againstTarget() const;
    bool met() const { return hasTarget() && againstTarget() <= 1; }
    QString targetText() const;
};

// Where and when the figures were taken.
struct Machine {
    int cpus = 0;
    QString cpuModel;
    QString date;
    QString loadAverage;
    QString buildType;
    QString qtVersion;
    QString libxmlVersion;

    static Machine current();
};

QString textTable(const Machine& machine, const QList<Figure>& figures);
QByteArray jsonTable(const Machine& machine, const QList<Figure>& figures);

} // namespace bench
