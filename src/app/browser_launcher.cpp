#include "app/browser_launcher.h"

#include <QProcess>

BrowserLauncher::BrowserLauncher(QObject* parent) : QObject(parent) {}

// A browser started by xdg-open may outlive the program, and so may xdg-open
// waiting for it: it is let go rather than killed.
BrowserLauncher::~BrowserLauncher() {
    for (QProcess* process : findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
        process->disconnect(this);
        if (process->state() == QProcess::NotRunning)
            continue;
        process->setParent(nullptr);
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    }
}

void BrowserLauncher::open(const QUrl& url) {
    auto* process = new QProcess(this);
    process->setProgram(QStringLiteral("xdg-open"));
    process->setArguments({QString::fromUtf8(url.toEncoded())});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process, &QProcess::errorOccurred, this, [this, process, url](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(process, url, false);
    });
    connect(process, &QProcess::finished, this, [this, process, url](int code, QProcess::ExitStatus status) {
        finish(process, url, status == QProcess::NormalExit && code == 0);
    });
    process->start();
}

void BrowserLauncher::finish(QProcess* process, const QUrl& url, bool ok) {
    process->disconnect(this);
    process->deleteLater();
    if (ok)
        emit opened(url);
    else
        emit failed(url);
}
