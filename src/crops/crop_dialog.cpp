#include "crops/crop_dialog.h"

#include "crops/integer_text.h"
#include "crops/period_dialog.h"
#include "widgets/lines_edit.h"
#include "widgets/number_text.h"
#include "widgets/platform.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr int kRecordRole = Qt::UserRole + 1;
constexpr int kPeriodLimit = 5;

const QString kChoosePeriod = QStringLiteral("栽培時期を選択してください。");

const QStringList& templateLines() {
    static const QStringList lines = {
        QStringLiteral("連作障害："), QStringLiteral("畑の準備："), QStringLiteral("種まき（植え付け）："),
        QStringLiteral("間引き："),   QStringLiteral("追肥："),     QStringLiteral("病害虫対策："),
        QStringLiteral("収穫時期："), QStringLiteral("収穫方法："), QStringLiteral("保存方法：")};
    return lines;
}

int indexOf(const TJikiList& periods, const TJiki* period) {
    for (int i = 0; i < periods.count(); ++i)
        if (periods.at(i) == period)
            return i;
    return -1;
}

QLabel* exampleLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TForm2::TForm2(Platform& platform, const QString& mode, TSakumotuList& catalogue, TSakumotu* crop,
               QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_mode(mode), m_catalogue(catalogue), m_crop(crop) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("作物"));
    buildLayout();
    setFixedSize(435, 523);
}

QLineEdit* TForm2::textField(const char* objectName, bool japanese) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(objectName));
    if (!japanese) {
        // Spacing is a number: typed in plain digits, full-width ones turned half-width.
        useHalfWidthNumbers(field);
        field->setFixedWidth(60);
    }
    return field;
}

QPushButton* TForm2::sideButton(const QString& caption, const char* objectName) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    return button;
}

void TForm2::buildLayout() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setVerticalSpacing(3);
    grid->setHorizontalSpacing(8);
    buildNameRows(grid);
    buildPeriodRow(grid);
    buildSpacingRows(grid);
    buildMemoRows(grid);
    buildButtonRow(grid);
    setTabOrder();
}

QLabel* TForm2::label(const QString& text) {
    return new QLabel(text, this);
}

