#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QStringList>

class Platform;
class QAbstractItemView;
class QHBoxLayout;

// What every dialog of the notebook shares: the tabs' 10-point font, its place
// in the middle of the main window, and the keys. Enter presses the button
// that has the focus, otherwise OK; Ctrl+Enter is OK from anywhere, also
// inside a multi-line note, where Enter starts a new line, and a numeric field
// that hands the focus on with Enter keeps doing so. Escape, キャンセル and the
// close box cancel, and when the gardener changed anything since the dialog
// came up, they ask first whether to throw it away.
class FormDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString kDiscardQuestion = QStringLiteral("入力した内容を破棄しますか？");

    FormDialog(Platform& platform, QWidget* parent);

    // Whether an input holds something else than when the dialog came up.
    bool isEdited() const;
    // Cancels as the gardener does: asks first when isEdited.
    void cancelByUser();

    void setVisible(bool visible) override;

protected:
    // OK, the default button, and キャンセル, which cancels as Escape does.
    QPushButton* makeOkButton();
    QPushButton* makeCancelButton();
    // The two side by side in the middle of a row.
    QHBoxLayout* okCancelRow(QPushButton*& ok, QPushButton*& cancel);
    QHBoxLayout* okCancelRow(QPushButton*& ok);
    // A list whose rows are something the gardener enters (the periods of a
    // crop, the lines of a purchase) rather than a choice.
    void countAsInput(QAbstractItemView* list);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void pressEnter(bool okAlways);
    QStringList inputState() const;
    bool mayDiscard();

    Platform& m_askPlatform;
    QList<QPointer<QAbstractItemView>> m_inputLists;
    QStringList m_shownState;
    bool m_stateTaken = false;
};
