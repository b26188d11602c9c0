#include "purchases/purchase_line_dialog.h"

#include "purchases/purchase_records.h"
#include "widgets/platform.h"
#include "widgets/suji_edit.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Twelve digits reach hundreds of billions of yen and stay far inside the sums' range.
constexpr int kAmountDigits = 12;

} // namespace

TForm16::TForm16(Platform& platform, TSinaList& lines, TSina* line, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_lines(lines), m_line(line) {
    setObjectName(QStringLiteral("TForm16"));
    setWindowTitle(QStringLiteral("購入内容"));
    buildLayout();
    setFixedSize(352, 163);
    if (m_line) {
        m_name->setText(m_line->name);
        m_kingaku->setText(m_line->kingaku);
    }
}

void TForm16::buildLayout() {
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setFixedWidth(226);
    m_kingaku = new Sujiin(this);
    m_kingaku->setObjectName(QStringLiteral("kingakuEdit"));
    m_kingaku->setFixedWidth(121);
    m_kingaku->setEnterColor(QApplication::palette(m_kingaku).color(QPalette::Base));
    m_kingaku->setMaxLength2(kAmountDigits);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(24, 20, 24, 16);
    grid->addWidget(new QLabel(QStringLiteral("購入品"), this), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("金額"), this), 1, 0);
    grid->addWidget(m_kingaku, 1, 1, Qt::AlignLeft);
    grid->addWidget(new QLabel(QStringLiteral("円"), this), 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(2, 1);
    grid->addLayout(okCancelRow(m_ok, m_cancel), 3, 0, 1, 3);

    QWidget::setTabOrder(m_name, m_kingaku);
    QWidget::setTabOrder(m_kingaku, m_ok);
    QWidget::setTabOrder(m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &TForm16::OkButtonClick);
}

bool TForm16::failsWith(bool failed, const QString& text, QWidget* focus) {
    if (failed) {
        m_platform.message(text);
        focus->setFocus();
    }
    return failed;
}

void TForm16::OkButtonClick() {
    if (failsWith(m_name->text().isEmpty(), QStringLiteral("購入内容を入力してください。"), m_name) ||
        failsWith(m_kingaku->text().isEmpty(), QStringLiteral("金額を入力してください。"), m_kingaku))
        return;
    if (!m_line)
        m_line = m_lines.add();
    m_line->name = m_name->text();
    m_line->kingaku = m_kingaku->text();
    accept();
}
