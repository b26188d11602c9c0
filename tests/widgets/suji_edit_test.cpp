#include "widgets/suji_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A window with a field between two ordinary fields and a target that can be
// switched off; it remembers the keys that reached it.
class Window : public QWidget {
public:
    Window() {
        auto* layout = new QVBoxLayout(this);
        before = new QLineEdit(this);
        field = new Sujiin(this);
        target = new QLineEdit(this);
        after = new QLineEdit(this);
        for (QWidget* w : {static_cast<QWidget*>(before), static_cast<QWidget*>(field),
                           static_cast<QWidget*>(target), static_cast<QWidget*>(after)})
            layout->addWidget(w);
    }

    QLineEdit* before;
    Sujiin* field;
    QLineEdit* target;
    QLineEdit* after;
    QList<int> keysReached;

protected:
    void keyPressEvent(QKeyEvent* event) override { keysReached << event->key(); }
};

void typeCharacter(QWidget* widget, const QString& character) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
}

QColor background(const QLineEdit* field) {
    return field->palette().color(QPalette::Base);
}

QColor windowColour(const QLineEdit* field) {
    return QApplication::palette(field).color(QPalette::Base);
}

void commit(QWidget* widget, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class SujiEditTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newFieldHasTheDocumentedDefaults();
    void alignmentTakesEffectAtOnce_data();
    void alignmentTakesEffectAtOnce();
    void tabbingInSelectsAllAndColours();
    void digitOverTheWholeTextReplacesIt();
    void digitOverTheWholeTextIsOneEdit();
    void clickingInSelectsAllAsTabbingDoes();
    void clickInsideAfterEntryTypesAtTheCaret();
    void leavingGivesTheWindowColour();
    void noColourChangeWhenSwitchedOff();
    void readOnlyFieldSelectsButTakesNothing();
    void enterInsertsNothingAndStays();
    void enterMovesToItsTarget();
    void lettersAreRefused();
    void lettersPassWhenNotDigitsOnly();
    void validValueDropsOthersButNotBackspaceOrEscape();
    void byteLimitCountsFullWidthAsTwo();
    void characterLimitCountsEveryWidthAsOne();
    void digitOverWholeTextPassesAReachedLimit();
    void leftArrowMovesOnlyFromTheStart();
    void rightArrowNeverMoves();
    void disabledTargetWithoutMoveAutoLeavesTheKey();
    void disabledTargetWithMoveAutoFollowsTabOrder();
    void pasteKeepsWhatTypingKeeps();
    void contextMenuPasteKeepsWhatTypingKeeps();
    void compositionResultFollowsTheRules();
    void kanaReadingGoesToKanaOutInFullWidth();
    void conversionWithoutReadingAppendsNothing();
    void kanaOutIsNeverTheFieldItself();

private:
    void enterByTab();

    Window* m_window = nullptr;
    Sujiin* m_field = nullptr;
};

void SujiEditTest::init() {
    m_window = new Window;
    m_field = m_window->field;
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_window->before->setFocus();
}

void SujiEditTest::cleanup() {
    delete m_window;
    m_window = nullptr;
}

void SujiEditTest::enterByTab() {
    m_window->before->setFocus();
    QTest::keyClick(m_window->before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m_field);
}

void SujiEditTest::newFieldHasTheDocumentedDefaults() {
    Sujiin field;
    QCOMPARE(field.Alignment(), Sujiin::TAlignment::taRightJustify);
    QVERIFY(field.alignment() & Qt::AlignRight);
    QCOMPARE(field.Caption(), QString());
    QVERIFY(!field.Essential());
    QVERIFY(field.NumOnly());
    QCOMPARE(field.EnterColor(), QColor(255, 255, 0));
    QVERIFY(field.EnterColChg());
    QCOMPARE(field.ValidValue(), QString());
    QVERIFY(!field.LengthIsKeta());
    QCOMPARE(field.MaxLength2(), 0);
    QCOMPARE(field.MinLength(), 0);
    QCOMPARE(field.KanaOut(), nullptr);
    QVERIFY(!field.MoveAuto());
    QCOMPARE(field.MoveTopKey(), nullptr);
    QCOMPARE(field.MoveBottomKey(), nullptr);
    QCOMPARE(field.MoveLeftKey(), nullptr);
    QCOMPARE(field.MoveRight(), nullptr);
    QCOMPARE(field.MoveRetrun(), nullptr);
    QVERIFY(!field.testAttribute(Qt::WA_InputMethodEnabled));
}

