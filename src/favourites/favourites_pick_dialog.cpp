#include "favourites/favourites_pick_dialog.h"

#include "favourites/favourite_records.h"
#include "widgets/list_view3.h"
#include "widgets/platform.h"

#include <QPushButton>
#include <QVBoxLayout>

TForm19::TForm19(Platform& platform, const TOkiniList& list, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_list(list) {
    setObjectName(QStringLiteral("TForm19"));
    setWindowTitle(QStringLiteral("お気に入り一覧"));
    buildLayout();
    resize(500, 318);
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
    layout->addLayout(okCancelRow(m_ok, m_cancel));

    connect(m_ok, &QPushButton::clicked, this, &TForm19::OkButtonClick);
    // A double click picks the row as OK does.
    connect(m_view, &TListView3::opened, this, &TForm19::OkButtonClick);
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
