#pragma once

#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

// Reading and clicking a page in a text browser the way the gardener sees it.
namespace testsupport {

// The text of every paragraph, heading and row of cells that holds any, in order.
inline QStringList paragraphs(const QTextBrowser* view) {
    QStringList texts;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        if (!block.text().isEmpty())
            texts << block.text();
    return texts;
}

// Where each link of the page starts, and the address it names as written.
struct Link {
    int position = 0;
    int length = 0;
    QString href;
};

inline QList<Link> links(const QTextBrowser* view) {
    QList<Link> found;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                found.append({it.fragment().position(), it.fragment().length(),
                              it.fragment().charFormat().anchorHref()});
    return found;
}

// A press and release of the mouse in the middle of the link's text.
inline void clickLink(QTextBrowser* view, const Link& link) {
    QTextCursor cursor(view->document());
    cursor.setPosition(link.position + link.length / 2);
    view->setTextCursor(cursor);
    view->ensureCursorVisible();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(cursor).center());
}

} // namespace testsupport
