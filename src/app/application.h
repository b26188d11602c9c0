#pragma once

#include <QApplication>
#include <functional>

// The application object. A failure that no command catches lands here, is
// shown in the general error box, and the program goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    void setErrorHandler(std::function<void(const QString&)> handler) { m_onError = std::move(handler); }

    // Fonts and the Japanese texts of Qt's standard dialogs.
    void setUpLook();

private:
    std::function<void(const QString&)> m_onError;
};

// Tahoma where it exists; it has no Japanese, so a CJK family follows.
QStringList uiFontFamilies();
