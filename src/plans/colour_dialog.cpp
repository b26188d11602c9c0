#include "plans/colour_dialog.h"

#include "plans/dialog_support.h"
#include "plans/plan_chart.h"
#include "plans/plan_records.h"
#include "widgets/platform.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

struct ColourRow {
    const char* label;
    int TGroupList::*colour;
};

const std::array<ColourRow, 4>& colourRows() {
    static const std::array<ColourRow, 4> rows = {{
        {"←→（矢印）", &TGroupList::YajirusiColor},
        {"abc（文字）", &TGroupList::MojiColor},
        {"─（線）", &TGroupList::SenColor},
        {"■（背景）", &TGroupList::HaikeiColor},
    }};
    return rows;
}

QFrame* makeSwatch(QWidget* parent) {
    auto* swatch = new QFrame(parent);
    swatch->setFixedSize(22, 22);
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch->setLineWidth(1);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    swatch->setPalette(palette);
    return swatch;
}

} // namespace

TForm45::TForm45(Platform& platform, TGroupList& plan, std::function<void()> onChanged, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_plan(plan), m_onChanged(std::move(onChanged)) {
    setObjectName(QStringLiteral("TForm45"));
    setWindowTitle(QStringLiteral("色設定"));

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    for (int row = 0; row < 4; ++row) {
        m_swatches[size_t(row)] = makeSwatch(this);
        m_swatches[size_t(row)]->setObjectName(QStringLiteral("swatch%1").arg(row + 1));
        auto* button = new QPushButton(QStringLiteral("変更"), this);
        button->setObjectName(QStringLiteral("colourButton%1").arg(row + 1));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, row] { ChangeButtonClick(row); });
        grid->addWidget(m_swatches[size_t(row)], row, 0);
        grid->addWidget(new QLabel(QString::fromUtf8(colourRows()[size_t(row)].label), this), row, 1);
        grid->addWidget(button, row, 2);
    }
    fillSwatches();
    setFixedSize(sizeHint().expandedTo(QSize(220, 0)));
}

void TForm45::fillSwatches() {
    for (int row = 0; row < 4; ++row) {
        QPalette palette = m_swatches[size_t(row)]->palette();
        palette.setColor(QPalette::Window, ChartColor(m_plan.*colourRows()[size_t(row)].colour));
        m_swatches[size_t(row)]->setPalette(palette);
    }
}

QColor TForm45::swatchColour(int row) const {
    return m_swatches[size_t(row)]->palette().color(QPalette::Window);
}

void TForm45::ChangeButtonClick(int row) {
    int& colour = m_plan.*colourRows()[size_t(row)].colour;
    QColor chosen = ChartColor(colour);
    if (!m_platform.chooseColour(chosen))
        return;
    colour = BgrColor(chosen);
    fillSwatches();
    if (m_onChanged)
        m_onChanged();
}
