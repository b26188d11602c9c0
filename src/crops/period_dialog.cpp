#include "crops/period_dialog.h"

#include "crops/crop_dialog.h"
#include "crops/crop_records.h"
#include "widgets/platform.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm8::TForm8(Platform& platform, const QString& mode, TJikiList& periods, TJiki* period, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_mode(mode), m_periods(periods), m_period(period) {
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("栽培時期"));
    buildLayout();
    setFixedSize(329, 133);
}

void TForm8::buildLayout() {
    m_st = new QLineEdit(this);
    m_st->setObjectName(QStringLiteral("stEdit"));
    m_ed = new QLineEdit(this);
    m_ed->setObjectName(QStringLiteral("edEdit"));
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->addWidget(m_st, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("～"), this), 0, 1);
    grid->addWidget(m_ed, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("種まきや収穫など"), this), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("収穫"), this), 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(okCancelRow(m_ok, m_cancel));

    connect(m_ok, &QPushButton::clicked, this, &TForm8::OkButtonClick);
    QWidget::setTabOrder(m_st, m_ed);
    QWidget::setTabOrder(m_ed, m_ok);
    QWidget::setTabOrder(m_ok, m_cancel);
}

void TForm8::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TForm8::FormShow() {
    if (m_mode != TForm2::ModeChange || !m_period)
        return;
    m_st->setText(m_period->st);
    m_ed->setText(m_period->ed);
}

void TForm8::OkButtonClick() {
    if (m_st->text().isEmpty()) {
        m_platform.message(QStringLiteral("栽培時期を入力してください。"));
        m_st->setFocus();
        return;
    }
    if (m_mode != TForm2::ModeChange || !m_period)
        m_period = m_periods.add();
    m_period->st = m_st->text();
    m_period->ed = m_ed->text();
    accept();
}
