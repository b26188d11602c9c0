#pragma once

#include <QDialog>

// A dialog where Enter and Escape press no button: it closes only by its own
// buttons or by its frame, which counts as キャンセル.
class TQuietDialog : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
