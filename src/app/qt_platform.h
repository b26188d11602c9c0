#pragma once

#include "widgets/platform.h"

// The real desktop: Qt's dialogs, the system's printers and clock, the data
// folder beside the executable.
class QtPlatform : public Platform {
public:
    void message(const QString& text) override;
    bool question(const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& text) override;
    QString saveFileName(const QString& proposed, const QString& filter) override;
    bool chooseColour(QColor& colour) override;
    bool printDialog(QPrinter& printer) override;
    std::unique_ptr<QPrinter> defaultPrinter() override;
    void openUrl(const QUrl& url) override;
    QDate today() override;
    QString dataFolder() override;
    bool keepsHistory() override { return true; }
};

// Application title used on plain message boxes.
inline const QString kAppTitle = QStringLiteral("青葉録");
inline const QString kMainCaption = QStringLiteral("青葉録 Ver.1.8.0");
