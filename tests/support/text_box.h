#pragma once

#include <QPlainTextEdit>
#include <QStringList>
#include <QTextBlock>

namespace testsupport {

// The lines a multi-line box shows, one per line of the box, as the user sees them.
inline QStringList shownLines(const QPlainTextEdit& box) {
    QStringList lines;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

} // namespace testsupport