void TForm2::buildNameRows(QGridLayout* grid) {
    m_name = textField("nameEdit", true);
    m_kamoku = textField("kamokuEdit", true);
    m_okiniiri1 = textField("okiniiri1Edit", true);
    m_okiniiri2 = textField("okiniiri2Edit", true);
    grid->addWidget(label(QStringLiteral("作物名")), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(label(QStringLiteral("科目")), 1, 0);
    grid->addWidget(m_kamoku, 1, 1);
    grid->addWidget(exampleLabel(QStringLiteral("例）ナス科ナス属"), this), 2, 1);
    auto* varieties = new QHBoxLayout;
    varieties->addWidget(m_okiniiri1);
    varieties->addWidget(m_okiniiri2);
    grid->addWidget(label(QStringLiteral("お気に入り")), 3, 0);
    grid->addLayout(varieties, 3, 1);
    grid->addWidget(label(QStringLiteral("品種")), 4, 0, Qt::AlignTop);
    grid->addWidget(exampleLabel(QStringLiteral("例）千両2号"), this), 4, 1);
}

void TForm2::buildPeriodRow(QGridLayout* grid) {
    m_periodList = new QListWidget(this);
    m_periodList->setObjectName(QStringLiteral("periodList"));
    m_periodList->setFixedHeight(72);
    countAsInput(m_periodList);
    m_periodAdd = sideButton(QStringLiteral("追加"), "periodAddButton");
    m_periodChange = sideButton(QStringLiteral("変更"), "periodChangeButton");
    m_periodDelete = sideButton(QStringLiteral("削除"), "periodDeleteButton");
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(0);
    for (QPushButton* b : {m_periodAdd, m_periodChange, m_periodDelete}) {
        b->setFixedHeight(24);
        buttons->addWidget(b);
    }
    auto* row = new QHBoxLayout;
    row->addWidget(m_periodList, 1);
    row->addLayout(buttons);
    grid->addWidget(label(QStringLiteral("栽培時期")), 5, 0, Qt::AlignTop);
    grid->addLayout(row, 5, 1);
    connect(m_periodAdd, &QPushButton::clicked, this, &TForm2::PeriodAddClick);
    connect(m_periodChange, &QPushButton::clicked, this, &TForm2::PeriodChangeClick);
    connect(m_periodDelete, &QPushButton::clicked, this, &TForm2::PeriodDeleteClick);
}

void TForm2::buildSpacingRows(QGridLayout* grid) {
    m_joukan = textField("joukanEdit", false);
    auto* rows = new QHBoxLayout;
    rows->addWidget(m_joukan);
    rows->addStretch(1);
    grid->addWidget(label(QStringLiteral("列の間隔（条間）")), 6, 0);
    grid->addLayout(rows, 6, 1);

    m_kabukan1 = textField("kabukan1Edit", false);
    m_kabukan2 = textField("kabukan2Edit", false);
    auto* plants = new QHBoxLayout;
    plants->addWidget(m_kabukan1);
    plants->addWidget(label(QStringLiteral("または")));
    plants->addWidget(m_kabukan2);
    plants->addWidget(label(QStringLiteral("cm")));
    plants->addStretch(1);
    grid->addWidget(label(QStringLiteral("株の間隔（株間）")), 7, 0);
    grid->addLayout(plants, 7, 1);
}

void TForm2::buildMemoRows(QGridLayout* grid) {
    m_memo = new LinesEdit(this);
    m_memo->setObjectName(QStringLiteral("memoEdit"));
    m_memo->setFixedHeight(164);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setTabChangesFocus(true);
    m_template = sideButton(QStringLiteral("テンプレート挿入"), "templateButton");
    grid->addWidget(label(QStringLiteral("栽培メモ")), 8, 0, Qt::AlignTop);
    grid->addWidget(m_memo, 8, 1);
    grid->addWidget(m_template, 9, 1, Qt::AlignRight);
    connect(m_template, &QPushButton::clicked, this, &TForm2::TemplateButtonClick);
}

void TForm2::buildButtonRow(QGridLayout* grid) {
    grid->setRowMinimumHeight(10, 6);
    grid->addLayout(okCancelRow(m_ok, m_cancel), 11, 0, 1, 2);
    connect(m_ok, &QPushButton::clicked, this, &TForm2::OkButtonClick);
}

void TForm2::setTabOrder() {
    const QList<QWidget*> chain = {m_name,     m_kamoku,   m_okiniiri1, m_okiniiri2, m_periodList, m_joukan,
                                   m_kabukan1, m_kabukan2, m_memo,      m_ok,        m_cancel};
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TForm2::FormShow() {
    setWindowTitle(QStringLiteral("作物（") + m_mode + QStringLiteral("）"));
    m_nameChanged = false;
    m_periodList->clear();
    if (m_mode != ModeChange || !m_crop)
        return;
    m_periods.CopyFrom(m_crop->jiki);
    m_name->setText(m_crop->name);
    m_kamoku->setText(m_crop->kamoku);
    m_okiniiri1->setText(m_crop->okiniiri1);
    m_okiniiri2->setText(m_crop->okiniiri2);
    RefreshPeriodList();
    m_joukan->setText(m_crop->joukan);
    m_kabukan1->setText(m_crop->kabukan1);
    m_kabukan2->setText(m_crop->kabukan2);
    m_memo->setLines(m_crop->memo);
}

void TForm2::RefreshPeriodList() {
    m_periodList->clear();
    for (int i = 0; i < m_periods.count(); ++i) {
        auto* item = new QListWidgetItem(PeriodText(*m_periods.at(i)), m_periodList);
        item->setData(kRecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(m_periods.at(i))));
    }
}

TJiki* TForm2::selectedPeriod() {
    QListWidgetItem* item = m_periodList->currentItem();
    if (!item || !item->isSelected()) {
        m_platform.message(kChoosePeriod);
        return nullptr;
    }
    return reinterpret_cast<TJiki*>(item->data(kRecordRole).value<quintptr>());
}

void TForm2::PeriodAddClick() {
    if (m_periods.count() >= kPeriodLimit) {
        m_platform.message(QStringLiteral("栽培時期の登録は5件までです。"));
        return;
    }
    TForm8 dialog(m_platform, ModeAdd, m_periods, nullptr, this);
    if (dialog.exec() == QDialog::Accepted)
        RefreshPeriodList();
}

void TForm2::PeriodChangeClick() {
    TJiki* period = selectedPeriod();
    if (!period)
        return;
    TForm8 dialog(m_platform, ModeChange, m_periods, period, this);
    if (dialog.exec() == QDialog::Accepted)
        RefreshPeriodList();
}

void TForm2::PeriodDeleteClick() {
    TJiki* period = selectedPeriod();
    if (!period)
        return;
    m_periods.remove(indexOf(m_periods, period));
    RefreshPeriodList();
}

void TForm2::TemplateButtonClick() {
    QTextCursor cursor(m_memo->document());
    cursor.movePosition(QTextCursor::Start);
    const QString lines = templateLines().join(u'\n');
    cursor.insertText(m_memo->document()->isEmpty() ? lines : lines + u'\n');
}

bool TForm2::failsWith(bool failed, const QString& text, QWidget* focus) {
    if (failed) {
        m_platform.message(text);
        focus->setFocus();
    }
    return failed;
}

// The first failing check wins; no field is trimmed.
bool TForm2::checksPass() {
    const TSakumotu* other = m_mode == ModeChange ? m_catalogue.FindOtherByName(m_name->text(), m_crop)
                                                  : m_catalogue.FindByName(m_name->text());
    return !failsWith(m_name->text().isEmpty(), QStringLiteral("作物名を入力してください。"), m_name) &&
           !failsWith(!PassesIntegerTest(m_joukan->text()),
                      QStringLiteral("列の間隔は整数のみ入力してください。"), m_joukan) &&
           !failsWith(!PassesIntegerTest(m_kabukan1->text()) || !PassesIntegerTest(m_kabukan2->text()),
                      QStringLiteral("株の間隔は整数のみ入力してください。"), m_kabukan1) &&
           !failsWith(other != nullptr, QStringLiteral("すでに存在する作物名が入力されています。"), m_name);
}

void TForm2::writeCrop(TSakumotu& crop) const {
    crop.name = m_name->text();
    crop.kamoku = m_kamoku->text();
    crop.okiniiri1 = m_okiniiri1->text();
    crop.okiniiri2 = m_okiniiri2->text();
    crop.jiki.CopyFrom(m_periods);
    crop.joukan = m_joukan->text();
    crop.kabukan1 = m_kabukan1->text();
    crop.kabukan2 = m_kabukan2->text();
    crop.memo = m_memo->lines();
}

// The file is written on every OK, also when nothing changed; a failed save is
// reported by the saver and the dialog still closes.
void TForm2::OkButtonClick() {
    if (!checksPass())
        return;
    if (m_mode == ModeChange && m_crop)
        m_nameChanged = m_crop->name != m_name->text();
    else
        m_crop = m_catalogue.add();
    writeCrop(*m_crop);
    m_catalogue.SaveToFile(m_platform.dataFolder(), m_platform);
    accept();
}
