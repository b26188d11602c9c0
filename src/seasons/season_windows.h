#pragma once

#include "seasons/rotation_table.h"
#include "widgets/form_dialog.h"

#include <QImage>

class Platform;
class QLabel;
class TGroupList;
class TYoteiList;

namespace seasons {

struct PastPlan;
struct PastSchedule;

// Read-only windows: 閉じる, Enter and Escape close them.

// A past season's plan, read-only: its chart drawn exactly as the plan tab
// draws a plan, the year and the plan's name in the title.
class TPastPlanWindow : public FormDialog {
    Q_OBJECT
public:
    TPastPlanWindow(Platform& platform, const PastPlan& past, const QString& caption,
                    QWidget* parent = nullptr);
    const QImage& chart() const { return m_chart; }

private:
    QImage m_chart;
};

// The schedule as it stood before a yearly clear, read-only, done tasks in grey.
class TPastScheduleWindow : public FormDialog {
    Q_OBJECT
public:
    TPastScheduleWindow(Platform& platform, const PastSchedule& past, QWidget* parent = nullptr);
};

// 連作表: beds down, years across, every family in its colour and each crop
// that came back too soon marked; printed, saved as PNG or JPEG, or as CSV.
class TRotationWindow : public FormDialog {
    Q_OBJECT
public:
    TRotationWindow(Platform& platform, RotationTable table, QWidget* parent = nullptr);
    const QImage& picture() const { return m_picture; }

    void PrintButtonClick();
    void ImageButtonClick();
    void CsvButtonClick();

private:
    Platform& m_platform;
    RotationTable m_table;
    QImage m_picture;
};

} // namespace seasons
