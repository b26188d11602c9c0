#include "figure.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <libxml/xmlversion.h>
#include <unistd.h>

namespace bench {

namespace {

QString number(double value, int decimals = 2) {
    return QString::number(value, 'f', decimals);
}

QString firstMatch(const QString& path, const QString& pattern) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QRegularExpressionMatch match = QRegularExpression(pattern, QRegularExpression::MultilineOption)
                                              .match(QString::fromUtf8(file.readAll()));
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

QString amount(double value, const Figure& f) {
    return number(value) + QLatin1Char(' ') + f.unit;
}

QStringList cells(const Figure& f) {
    return {f.name,
            amount(f.ms, f),
            f.floorName.isEmpty() ? QStringLiteral("-") : f.floorName,
            f.hasFloor() ? amount(f.floorMs, f) : QStringLiteral("-"),
            f.hasFloor() ? number(f.ratio()) + QLatin1Char('x') : QStringLiteral("-"),
            f.targetText(),
            f.hasTarget() ? number(f.againstTarget()) : QStringLiteral("-"),
            f.hasTarget() ? (f.met() ? QStringLiteral("yes") : QStringLiteral("NO")) : QStringLiteral("-")};
}

QString ruleUnder(const QList<qsizetype>& widths) {
    QStringList dashes;
    for (qsizetype c = 0; c < widths.size(); ++c)
        dashes << QString(widths[c], QLatin1Char('-')) +
                      (c == 0 || c == 2 ? QLatin1Char('-') : QLatin1Char(':'));
    return QStringLiteral("|-") + dashes.join(QStringLiteral("|-")) + QStringLiteral("|\n");
}

QString alignedRows(const QList<QStringList>& rows) {
    QList<qsizetype> widths(rows.first().size(), 0);
    for (const QStringList& row : rows)
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    QString text;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QStringList padded;
        for (qsizetype c = 0; c < widths.size(); ++c)
            padded << (c == 0 || c == 2 ? rows[r][c].leftJustified(widths[c])
                                        : rows[r][c].rightJustified(widths[c]));
        text += QStringLiteral("| ") + padded.join(QStringLiteral(" | ")) + QStringLiteral(" |\n");
        if (r == 0) // the line under the heads, so that the table reads as Markdown too
            text += ruleUnder(widths);
    }
    return text;
}

// Times keep the keys "ms" and "floorMs"; other figures name their unit, as in "mb".
QJsonObject figureObject(const Figure& f) {
    const QString key = f.unit.toLower();
    const QString floorKey = QStringLiteral("floor") + key.left(1).toUpper() + key.mid(1);
    QJsonObject o{{"name", f.name}, {key, f.ms}, {"unit", f.unit}, {"runs", f.runs}};
    if (f.hasFloor()) {
        o["floor"] = f.floorName;
        o[floorKey] = f.floorMs;
        o["ratio"] = f.ratio();
    }
    if (f.targetRatio > 0)
        o["targetRatio"] = f.targetRatio;
    if (f.targetMs > 0)
        o["targetMs"] = f.targetMs;
    if (f.hasTarget()) {
        o["againstTarget"] = f.againstTarget();
        o["met"] = f.met();
    }
    return o;
}

} // namespace

double Figure::againstTarget() const {
    if (targetRatio > 0 && hasFloor())
        return ratio() / targetRatio;
    return targetMs > 0 ? ms / targetMs : 0;
}

QString Figure::targetText() const {
    if (targetRatio > 0) // 3.0x, 1.25x
        return QStringLiteral("<= %1x").arg(
            number(targetRatio, targetRatio * 10 == int(targetRatio * 10) ? 1 : 2));
    if (targetMs > 0)
        return QStringLiteral("< %1 ms").arg(number(targetMs, 0));
    return QStringLiteral("-");
}

Machine Machine::current() {
    Machine m;
    m.cpus = int(sysconf(_SC_NPROCESSORS_ONLN));
    m.cpuModel = firstMatch(QStringLiteral("/proc/cpuinfo"), QStringLiteral("^model name\\s*:(.*)$"));
    m.date = QDateTime::currentDateTime().toString(Qt::ISODate);
    m.loadAverage = firstMatch(QStringLiteral("/proc/loadavg"), QStringLiteral("^(\\S+ \\S+ \\S+)"));
#ifdef NDEBUG
    m.buildType = QStringLiteral("optimised (NDEBUG)");
#else
    m.buildType = QStringLiteral("debug");
#endif
    m.qtVersion = QString::fromLatin1(qVersion());
    m.libxmlVersion = QString::fromLatin1(LIBXML_DOTTED_VERSION);
    return m;
}

QString textTable(const Machine& machine, const QList<Figure>& figures) {
    QString text = QStringLiteral("aobaroku-bench  %1\n%2 CPUs: %3\nload average at start: %4; build: %5; "
                                  "Qt %6; libxml2 %7\n\n")
                       .arg(machine.date)
                       .arg(machine.cpus)
                       .arg(machine.cpuModel, machine.loadAverage, machine.buildType, machine.qtVersion,
                            machine.libxmlVersion);
    QList<QStringList> rows = {
        {"figure", "median", "floor", "floor median", "ratio", "target", "vs target", "met"}};
    for (const Figure& f : figures)
        rows << cells(f);
    return text + alignedRows(rows);
}

QByteArray jsonTable(const Machine& machine, const QList<Figure>& figures) {
    QJsonArray rows;
    for (const Figure& f : figures)
        rows.append(figureObject(f));
    const QJsonObject machineObject{{"cpus", machine.cpus},
                                    {"cpuModel", machine.cpuModel},
                                    {"date", machine.date},
                                    {"loadAverage", machine.loadAverage},
                                    {"build", machine.buildType},
                                    {"qt", machine.qtVersion},
                                    {"libxml2", machine.libxmlVersion}};
    return QJsonDocument(QJsonObject{{"machine", machineObject}, {"figures", rows}}).toJson();
}

} // namespace bench
