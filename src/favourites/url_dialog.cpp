#include "favourites/url_dialog.h"

#include "favourites/favourite_records.h"
#include "widgets/platform.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kNewAddress = QStringLiteral("http://");

QLabel* hintLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TForm18::TForm18(Platform& platform, TOkiniList& list, TOkini* okini, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_list(list), m_okini(okini) {
    setObjectName(QStringLiteral("TForm18"));
    setWindowTitle(QStringLiteral("URL登録"));
    buildLayout();
    setFixedSize(434, 243);
    FormShow();
}

QLineEdit* TForm18::field(const char* objectName, bool japanese) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setFixedWidth(330);
    if (!japanese) {
        // An address is typed in plain letters: no composition window here.
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setInputMethodHints(Qt::ImhUrlCharactersOnly | Qt::ImhLatinOnly);
    }
    return edit;
}

void TForm18::buildLayout() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    m_name = field("nameEdit", true);
    m_url = field("urlEdit", false);
    m_memo = field("memoEdit", true);
    const struct {
        QString caption;
        QLineEdit* edit;
        QString hint;
    } rows[] = {
        {QStringLiteral("名称"), m_name, QStringLiteral("サイト名やブログ名など")},
        {QStringLiteral("URL"), m_url, QStringLiteral("例）http://www.example.jp/")},
        {QStringLiteral("メモ"), m_memo, QStringLiteral("例）トマトの育て方について詳しく書かれている")},
    };
    int line = 0;
    for (const auto& row : rows) {
        grid->addWidget(new QLabel(row.caption, this), line, 0);
        grid->addWidget(row.edit, line++, 1);
        grid->addWidget(hintLabel(row.hint, this), line++, 1);
        grid->setRowMinimumHeight(line++, 6);
    }
    m_ok = makeOkButton();
    m_cancel = makeCancelButton();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    grid->setRowStretch(line++, 1);
    grid->addLayout(buttons, line, 0, 1, 2);

    connect(m_ok, &QPushButton::clicked, this, &TForm18::OkButtonClick);
    QWidget::setTabOrder(m_name, m_url);
    QWidget::setTabOrder(m_url, m_memo);
    QWidget::setTabOrder(m_memo, m_ok);
    QWidget::setTabOrder(m_ok, m_cancel);
}

void TForm18::FormShow() {
    if (!m_okini) {
        m_url->setText(kNewAddress);
        return;
    }
    m_name->setText(m_okini->name);
    m_url->setText(m_okini->url);
    m_memo->setText(m_okini->memo);
}

bool TForm18::failsWith(bool failed, const QString& text, QLineEdit* focus) {
    if (!failed)
        return false;
    m_platform.message(text);
    focus->setFocus();
    return true;
}

// The address is taken as typed: even the bare "http://" is a favourite.
void TForm18::OkButtonClick() {
    if (failsWith(m_name->text().isEmpty(), QStringLiteral("名称を入力してください。"), m_name) ||
        failsWith(m_url->text().isEmpty(), QStringLiteral("URLを入力してください。"), m_url))
        return;
    if (!m_okini)
        m_okini = m_list.add();
    m_okini->name = m_name->text();
    m_okini->url = m_url->text();
    m_okini->memo = m_memo->text();
    accept();
}
