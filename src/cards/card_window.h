#pragma once

#include "cards/card_sheet.h"

#include <QDialog>

class Platform;
class QLabel;
class QPushButton;

// The one window behind every record card: the sheet on white, with 印刷 to
// print it on the default printer and 保存 to keep it as a JPEG image. The
// buttons and notes are never part of what is printed or saved. The card reads
// its record once, when it is made, and never changes it.
class TCardWindow : public QDialog {
    Q_OBJECT
public:
    // The save dialog named `dialog` proposes fileName.
    TCardWindow(Platform& platform, const QString& caption, const cards::CardSheet& sheet,
                const QString& dialog, const QString& fileName, QWidget* owner);

    // The client area as the card shows it now, buttons and notes left out.
    QImage cardImage();

    void PrintButtonClick();
    void SaveButtonClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class HiddenControls;
    QLabel* note(const QString& text, const char* objectName);
    void placeControls();
    void setControlsVisible(bool visible);
    QImage renderClientArea();

    Platform& m_platform;
    cards::CardSheet m_sheet;
    QString m_dialog;
    QString m_fileName;
    QPushButton* m_printButton;
    QPushButton* m_saveButton;
    QLabel* m_saveNote;
    QLabel* m_printNote;
};
