#pragma once

#include <QApplication>
#include <QIcon>
#include <exception>
#include <functional>

// The application object. A failure that no command catches lands here, is
// shown in the general error box, and the program goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    void setErrorHandler(std::function<void(const QString&)> handler) { m_onError = std::move(handler); }

    // Fonts, the program's icon and the Japanese texts of Qt's standard dialogs.
    void setUpLook();

private:
    std::function<void(const QString&)> m_onError;
};

// The text of the general error box for a failure that no command caught. The
// program's own failures say what went wrong in Japanese; a lack of memory,
// which the library reports in English, is put in the same words.
QString errorText(const std::exception& e);

// Tahoma where it exists; it has no Japanese, so a CJK family follows.
QStringList uiFontFamilies();

// The program's picture, for every window and the task bar: from the icon
// theme where the package installed it, else the copy built into the program.
QIcon applicationIcon();
