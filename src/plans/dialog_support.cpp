#include "plans/dialog_support.h"

#include "widgets/platform.h"

#include <QComboBox>

namespace plandlg {

bool refuse(Platform& platform, const QString& text, QWidget* focus) {
    platform.message(text);
    focus->setFocus();
    return true;
}

void selectByText(QComboBox* box, const QString& text) {
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(index >= 0 ? index : (box->count() > 0 ? 0 : -1));
}

} // namespace plandlg
