#include "harvest/diary_dialog.h"

#include "harvest/harvest_book.h"
#include "harvest/harvest_widgets.h"
#include "harvest/photo_import.h"
#include "widgets/lines_edit.h"
#include "widgets/platform.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFormLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A row of the photo list: a stored name, or a file chosen and not yet copied.
constexpr int kStoredRole = Qt::UserRole;
constexpr int kChosenRole = Qt::UserRole + 1;

} // namespace

TFormNikki::TFormNikki(Platform& platform, THarvestBook& book, TNikki* record, const QDate& date,
                       const HarvestChoices& choices, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_book(book), m_record(record) {
    setObjectName(QStringLiteral("TFormNikki"));
    setWindowTitle(QStringLiteral("日誌"));
    auto* form = new QFormLayout;
    m_date = harvestui::dateEdit(record ? record->date : date, this);
    m_crop = harvestui::namesBox("cropCombo", choices.crops, record ? record->crop : QString(), this);
    m_bed = harvestui::namesBox("bedCombo", choices.beds, record ? record->hatake : QString(), this);
    // Enter starts a new line of the entry; Ctrl+Enter is OK.
    m_text = new LinesEdit(this);
    m_text->setPlainText(record ? record->text : QString());
    m_text->setObjectName(QStringLiteral("diaryText"));
    m_text->setTabChangesFocus(true);
    form->addRow(QStringLiteral("日付"), m_date);
    form->addRow(QStringLiteral("作物"), m_crop);
    form->addRow(QStringLiteral("場所"), m_bed);
    form->addRow(QStringLiteral("内容"), m_text);

    m_photos = new QListWidget(this);
    m_photos->setObjectName(QStringLiteral("photoList"));
    m_photos->setMaximumHeight(90);
    if (record)
        for (const QString& name : record->photos) {
            auto* item = new QListWidgetItem(name, m_photos);
            item->setData(kStoredRole, name);
        }
    form->addRow(QStringLiteral("写真"), m_photos);
    countAsInput(m_photos);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buildPhotoRow());
    layout->addSpacing(6);
    QPushButton* ok = nullptr;
    layout->addLayout(okCancelRow(ok));
    connect(ok, &QPushButton::clicked, this, &TFormNikki::OkButtonClick);
    resize(460, 420);
}

QLayout* TFormNikki::buildPhotoRow() {
    auto* row = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("写真を追加"), this);
    add->setObjectName(QStringLiteral("photoAddButton"));
    add->setAutoDefault(false);
    auto* remove = new QPushButton(QStringLiteral("写真を外す"), this);
    remove->setObjectName(QStringLiteral("photoRemoveButton"));
    remove->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &TFormNikki::AddPhotoClick);
    connect(remove, &QPushButton::clicked, this, &TFormNikki::RemovePhotoClick);
    row->addStretch(1);
    row->addWidget(add);
    row->addWidget(remove);
    return row;
}

void TFormNikki::AddPhotoClick() {
    for (const QString& path : m_platform.openPictures()) {
        auto* item = new QListWidgetItem(QFileInfo(path).fileName() + QStringLiteral("（追加）"), m_photos);
        item->setData(kChosenRole, path);
    }
}

// The file of a removed photo stays in the folder: an undo may bring its entry back.
void TFormNikki::RemovePhotoClick() {
    delete m_photos->currentItem();
}

QStringList TFormNikki::importChosen(const QDate& date) {
    QStringList kept;
    QStringList failures;
    for (int i = 0; i < m_photos->count(); ++i) {
        const QListWidgetItem* item = m_photos->item(i);
        if (item->data(kStoredRole).isValid()) {
            kept << item->data(kStoredRole).toString();
            continue;
        }
        const QString source = item->data(kChosenRole).toString();
        const photos::Imported imported = photos::importPhoto(source, m_platform.dataFolder(), date);
        if (imported.name.isEmpty())
            failures << QFileInfo(source).fileName() + QStringLiteral(": ") + imported.reason;
        else
            kept << imported.name;
    }
    if (!failures.isEmpty())
        m_platform.message(QStringLiteral("次の写真は追加できませんでした。\n") +
                           failures.join(QLatin1Char('\n')));
    return kept;
}

void TFormNikki::OkButtonClick() {
    QString text = m_text->toPlainText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.trimmed().isEmpty() && m_photos->count() == 0) {
        m_platform.message(QStringLiteral("内容を入力してください。"));
        m_text->setFocus();
        return;
    }
    const QStringList photoNames = importChosen(m_date->date());
    TNikki* record = m_record ? m_record : m_book.nikki.add();
    record->date = m_date->date();
    record->text = text;
    record->crop = m_crop->currentText().trimmed();
    record->hatake = m_bed->currentText().trimmed();
    record->photos = photoNames;
    m_record = record;
    m_book.nikki.SortByDate();
    m_book.nikki.SaveToFile(m_platform.dataFolder(), m_platform);
    accept();
}
