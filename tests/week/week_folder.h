#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace weektest {

// A yotei.xml as the Windows program leaves it: code page 932, CR LF, the
// declaration naming SHIFT-JIS. Converted by iconv, not by the program's own code.
inline QByteArray windowsSchedule(const QString& body) {
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n<data>\n") + body +
                  QStringLiteral("</data>\n");
    xml.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QStringLiteral("UTF-8"), QStringLiteral("-t"),
                                          QStringLiteral("CP932")});
    iconv.write(xml.toUtf8());
    iconv.closeWriteChannel();
    iconv.waitForFinished();
    return iconv.exitCode() == 0 ? iconv.readAllStandardOutput() : QByteArray();
}

inline QString task(const QString& name, int tuki, int shuu, const QString& state = QString(),
                    const QString& note = QString()) {
    return QStringLiteral("<yotei name=\"%1\" tuki=\"%2\" shuu=\"%3\" state=\"%4\">%5</yotei>\n")
        .arg(name)
        .arg(tuki)
        .arg(shuu)
        .arg(state, note);
}

// The built program, with the given environment additions.
inline QString programPath() {
    return qEnvironmentVariable("AOBAROKU_BIN_DIR") + QStringLiteral("/aobaroku");
}

} // namespace weektest
