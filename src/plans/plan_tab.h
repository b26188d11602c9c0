#pragma once

#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QHBoxLayout;
class QScrollArea;
class TChartBox;
struct AppContext;
struct PlanFileInfo;
class TSakumotu2;

// The tab 作付計画: the eight plan buttons, the chart of the current plan and
// the commands that change it. Every change is saved to the plan file at once,
// under the caption of the plan button that is down.
class TPlanTab : public QWidget {
    Q_OBJECT
public:
    TPlanTab(AppContext& context, QWidget* parent = nullptr);

    QButtonGroup* planButtons() const { return m_planButtons; }
    QScrollArea* chartArea() const { return m_chartArea; }

    // The buttons take the names stored in their plan files; unnamed plans show the default captions.
    void ReadPlanCaptions();
    // Loads and draws the plan of the button that is down, also when it already was.
    void SpeedButtonClick();
    // Draws the current plan into the chart image and shows it.
    void Redraw();
    // Shows the plan of that file and marks the entry at that place of it, in
    // the order the chart lays the plan out.
    void ShowEntry(const QString& planFile, int group, int entry);
    QFrame* entryMark() const { return m_entryMark; }
    // Places a control in the row of plan buttons, right of 計画７, where the row has room.
    void addBesidePlanButtons(QWidget* widget);

    void Button5Click();  // 計画名変更
    void Button33Click(); // 色設定
    void Button1Click();  // グループ設定
    void Button3Click();  // 追加
    void Button6Click();  // 変更
    void Button7Click();  // 削除
    void Button9Click();  // 作付計画を画像で保存

private:
    void buildPlanButtons(QHBoxLayout* row);
    void buildCommands(QHBoxLayout* row);
    const PlanFileInfo& fileOfButton(int id) const;
    QString imageCaption() const;
    // Both false when the plan could not be saved.
    bool savePlan();
    bool changed();
    void markEntry(const TSakumotu2& entry);
    void refreshCropList();

    AppContext& m_context;
    QButtonGroup* m_planButtons;
    QHBoxLayout* m_planButtonRow = nullptr;
    QScrollArea* m_chartArea;
    TChartBox* m_chartView;
    QFrame* m_entryMark;
};
