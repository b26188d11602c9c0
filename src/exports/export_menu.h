#pragma once

#include <QString>
#include <QToolButton>
#include <functional>

class QAction;
struct AppContext;

// 書き出し in the tab row's corner: the schedule as a calendar file, and the
// purchases and the crops as spreadsheet files. Each asks where to save, writes
// the file whole or not at all, and says how many records it wrote.
class TExportButton : public QToolButton {
    Q_OBJECT
public:
    // The year and month filters of the purchase tab, whose purchases are exported.
    using PurchaseFilters = std::function<std::pair<QString, QString>()>;

    TExportButton(AppContext& context, PurchaseFilters purchaseFilters, QWidget* parent = nullptr);

    void ExportCalendar();
    void ExportPurchases();
    void ExportCrops();
    void ExportHarvests();
    void ExportDiary();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QAction* addEntry(const QString& caption, const char* objectName, void (TExportButton::*handler)());
    // Asks for the file in the named save dialog; false when it was cancelled or the write failed.
    bool save(const QString& dialog, const QString& proposed, const QString& filter, const QByteArray& bytes);

    AppContext& m_context;
    PurchaseFilters m_purchaseFilters;
};
