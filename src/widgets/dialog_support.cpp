#include "widgets/dialog_support.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace choices {

void selectByText(QComboBox* box, const QString& text) {
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(index >= 0 ? index : (box->count() > 0 ? 0 : -1));
}

void selectByTextQuietly(QComboBox* box, const QString& text) {
    const QSignalBlocker quiet(box);
    selectByText(box, text);
}

void fill(QComboBox* box, const QStringList& texts) {
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(texts);
    box->setCurrentIndex(-1);
}

} // namespace choices
