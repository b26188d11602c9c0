#pragma once

#include "widgets/form_dialog.h"

#include <array>
#include <functional>

class Platform;
class QFrame;
class TGroupList;

// The four chart colours of the current plan. Each confirmed colour goes into
// the plan at once and onChanged saves and redraws, while the dialog stays open;
// there is nothing to confirm or cancel when it closes.
class TForm45 : public FormDialog {
    Q_OBJECT
public:
    TForm45(Platform& platform, TGroupList& plan, std::function<void()> onChanged, QWidget* parent = nullptr);

    // Row 0 arrows, 1 texts, 2 lines, 3 background.
    void ChangeButtonClick(int row);
    QColor swatchColour(int row) const;

private:
    void fillSwatches();

    Platform& m_platform;
    TGroupList& m_plan;
    std::function<void()> m_onChanged;
    std::array<QFrame*, 4> m_swatches{};
};
