#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QLineEdit;
class QPushButton;
class Sujiin;
class TSina;
class TSinaList;

// The line dialog (購入内容): one thing bought and what it cost. It works on the
// purchase dialog's working lines only, so nothing reaches the file from here.
class TForm16 : public FormDialog {
    Q_OBJECT
public:
    // line is the line to change; null adds a new one to lines on OK.
    TForm16(Platform& platform, TSinaList& lines, TSina* line, QWidget* parent = nullptr);

    TSina* line() const { return m_line; }

    void OkButtonClick();

private:
    void buildLayout();
    bool failsWith(bool failed, const QString& text, QWidget* focus);

    Platform& m_platform;
    TSinaList& m_lines;
    TSina* m_line;

    QLineEdit* m_name;
    Sujiin* m_kingaku;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
