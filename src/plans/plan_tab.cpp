#include "plans/plan_tab.h"

#include "crops/crop_records.h"
#include "history/command_scope.h"
#include "store/notebook_files.h"
#include "image/jpeg_writer.h"
#include "plans/chart_box.h"
#include "plans/colour_dialog.h"
#include "plans/crop_pick_dialog.h"
#include "plans/entry_dialog.h"
#include "plans/entry_pick_dialog.h"
#include "plans/group_list_dialog.h"
#include "plans/plan_chart.h"
#include "plans/plan_name_dialog.h"
#include "plans/plan_records.h"
#include "store/file_names.h"
#include "widgets/app_context.h"
#include "widgets/platform.h"
#include "widgets/tab_layout.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

TPlanTab::TPlanTab(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs::hint(QStringLiteral("計画を選択　→　「追加」ボタンから作付計画を作成します。"
                                                "「画像で保存」はブログへの掲載用です。"),
                                 this));
    auto* buttons = new QHBoxLayout;
    buildPlanButtons(buttons);
    layout->addLayout(buttons);

    m_chartArea = new QScrollArea(this);
    m_chartArea->setObjectName(QStringLiteral("chartArea"));
    m_chartView = new TChartBox(m_context.chart, [this](QImage& image, qreal pixelRatio) {
        DrawChart(*m_context.plan, image, imageCaption(), pixelRatio);
    });
    m_chartArea->setWidget(m_chartView);
    m_entryMark = new QFrame(m_chartView);
    m_entryMark->setObjectName(QStringLiteral("entryMark"));
    m_entryMark->setStyleSheet(QStringLiteral("#entryMark { border: 2px solid palette(highlight); }"));
    m_entryMark->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_entryMark->hide();
    m_chartArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_chartArea->setBackgroundRole(QPalette::Base);
    layout->addWidget(m_chartArea, 1);

    auto* row = tabs::commandRow();
    buildCommands(row);
    layout->addLayout(row);
}

void TPlanTab::buildPlanButtons(QHBoxLayout* row) {
    m_planButtons = new QButtonGroup(this);
    m_planButtons->setExclusive(true);
    for (int position = 0; position < 8; ++position) {
        auto* b = new QToolButton(this);
        b->setText(fileOfButton(position + 1).defaultCaption);
        b->setObjectName(QStringLiteral("planButton%1").arg(position + 1));
        b->setCheckable(true);
        b->setMinimumWidth(72);
        m_planButtons->addButton(b, position + 1);
        if (position == 7)
            row->addStretch(1);
        row->addWidget(b);
    }
    m_planButtons->button(1)->setChecked(true);
    // Also the button that is already down: a click on it shows the plan as stored.
    connect(m_planButtons, &QButtonGroup::buttonClicked, this, [this] { SpeedButtonClick(); });
}

void TPlanTab::buildCommands(QHBoxLayout* row) {
    auto add = [this](const QString& caption, const char* name, void (TPlanTab::*handler)()) {
        QPushButton* b = tabs::button(caption, name, this);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    row->addWidget(add(QStringLiteral("計画名変更"), "planRenameButton", &TPlanTab::Button5Click));
    row->addWidget(add(QStringLiteral("色設定"), "planColourButton", &TPlanTab::Button33Click));
    row->addWidget(add(QStringLiteral("グループ設定"), "planGroupButton", &TPlanTab::Button1Click));
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("作付け計画："), this));
    row->addWidget(add(QStringLiteral("追加"), "planAddButton", &TPlanTab::Button3Click));
    row->addWidget(add(QStringLiteral("変更"), "planChangeButton", &TPlanTab::Button6Click));
    row->addWidget(add(QStringLiteral("削除"), "planDeleteButton", &TPlanTab::Button7Click));
    tabs::addRight(
        row, add(QStringLiteral("作付計画を画像で保存"), "planSaveImageButton", &TPlanTab::Button9Click));
}

const PlanFileInfo& TPlanTab::fileOfButton(int id) const {
    for (const PlanFileInfo& file : PlanFiles())
        if (file.buttonPosition == id - 1)
            return file;
    return PlanFiles().front();
}

void TPlanTab::ReadPlanCaptions() {
    Platform& platform = *m_context.platform;
    for (const PlanFileInfo& file : PlanFiles()) {
        const QString name = ReadPlanName(platform.dataFolder(), file.fileName, platform);
        m_planButtons->button(file.buttonPosition + 1)->setText(name.isEmpty() ? file.defaultCaption : name);
    }
}

// A plan that fails to load shows what was read; the store keeps the unread
// file aside before the next change writes over it.
void TPlanTab::SpeedButtonClick() {
    const int id = m_planButtons->checkedId();
    m_context.planName = m_planButtons->checkedButton()->text();
    m_context.planFile = fileOfButton(id).fileName;
    m_context.plan->LoadFromFile(m_context.platform->dataFolder(), m_context.planFile, *m_context.platform);
    Redraw();
}

QString TPlanTab::imageCaption() const {
    return m_context.platform->preferences().imageCaption();
}

void TPlanTab::Redraw() {
    DrawChart(*m_context.plan, *m_context.chart, imageCaption());
    m_chartView->imageChanged();
    m_entryMark->hide();
}

bool TPlanTab::savePlan() {
    Platform& platform = *m_context.platform;
    return m_context.plan->SaveToFile(platform.dataFolder(), m_context.planName, m_context.planFile,
                                      platform);
}

void TPlanTab::refreshCropList() {
    if (m_context.refreshCropList)
        m_context.refreshCropList();
}

bool TPlanTab::changed() {
    const bool saved = savePlan();
    Redraw();
    refreshCropList();
    return saved;
}