void SujiEditTest::alignmentTakesEffectAtOnce_data() {
    QTest::addColumn<Sujiin::TAlignment>("alignment");
    QTest::addColumn<int>("flag");
    QTest::newRow("left") << Sujiin::TAlignment::taLeftJustify << int(Qt::AlignLeft);
    QTest::newRow("centre") << Sujiin::TAlignment::taCenter << int(Qt::AlignHCenter);
    QTest::newRow("right") << Sujiin::TAlignment::taRightJustify << int(Qt::AlignRight);
}

void SujiEditTest::alignmentTakesEffectAtOnce() {
    QFETCH(Sujiin::TAlignment, alignment);
    QFETCH(int, flag);
    m_field->setAlignment(Sujiin::TAlignment::taLeftJustify);
    m_field->setAlignment(alignment);
    QCOMPARE(m_field->Alignment(), alignment);
    QCOMPARE(int(m_field->alignment() & Qt::AlignHorizontal_Mask), flag);
}

void SujiEditTest::tabbingInSelectsAllAndColours() {
    m_field->setText(QStringLiteral("2014"));
    enterByTab();
    QCOMPARE(m_field->selectedText(), QStringLiteral("2014"));
    QCOMPARE(background(m_field), QColor(255, 255, 0));
}

void SujiEditTest::digitOverTheWholeTextReplacesIt() {
    m_field->setText(QStringLiteral("2014"));
    enterByTab();
    QTest::keyClick(m_field, Qt::Key_2);
    QCOMPARE(m_field->text(), QStringLiteral("2"));
}

void SujiEditTest::digitOverTheWholeTextIsOneEdit() {
    m_field->setText(QStringLiteral("2014"));
    enterByTab();
    QSignalSpy edits(m_field, &QLineEdit::textEdited);
    QTest::keyClick(m_field, Qt::Key_7);
    QCOMPARE(edits.count(), 1);
    QCOMPARE(edits.at(0).at(0).toString(), QStringLiteral("7"));
}

void SujiEditTest::clickingInSelectsAllAsTabbingDoes() {
    m_field->setText(QStringLiteral("2014"));
    QTest::mouseClick(m_field, Qt::LeftButton, {}, m_field->rect().center());
    QCOMPARE(QApplication::focusWidget(), m_field);
    QCOMPARE(m_field->selectedText(), QStringLiteral("2014"));
    QTest::keyClick(m_field, Qt::Key_2);
    QCOMPARE(m_field->text(), QStringLiteral("2"));
}

void SujiEditTest::clickInsideAfterEntryTypesAtTheCaret() {
    m_field->setText(QStringLiteral("2014"));
    enterByTab();
    // The text sits at the right edge, so a click there puts the caret after it.
    // A line edit places its text when it paints; on a screen that has long happened.
    m_field->repaint();
    QTest::mouseClick(m_field, Qt::LeftButton, {}, QPoint(m_field->width() - 4, m_field->height() / 2));
    QVERIFY(!m_field->hasSelectedText());
    QTest::keyClick(m_field, Qt::Key_2);
    QCOMPARE(m_field->text(), QStringLiteral("20142"));
}

void SujiEditTest::leavingGivesTheWindowColour() {
    m_field->setEnterColor(QColor(200, 10, 10));
    enterByTab();
    QCOMPARE(background(m_field), QColor(200, 10, 10));
    QTest::keyClick(m_field, Qt::Key_Tab);
    QCOMPARE(background(m_field), windowColour(m_field));
}

void SujiEditTest::noColourChangeWhenSwitchedOff() {
    m_field->setText(QStringLiteral("12"));
    m_field->setEnterColChg(false);
    enterByTab();
    QCOMPARE(background(m_field), windowColour(m_field));
    QCOMPARE(m_field->selectedText(), QStringLiteral("12"));
}

void SujiEditTest::readOnlyFieldSelectsButTakesNothing() {
    m_field->setText(QStringLiteral("2014"));
    m_field->setReadOnly(true);
    enterByTab();
    QCOMPARE(background(m_field), windowColour(m_field));
    QCOMPARE(m_field->selectedText(), QStringLiteral("2014"));
    QTest::keyClick(m_field, Qt::Key_5);
    QCOMPARE(m_field->text(), QStringLiteral("2014"));
}

