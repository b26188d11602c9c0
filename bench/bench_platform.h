#pragma once

#include "widgets/platform.h"

#include <QPrinter>
#include <QStringList>

namespace bench {

// A desktop nobody sits at: every question is answered yes, every dialog
// cancelled, and whatever the window says is kept for the report.
class BenchPlatform : public Platform {
public:
    explicit BenchPlatform(const QString& dataFolder) : m_dataFolder(dataFolder) {}

    QStringList shown;
    bool keepHistory = false;

    void message(const QString& text) override { shown << text; }
    bool question(const QString& text) override {
        shown << text;
        return true;
    }
    void warning(const QString& text) override { shown << text; }
    void error(const QString& text) override { shown << text; }
    QString saveFileName(const SaveRequest&) override { return QString(); }
    bool chooseColour(QColor&) override { return false; }
    bool printDialog(QPrinter&) override { return false; }
    std::unique_ptr<QPrinter> defaultPrinter() override { return nullptr; }
    void openUrl(const QUrl&) override {}
    QDate today() override { return QDate(2026, 6, 10); }
    QString dataFolder() override { return m_dataFolder; }
    bool keepsHistory() override { return keepHistory; }
    settings::Preferences& preferences() override { return m_preferences; }

private:
    QString m_dataFolder;
    settings::Preferences m_preferences; // in memory only
};

} // namespace bench
