#include "plans/group_dialog.h"

#include "plans/dialog_support.h"
#include "plans/plan_records.h"
#include "widgets/number_text.h"
#include "widgets/platform.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm1::TForm1(Platform& platform, const TGroupList& plan, const TGroup* group, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_plan(plan), m_group(group) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("グループ"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("groupNameEdit"));
    m_name->setMinimumWidth(220);
    m_order = new QLineEdit(this);
    m_order->setObjectName(QStringLiteral("groupOrderEdit"));
    m_order->setFixedWidth(50);
    useHalfWidthNumbers(m_order);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("グループ名"), this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("表示順"), this), 1, 0);
    grid->addWidget(m_order, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("※未入力：末尾"), this), 1, 2);
    grid->setRowMinimumHeight(2, 6);
    grid->addLayout(okCancelRow(m_ok), 3, 0, 1, 3);
    connect(m_ok, &QPushButton::clicked, this, &TForm1::OkButtonClick);
    setFixedSize(sizeHint());
}

QString TForm1::nameText() const {
    return m_name->text();
}

QString TForm1::orderText() const {
    return m_order->text();
}

void TForm1::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TForm1::FormShow() {
    if (!m_group)
        return;
    m_name->setText(m_group->name);
    m_order->setText(QString::number(m_group->order));
}

// The first failing check wins. Names are compared exactly as typed: no
// trimming, no folding of case or width.
bool TForm1::checksPass() {
    const QString name = m_name->text();
    const QString order = m_order->text();
    if (name.isEmpty())
        return !plandlg::refuse(m_platform, QStringLiteral("グループ名を入力してください。"), m_name);
    if (!order.isEmpty() && !wholeNumber(order))
        return !plandlg::refuse(m_platform, QStringLiteral("表示順は整数のみ入力してください。"), m_order);
    const TGroup* other = m_group ? m_plan.FindOtherGroup(name, m_group) : m_plan.FindGroup(name);
    if (other)
        return !plandlg::refuse(m_platform, QStringLiteral("すでに存在するグループ名が入力されています。"),
                                m_name);
    return true;
}

void TForm1::OkButtonClick() {
    if (checksPass())
        accept();
}

int OrderFromText(const TGroupList& plan, const QString& orderText) {
    if (orderText.isEmpty())
        return plan.MaxOrder() + 1;
    return wholeNumber(orderText).value_or(0);
}