// The chart does not show the plan's name, so it is not redrawn.
void TPlanTab::Button5Click() {
    const history::CommandScope change(m_context.history, QStringLiteral("作付計画「計画名変更」"));
    TForm42 dialog(*m_context.platform, m_context.planName, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_context.planName = dialog.newName();
    m_planButtons->checkedButton()->setText(m_context.planName);
    savePlan();
}

void TPlanTab::Button33Click() {
    TForm45 dialog(
        *m_context.platform, *m_context.plan,
        // Each colour is saved as it is chosen, so each is a change of its own.
        [this] {
            const history::CommandScope change(m_context.history, QStringLiteral("作付計画「色設定」"));
            savePlan();
            Redraw();
        },
        window());
    dialog.exec();
}

void TPlanTab::Button1Click() {
    TForm3 dialog(*m_context.platform, *m_context.plan, m_context.planName, m_context.planFile, window());
    dialog.setHistory(m_context.history);
    dialog.exec();
    if (!dialog.changed())
        return;
    Redraw();
    refreshCropList();
    // Ctrl+Z belongs to the main window: the note waits until the group list has closed.
    if (dialog.deleted())
        m_context.tellUndoable(kDeletedNote);
}

void TPlanTab::Button3Click() {
    const history::CommandScope change(m_context.history, QStringLiteral("作付計画「追加」"));
    TForm10 picker(*m_context.platform, *m_context.crops, window());
    const bool picked = picker.exec() == QDialog::Accepted;
    if (picker.catalogueChanged())
        refreshCropList();
    if (!picked)
        return;
    TForm9::Inputs in{m_context.plan, m_context.planName, m_context.planFile, picker.crop(), nullptr,
                      nullptr};
    TForm9 dialog(*m_context.platform, in, window());
    if (dialog.exec() == QDialog::Accepted)
        changed();
}

// An entry whose crop has left the catalogue is changed all the same: the
// dialog then shows the entry's own name and no reference periods.
void TPlanTab::Button6Click() {
    const history::CommandScope change(m_context.history, QStringLiteral("作付計画「変更」"));
    TForm6 picker(*m_context.platform, *m_context.plan, true, window());
    if (picker.exec() != QDialog::Accepted)
        return;
    const TSakumotu* crop = m_context.crops->FindByName(picker.entry()->name);
    TForm9::Inputs in{m_context.plan, m_context.planName, m_context.planFile,
                      crop,           picker.entry(),     picker.group()};
    TForm9 dialog(*m_context.platform, in, window());
    if (dialog.exec() == QDialog::Accepted)
        changed();
}

void TPlanTab::Button7Click() {
    const history::CommandScope change(m_context.history, QStringLiteral("作付計画「削除」"));
    TForm6 picker(*m_context.platform, *m_context.plan, true, window());
    if (picker.exec() != QDialog::Accepted)
        return;
    TGroup* group = picker.group();
    TSakumotu2* entry = picker.entry();
    if (!m_context.platform->question(group->name + QStringLiteral(" から ") + EntryListName(*entry) +
                                      QStringLiteral(" を削除します。よろしいですか？")))
        return;
    group->remove(group->indexOf(entry));
    // Renumbering walks the rows in order; the last redraw sorted them, this makes sure.
    group->SortEntries();
    group->RenumberRows();
    if (changed())
        m_context.tellUndoable(kDeletedNote);
}

void TPlanTab::ShowEntry(const QString& planFile, int group, int entry) {
    if (planFile != m_context.planFile) {
        for (const PlanFileInfo& file : PlanFiles())
            if (file.fileName == planFile)
                m_planButtons->button(file.buttonPosition + 1)->setChecked(true);
        SpeedButtonClick();
    }
    const TGroupList& plan = *m_context.plan;
    if (group < 0 || group >= plan.count() || entry < 0 || entry >= plan.at(group)->count())
        return;
    markEntry(*plan.at(group)->at(entry));
}

// A frame around the entry's arrow and name as the chart draws them, on the
// screen only: the chart image and what is saved from it stay as they are.
// The next redraw takes it away.
void TPlanTab::markEntry(const TSakumotu2& entry) {
    constexpr int kMargin = 4;
    const int nameRight = entry.StX + 5 + QFontMetrics(chart::font()).horizontalAdvance(entry.name);
    const int left = entry.hasStart ? entry.StX - kMargin : 0;
    const int right =
        entry.hasStart ? std::max(entry.hasEnd ? entry.EdX : 0, nameRight) + kMargin : chart::kImageWidth;
    const int top =
        std::clamp(entry.Y + entry.down, 0, std::max(0, m_context.chart->height() - chart::kRowHeight));
    const QRect frame(left, top, right - left, chart::kRowHeight);
    m_entryMark->setGeometry(frame);
    m_entryMark->show();
    m_entryMark->raise();
    m_chartArea->ensureVisible(frame.center().x(), frame.center().y(), frame.width() / 2 + 16,
                               frame.height() / 2 + 16);
}

// A file that cannot be written goes to the general error box; nothing else is said.
void TPlanTab::Button9Click() {
    Platform& platform = *m_context.platform;
    const QString path = platform.saveFileName(
        {QStringLiteral("chartImage"), SaveKind::Picture,
         store::proposedFileName(m_context.planName, QStringLiteral(".jpg"), QStringLiteral("sakutuke.jpg")),
         QString()});
    if (path.isEmpty())
        return;
    try {
        image::writeJpeg(*m_context.chart, path, store::notebookFiles(platform.dataFolder()));
    } catch (const image::JpegError& e) {
        platform.error(QString::fromUtf8(e.what()));
    }
}
