#pragma once

#include "crops/crop_records.h"
#include "widgets/form_dialog.h"

class Platform;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class LinesEdit;
class QPushButton;

// The crop dialog: adds a crop to the catalogue or changes one, checks the
// input and saves the crop file before it closes. Periods are edited on a
// working copy, so キャンセル leaves the crop as it was.
class TForm2 : public FormDialog {
    Q_OBJECT
public:
    static inline const QString ModeAdd = QStringLiteral("追加");
    static inline const QString ModeChange = QStringLiteral("変更");

    // crop is the crop to change; null in add mode.
    TForm2(Platform& platform, const QString& mode, TSakumotuList& catalogue, TSakumotu* crop,
           QWidget* parent = nullptr);

    // After OK: the added or changed crop, and whether a change renamed it.
    TSakumotu* crop() const { return m_crop; }
    bool nameChanged() const { return m_nameChanged; }

    void FormShow();
    void OkButtonClick();
    void PeriodAddClick();
    void PeriodChangeClick();
    void PeriodDeleteClick();
    void TemplateButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void buildNameRows(QGridLayout* grid);
    void buildPeriodRow(QGridLayout* grid);
    void buildSpacingRows(QGridLayout* grid);
    void buildMemoRows(QGridLayout* grid);
    void buildButtonRow(QGridLayout* grid);
    QLabel* label(const QString& text);
    QLineEdit* textField(const char* objectName, bool japanese);
    QPushButton* sideButton(const QString& caption, const char* objectName);
    void setTabOrder();
    void RefreshPeriodList();
    TJiki* selectedPeriod();
    bool failsWith(bool failed, const QString& text, QWidget* focus);
    bool checksPass();
    void writeCrop(TSakumotu& crop) const;

    Platform& m_platform;
    const QString m_mode;
    TSakumotuList& m_catalogue;
    TSakumotu* m_crop;
    bool m_nameChanged = false;
    bool m_shown = false;
    TJikiList m_periods; // the working list

    QLineEdit* m_name;
    QLineEdit* m_kamoku;
    QLineEdit* m_okiniiri1;
    QLineEdit* m_okiniiri2;
    QListWidget* m_periodList;
    QPushButton* m_periodAdd;
    QPushButton* m_periodChange;
    QPushButton* m_periodDelete;
    QLineEdit* m_joukan;
    QLineEdit* m_kabukan1;
    QLineEdit* m_kabukan2;
    LinesEdit* m_memo;
    QPushButton* m_template;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
