#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QLineEdit;
class QPushButton;
class TGroup;
class TGroupList;

// The group dialog: asks for one group's name and display order. It checks
// them and gives both texts back as typed; the caller writes the group.
class TForm1 : public FormDialog {
    Q_OBJECT
public:
    // group is the group to change; null to add one.
    TForm1(Platform& platform, const TGroupList& plan, const TGroup* group, QWidget* parent = nullptr);

    QString nameText() const;
    QString orderText() const;

    void FormShow();
    void OkButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool checksPass();

    Platform& m_platform;
    const TGroupList& m_plan;
    const TGroup* m_group;
    bool m_shown = false;

    QLineEdit* m_name;
    QLineEdit* m_order;
    QPushButton* m_ok;
};

// The order a group gets from the typed order text: the whole number typed, or
// one past the largest order of the plan (the group itself counted) when empty.
int OrderFromText(const TGroupList& plan, const QString& orderText);