void SujiEditTest::enterInsertsNothingAndStays() {
    m_field->setText(QStringLiteral("12"));
    enterByTab();
    QTest::keyClick(m_field, Qt::Key_Return);
    QTest::keyClick(m_field, Qt::Key_Enter);
    QCOMPARE(m_field->text(), QStringLiteral("12"));
    QCOMPARE(QApplication::focusWidget(), m_field);
}

void SujiEditTest::enterMovesToItsTarget() {
    m_field->setMoveRetrun(m_window->after);
    enterByTab();
    QTest::keyClick(m_field, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), m_window->after);
    QVERIFY(!m_window->keysReached.contains(Qt::Key_Return));
}

void SujiEditTest::lettersAreRefused() {
    enterByTab();
    QTest::keyClicks(m_field, QStringLiteral("a1b-2"));
    QCOMPARE(m_field->text(), QStringLiteral("12"));
}

void SujiEditTest::lettersPassWhenNotDigitsOnly() {
    m_field->setNumOnly(false);
    enterByTab();
    QTest::keyClicks(m_field, QStringLiteral("a1b"));
    QCOMPARE(m_field->text(), QStringLiteral("a1b"));
}

void SujiEditTest::validValueDropsOthersButNotBackspaceOrEscape() {
    m_field->setNumOnly(false);
    m_field->setValidValue(QStringLiteral("0123456789-"));
    enterByTab();
    QTest::keyClicks(m_field, QStringLiteral("12-x3"));
    QCOMPARE(m_field->text(), QStringLiteral("12-3"));
    QTest::keyClick(m_field, Qt::Key_Backspace);
    QCOMPARE(m_field->text(), QStringLiteral("12-"));
    QTest::keyClick(m_field, Qt::Key_Escape);
    QCOMPARE(m_field->text(), QStringLiteral("12-"));
    QVERIFY(m_window->keysReached.contains(Qt::Key_Escape));
}

void SujiEditTest::byteLimitCountsFullWidthAsTwo() {
    m_field->setNumOnly(false);
    m_field->setMaxLength2(4);
    enterByTab();
    typeCharacter(m_field, QStringLiteral("あ"));
    typeCharacter(m_field, QStringLiteral("い"));
    QCOMPARE(m_field->measuredLength(m_field->text()), 4);
    typeCharacter(m_field, QStringLiteral("う"));
    QTest::keyClick(m_field, Qt::Key_A);
    QCOMPARE(m_field->text(), QStringLiteral("あい"));
    QTest::keyClick(m_field, Qt::Key_Backspace);
    QCOMPARE(m_field->text(), QStringLiteral("あ"));
    QTest::keyClick(m_field, Qt::Key_A);
    QCOMPARE(m_field->text(), QStringLiteral("あa"));
}

void SujiEditTest::characterLimitCountsEveryWidthAsOne() {
    m_field->setNumOnly(false);
    m_field->setMaxLength2(4);
    m_field->setLengthIsKeta(true);
    enterByTab();
    for (const QString& c : {QStringLiteral("あ"), QStringLiteral("い"), QStringLiteral("う"),
                             QStringLiteral("え"), QStringLiteral("お")})
        typeCharacter(m_field, c);
    QCOMPARE(m_field->text(), QStringLiteral("あいうえ"));
    QTest::keyClick(m_field, Qt::Key_A);
    QCOMPARE(m_field->text(), QStringLiteral("あいうえ"));
}

void SujiEditTest::digitOverWholeTextPassesAReachedLimit() {
    m_field->setMaxLength2(4);
    m_field->setText(QStringLiteral("1234"));
    enterByTab();
    QTest::keyClick(m_field, Qt::Key_5);
    QCOMPARE(m_field->text(), QStringLiteral("5"));
}

void SujiEditTest::leftArrowMovesOnlyFromTheStart() {
    m_field->setMoveLeftKey(m_window->after);
    m_field->setText(QStringLiteral("123"));
    enterByTab();
    QTest::keyClick(m_field, Qt::Key_End);
    QTest::keyClick(m_field, Qt::Key_Left);
    QCOMPARE(m_field->cursorPosition(), 2);
    QCOMPARE(QApplication::focusWidget(), m_field);
    QTest::keyClick(m_field, Qt::Key_Home);
    QTest::keyClick(m_field, Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), m_window->after);
}

