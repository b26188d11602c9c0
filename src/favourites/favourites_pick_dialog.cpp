#include "favourites/favourites_pick_dialog.h"

#include "favourites/favourite_records.h"
#include "widgets/dialog_placement.h"
#include "widgets/list_view3.h"
#include "widgets/platform.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm19::TForm19(Platform& platform, const TOkiniList& list, QWidget* parent)
    : PlainDialog(parent), m_platform(platform), m_list(list) {
    setObjectName(QStringLiteral("TForm19"));
    setWindowTitle(QStringLiteral("お気に入り一覧"));
    QFont f = font();
    f.setPointSize(10);
    setFont(f);
    buildLayout();
    resize(500, 318);
    centreOnMainWindow(this);
    FormShow();
}

void TForm19::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    m_view = new TListView3(this);
    m_view->setObjectName(QStringLiteral("okiniList"));
    m_view->setColumns({QStringLiteral("名称"), QStringLiteral("URL")}, {190, 250});
    m_view->setTexts<TOkini>(
        [](const TOkini& okini, int column) { return column == 1 ? okini.name : okini.url; });
    layout->addWidget(m_view, 1);

    m_ok = plainButton(QStringLiteral("OK"), "okButton");
    m_cancel = plainButton(QStringLiteral("キャンセル"), "cancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &TForm19::OkButtonClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm19::FormShow() {
    std::vector<const TOkini*> favourites;
    for (int i = 0; i < m_list.count(); ++i)
        favourites.push_back(m_list.at(i));
    m_view->setRecords(favourites);
}

void TForm19::OkButtonClick() {
    m_okini = m_view->checkedRecord<TOkini>();
    if (!m_okini) {
        m_platform.message(QStringLiteral("お気に入りを選択してください。"));
        return;
    }
    accept();
}
