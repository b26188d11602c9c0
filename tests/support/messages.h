#pragma once

#include <QStringList>

namespace testsupport {

// The first line of a message: for a load failure, the one text the data
// file's loader gives, before the line that tells where the file is kept.
inline QString firstLine(const QString& message) {
    return message.section(QLatin1Char('\n'), 0, 0);
}

inline QStringList firstLines(const QStringList& messages) {
    QStringList lines;
    for (const QString& message : messages)
        lines << firstLine(message);
    return lines;
}

} // namespace testsupport
