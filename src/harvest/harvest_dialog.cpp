#include "harvest/harvest_dialog.h"

#include "harvest/harvest_book.h"
#include "harvest/harvest_widgets.h"
#include "widgets/platform.h"
#include "widgets/suji_edit.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormShukaku::TFormShukaku(Platform& platform, THarvestBook& book, TShukaku* record, const QDate& date,
                           const HarvestChoices& choices, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_book(book), m_record(record) {
    setObjectName(QStringLiteral("TFormShukaku"));
    setWindowTitle(QStringLiteral("収穫"));
    auto* form = new QFormLayout;
    m_date = harvestui::dateEdit(record ? record->date : date, this);
    m_crop = harvestui::namesBox("cropCombo", choices.crops, record ? record->crop : QString(), this);
    m_bed = harvestui::namesBox("bedCombo", choices.beds, record ? record->hatake : QString(), this);
    m_amount = new Sujiin(this);
    m_amount->setObjectName(QStringLiteral("amountEdit"));
    m_amount->setNumOnly(false);
    m_amount->setValidValue(QStringLiteral("0123456789.０１２３４５６７８９．"));
    m_amount->setFixedWidth(90);
    m_amount->setText(record ? record->ryou : QString());
    m_unit =
        harvestui::namesBox("unitCombo", choices.units, record ? record->tani : choices.units.value(1), this);
    m_unit->setFixedWidth(90);
    auto* amountRow = new QHBoxLayout;
    amountRow->addWidget(m_amount);
    amountRow->addWidget(m_unit);
    amountRow->addStretch(1);
    m_note = new QLineEdit(record ? record->note : QString(), this);
    m_note->setObjectName(QStringLiteral("noteEdit"));
    form->addRow(QStringLiteral("日付"), m_date);
    form->addRow(QStringLiteral("作物"), m_crop);
    form->addRow(QStringLiteral("場所"), m_bed);
    form->addRow(QStringLiteral("収穫量"), amountRow);
    form->addRow(QStringLiteral("メモ"), m_note);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addSpacing(6);
    QPushButton* ok = nullptr;
    layout->addLayout(okCancelRow(ok));
    connect(ok, &QPushButton::clicked, this, &TFormShukaku::OkButtonClick);
    resize(380, sizeHint().height());
}

void TFormShukaku::OkButtonClick() {
    const QString crop = m_crop->currentText().trimmed();
    const QString unit = m_unit->currentText().trimmed();
    if (failsWith(crop.isEmpty(), QStringLiteral("作物を入力してください。"), m_crop) ||
        failsWith(!ParseAmount(m_amount->text()),
                  QStringLiteral("収穫量を数字で入力してください（小数は 3 桁まで）。"), m_amount) ||
        failsWith(unit.isEmpty(), QStringLiteral("単位を入力してください。"), m_unit))
        return;
    TShukaku* record = m_record ? m_record : m_book.shukaku.add();
    record->date = m_date->date();
    record->crop = crop;
    record->hatake = m_bed->currentText().trimmed();
    record->ryou = AmountText(*ParseAmount(m_amount->text()));
    record->tani = unit;
    record->note = m_note->text();
    m_record = record;
    m_book.shukaku.SortByDate();
    m_book.shukaku.SaveToFile(m_platform.dataFolder(), m_platform);
    accept();
}
