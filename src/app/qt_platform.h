#pragma once

#include "app/browser_launcher.h"
#include "widgets/platform.h"

// The real desktop: Qt's dialogs, the system's printers and clock, the data
// folder decided at start (store::chooseDataFolder) and the preferences in the
// user's configuration folder.
class QtPlatform : public Platform {
public:
    explicit QtPlatform(QString dataFolder, settings::Preferences preferences =
                                                settings::Preferences(settings::Preferences::userFile()));

    void message(const QString& text) override;
    bool question(const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& text) override;
    QString saveFileName(const SaveRequest& request) override;
    QStringList openPictures() override;
    bool chooseColour(QColor& colour) override;
    bool printDialog(QPrinter& printer) override;
    std::unique_ptr<QPrinter> defaultPrinter() override;
    void openUrl(const QUrl& url) override;
    QDate today() override;
    QString dataFolder() override;
    bool keepsHistory() override { return true; }
    settings::Preferences& preferences() override { return m_preferences; }

private:
    QString m_dataFolder;
    settings::Preferences m_preferences;
    // A link that no browser opened is told, with its address to copy.
    BrowserLauncher m_browser;
};

// Application title used on plain message boxes.
inline const QString kAppTitle = QStringLiteral("青葉録");
inline const QString kMainCaption = QStringLiteral("青葉録 Ver.1.8.0");
