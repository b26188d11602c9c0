#include "purchases/choice_select.h"

#include <QComboBox>
#include <QSignalBlocker>

void SelectByText(QComboBox* box, const QString& text) {
    const QSignalBlocker quiet(box);
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(index >= 0 ? index : (box->count() > 0 ? 0 : -1));
}

void FillChoices(QComboBox* box, const QStringList& texts) {
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(texts);
    box->setCurrentIndex(-1);
}
