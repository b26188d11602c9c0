#include "app/qt_platform.h"

#include "app/save_folders.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>

namespace {

// The window a message belongs over. Right after the start no window may be
// active yet: the message then goes over the main window all the same.
QWidget* owner() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowType() == Qt::Window)
            return window;
    return nullptr;
}

void showBrowserFailure(const QUrl& url) {
    auto* box = new QMessageBox(QMessageBox::Information, kAppTitle,
                                QStringLiteral("ブラウザーを開けませんでした。\n") + url.toString(),
                                QMessageBox::Ok, owner());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The answer comes whenever xdg-open ends: the box waits for no one either.
    box->open();
}

} // namespace

QtPlatform::QtPlatform(QString dataFolder, settings::Preferences preferences)
    : m_dataFolder(std::move(dataFolder)), m_preferences(std::move(preferences)) {
    QObject::connect(&m_browser, &BrowserLauncher::failed, &m_browser, showBrowserFailure);
}

void QtPlatform::message(const QString& text) {
    QMessageBox::information(owner(), kAppTitle, text, QMessageBox::Ok);
}

bool QtPlatform::question(const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("情報"), text, QMessageBox::NoButton, owner());
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtPlatform::warning(const QString& text) {
    QMessageBox::warning(owner(), QStringLiteral("警告"), text, QMessageBox::Ok);
}

void QtPlatform::error(const QString& text) {
    QMessageBox::critical(owner(), kAppTitle, text, QMessageBox::Ok);
}

QString QtPlatform::saveFileName(const SaveRequest& request) {
    // Qt's dialog asks before overwriting unless told otherwise.
    const QString path = QFileDialog::getSaveFileName(
        owner(), QString(), saveDialogStart(m_preferences, request), request.filter);
    rememberSaveFolder(m_preferences, request, path);
    return path;
}

QStringList QtPlatform::openPictures() {
    return QFileDialog::getOpenFileNames(owner(), QStringLiteral("写真を選択"),
                                         QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                                         QStringLiteral("写真 (*.jpg *.jpeg *.JPG *.JPEG *.png *.PNG)"));
}

bool QtPlatform::chooseColour(QColor& colour) {
    const QColor chosen = QColorDialog::getColor(colour, owner());
    if (!chosen.isValid())
        return false;
    colour = chosen;
    return true;
}

bool QtPlatform::printDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, owner());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    // The report presets its page count as the range; keep the user within it.
    if (printer.fromPage() > 0)
        dialog.setMinMax(printer.fromPage(), printer.toPage());
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<QPrinter> QtPlatform::defaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::ScreenResolution);
}

void QtPlatform::openUrl(const QUrl& url) {
    m_browser.open(url);
}

QDate QtPlatform::today() {
    return QDate::currentDate();
}

QString QtPlatform::dataFolder() {
    return m_dataFolder;
}
