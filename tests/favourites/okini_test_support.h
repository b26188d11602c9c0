#pragma once

#include "favourites/favourite_records.h"
#include "support/modal.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>
#include <memory>

namespace okinitest {

using testsupport::whenModal;

inline TOkini* addOkini(TOkiniList& list, const QString& name, const QString& url, const QString& memo) {
    TOkini* okini = list.add();
    okini->name = name;
    okini->url = url;
    okini->memo = memo;
    return okini;
}

// The value of script in the view's page; an invalid value when the engine does
// not answer within a minute, so the comparison fails instead of hanging.
inline QVariant evaluate(QWebEngineView* view, const QString& script) {
    auto done = std::make_shared<bool>(false);
    auto value = std::make_shared<QVariant>();
    view->page()->runJavaScript(script, [done, value](const QVariant& v) {
        *value = v;
        *done = true;
    });
    const QDeadlineTimer deadline(60000);
    while (!*done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return *value;
}

// Lets the engine finish showing the page file, for engines slower to start
// than the program is willing to wait.
inline bool waitForPageFile(QWebEngineView* view) {
    const QString script =
        QStringLiteral("document.readyState == 'complete' && location.href.endsWith('/OkiniList.html')");
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        if (evaluate(view, script).toBool())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return false;
}

// The text of every paragraph of the page on show, in order.
inline QStringList paragraphs(QWebEngineView* view) {
    return evaluate(view, QStringLiteral("Array.from(document.querySelectorAll('p'), p => p.textContent)"))
        .toStringList();
}

} // namespace okinitest
