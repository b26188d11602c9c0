#include "plans/crop_pick_dialog.h"

#include "crops/crop_dialog.h"
#include "crops/crop_records.h"
#include "plans/dialog_support.h"
#include "widgets/platform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString pickerText(const TSakumotu& crop) {
    return crop.name == kDummyCropName ? QStringLiteral("（ダミー）") : crop.name;
}

} // namespace

TForm10::TForm10(Platform& platform, TSakumotuList& catalogue, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_catalogue(catalogue) {
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("作物選択"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("cropPickList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* note = new QLabel(QStringLiteral("作付計画に矢印や名称は表示されない空行を作成する場合は、"
                                           "「（ダミー）」を選択してください。"),
                            this);
    note->setWordWrap(true);

    auto* addCrop = new QPushButton(QStringLiteral("作物を追加"), this);
    addCrop->setObjectName(QStringLiteral("addCropButton"));
    addCrop->setAutoDefault(false);
    connect(addCrop, &QPushButton::clicked, this, &TForm10::AddCropButtonClick);
    QPushButton* ok = makeOkButton();
    connect(ok, &QPushButton::clicked, this, &TForm10::OkButtonClick);
    QPushButton* cancel = makeCancelButton();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addCrop);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(note);
    layout->addLayout(buttons);
    setMinimumSize(320, 395);
    resize(320, 395);
}

void TForm10::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TForm10::FormShow() {
    m_catalogueChanged = false;
    fillList();
}

void TForm10::fillList() {
    m_list->clear();
    for (int i = 0; i < m_catalogue.count(); ++i)
        m_list->addItem(pickerText(*m_catalogue.at(i)));
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
}

int TForm10::selectedRow() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

// The new crop is found by its place, not by its shown text: a crop someone
// named （ダミー） must not lead to the dummy being picked instead.
void TForm10::AddCropButtonClick() {
    TForm2 dialog(m_platform, TForm2::ModeAdd, m_catalogue, nullptr, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    fillList();
    const int row = m_catalogue.indexOf(dialog.crop());
    m_list->setCurrentRow(row >= 0 ? row : 0);
    m_catalogueChanged = true;
}

void TForm10::OkButtonClick() {
    const int row = selectedRow();
    if (row < 0) {
        plandlg::refuse(m_platform, QStringLiteral("作物を選択してください。"), m_list);
        return;
    }
    m_crop = m_catalogue.at(row);
    accept();
}
