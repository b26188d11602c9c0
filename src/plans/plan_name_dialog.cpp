#include "plans/plan_name_dialog.h"

#include "plans/dialog_support.h"
#include "widgets/platform.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm42::TForm42(Platform& platform, const QString& currentName, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform) {
    setObjectName(QStringLiteral("TForm42"));
    setWindowTitle(QStringLiteral("計画名変更"));

    auto* before = new QLabel(currentName, this);
    before->setObjectName(QStringLiteral("oldNameLabel"));
    before->setTextFormat(Qt::PlainText);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("newNameEdit"));
    m_name->setMinimumWidth(200);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("変更前"), this), 0, 0);
    grid->addWidget(before, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("↓"), this), 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("変更後"), this), 2, 0);
    grid->addWidget(m_name, 2, 1);
    grid->setRowMinimumHeight(3, 6);
    grid->addLayout(okCancelRow(m_ok), 4, 0, 1, 2);
    connect(m_ok, &QPushButton::clicked, this, &TForm42::OkButtonClick);
    setFixedSize(sizeHint());
}

QString TForm42::newName() const {
    return m_name->text();
}

// Any name will do, even one another plan already has.
void TForm42::OkButtonClick() {
    if (m_name->text().isEmpty()) {
        plandlg::refuse(m_platform, QStringLiteral("作付計画名を入力してください。"), m_name);
        return;
    }
    accept();
}
