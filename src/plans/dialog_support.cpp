#include "plans/dialog_support.h"

#include "widgets/platform.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

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

void useTabFont(QDialog* dialog) {
    QFont font = dialog->font();
    font.setPointSize(10);
    dialog->setFont(font);
}

QHBoxLayout* okCancelRow(QDialog* dialog, QPushButton** ok) {
    *ok = new QPushButton(QStringLiteral("OK"), dialog);
    (*ok)->setObjectName(QStringLiteral("okButton"));
    (*ok)->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), dialog);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(*ok);
    row->addWidget(cancel);
    row->addStretch(1);
    return row;
}

} // namespace plandlg
