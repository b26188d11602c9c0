#pragma once

#include <QPlainTextEdit>
#include <QStringList>

// A multi-line box for a record's lines (a crop's notes, a task's note). It
// shows exactly the lines, one per line of the box, and gives back exactly
// what it shows: the same lines when the user changed nothing, even where an
// empty box and a single empty line look alike, and otherwise one line per
// line of the box, empty lines at the end included. Enter starts a new line;
// Ctrl+Enter is left to the dialog, where it means OK.
class LinesEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LinesEdit(QWidget* parent);

    void setLines(const QStringList& lines);
    QStringList lines() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString text() const;

    QStringList m_shown;
    QString m_shownText;
};