void SujiEditTest::rightArrowNeverMoves() {
    m_field->setMoveRight(m_window->after);
    m_field->setMoveAuto(true);
    m_field->setText(QStringLiteral("123"));
    enterByTab();
    QTest::keyClick(m_field, Qt::Key_Home);
    QTest::keyClick(m_field, Qt::Key_Right);
    QCOMPARE(m_field->cursorPosition(), 1);
    QTest::keyClick(m_field, Qt::Key_End);
    QTest::keyClick(m_field, Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), m_field);
}

void SujiEditTest::disabledTargetWithoutMoveAutoLeavesTheKey() {
    m_window->target->setEnabled(false);
    m_field->setMoveBottomKey(m_window->target);
    m_field->setMoveTopKey(m_window->target);
    m_field->setText(QStringLiteral("12"));
    enterByTab();
    QTest::keyClick(m_field, Qt::Key_Down);
    QTest::keyClick(m_field, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), m_field);
    QCOMPARE(m_field->text(), QStringLiteral("12"));
}

void SujiEditTest::disabledTargetWithMoveAutoFollowsTabOrder() {
    m_window->target->setEnabled(false);
    m_field->setMoveBottomKey(m_window->target);
    m_field->setMoveTopKey(m_window->target);
    m_field->setMoveAuto(true);
    enterByTab();
    QTest::keyClick(m_field, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), m_window->after);
    enterByTab();
    QTest::keyClick(m_field, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), m_window->before);
}

void SujiEditTest::pasteKeepsWhatTypingKeeps() {
    m_field->setMaxLength2(4);
    enterByTab();
    QApplication::clipboard()->setText(QStringLiteral("1a2\n3-45"));
    QTest::keyClick(m_field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_field->text(), QStringLiteral("1234"));
}

void SujiEditTest::contextMenuPasteKeepsWhatTypingKeeps() {
    enterByTab();
    QApplication::clipboard()->setText(QStringLiteral("9x8"));
    QContextMenuEvent event(QContextMenuEvent::Mouse, m_field->rect().center(),
                            m_field->mapToGlobal(m_field->rect().center()));
    QApplication::sendEvent(m_field, &event);
    auto* menu = m_field->findChild<QMenu*>();
    QVERIFY(menu);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr("&Paste")))
            paste = action;
    QVERIFY(paste);
    paste->trigger();
    menu->close();
    QCOMPARE(m_field->text(), QStringLiteral("98"));
}

void SujiEditTest::compositionResultFollowsTheRules() {
    enterByTab();
    commit(m_field, QStringLiteral("１2あ3"));
    QCOMPARE(m_field->text(), QStringLiteral("123"));
}

void SujiEditTest::kanaReadingGoesToKanaOutInFullWidth() {
    m_field->setNumOnly(false);
    m_field->setKanaOut(m_window->after);
    m_window->after->setText(QStringLiteral("ナ"));
    enterByTab();
    commit(m_field, QStringLiteral("ｶﾞｰﾃﾞﾝ"));
    QCOMPARE(m_window->after->text(), QStringLiteral("ナガーデン"));
    commit(m_field, QStringLiteral("なえ"));
    QCOMPARE(m_window->after->text(), QStringLiteral("ナガーデンなえ"));
}

void SujiEditTest::conversionWithoutReadingAppendsNothing() {
    m_field->setNumOnly(false);
    m_field->setKanaOut(m_window->after);
    enterByTab();
    commit(m_field, QStringLiteral("菜園"));
    QInputMethodEvent composing(QStringLiteral("さい"), {});
    QApplication::sendEvent(m_field, &composing);
    QCOMPARE(m_window->after->text(), QString());
    QCOMPARE(m_field->text(), QStringLiteral("菜園"));
}

void SujiEditTest::kanaOutIsNeverTheFieldItself() {
    m_field->setKanaOut(m_window->after);
    m_field->setKanaOut(m_field);
    QCOMPARE(m_field->KanaOut(), nullptr);
}

QTEST_MAIN(SujiEditTest)
#include "suji_edit_test.moc"
