#pragma once

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

// A dialog that no key closes: Escape does nothing, and Enter does nothing
// because none of its buttons is ever a default one. Closing by the frame
// still cancels.
class PlainDialog : public QDialog {
public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }

    QPushButton* plainButton(const QString& caption, const char* objectName) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(objectName));
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
};
