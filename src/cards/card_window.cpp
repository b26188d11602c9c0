#include "cards/card_window.h"

#include "cards/card_printing.h"
#include "store/notebook_files.h"
#include "image/jpeg_writer.h"
#include "widgets/platform.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

// Keeps the buttons and notes out of sight for one command and brings them
// back however the command ends.
class HiddenControls {
public:
    explicit HiddenControls(TCardWindow& card) : m_card(card) { m_card.setControlsVisible(false); }
    ~HiddenControls() { m_card.setControlsVisible(true); }
    HiddenControls(const HiddenControls&) = delete;
    HiddenControls& operator=(const HiddenControls&) = delete;

private:
    TCardWindow& m_card;
};

TCardWindow::TCardWindow(Platform& platform, const QString& caption, const cards::CardSheet& sheet,
                         const QString& dialog, const QString& fileName, QWidget* owner)
    : QDialog(owner), m_platform(platform), m_sheet(sheet), m_dialog(dialog), m_fileName(fileName) {
    setWindowTitle(caption);
    setFont(cards::windowFont());
    QPalette ground = palette();
    ground.setColor(QPalette::Window, Qt::white);
    setPalette(ground);
    setAutoFillBackground(true);

    m_printButton = new QPushButton(QStringLiteral("印刷"), this);
    m_printButton->setObjectName(QStringLiteral("cardPrintButton"));
    m_saveButton = new QPushButton(QStringLiteral("保存"), this);
    m_saveButton->setObjectName(QStringLiteral("cardSaveButton"));
    for (QPushButton* button : {m_printButton, m_saveButton}) {
        button->setAutoDefault(false);
        button->setFixedSize(75, 22);
    }
    connect(m_printButton, &QPushButton::clicked, this, &TCardWindow::PrintButtonClick);
    connect(m_saveButton, &QPushButton::clicked, this, &TCardWindow::SaveButtonClick);
    m_saveNote = note(QStringLiteral("※画像で保存します。"), "cardSaveNote");
    m_printNote = note(QStringLiteral("※通常使うプリンターに印刷します"), "cardPrintNote");

    resize(sheet.clientSize);
    placeControls();
}

QLabel* TCardWindow::note(const QString& text, const char* objectName) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextFormat(Qt::PlainText);
    label->adjustSize();
    return label;
}

// Along the bottom, below the frame: the two buttons, the save note beside
// them and the print note under them.
void TCardWindow::placeControls() {
    const int buttonTop = height() - 42;
    m_printButton->move(17, buttonTop);
    m_saveButton->move(98, buttonTop);
    m_saveNote->move(98 + 75 + 8, buttonTop + (22 - m_saveNote->height()) / 2);
    m_printNote->move(17, buttonTop + 22 + 2);
}

void TCardWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeControls();
}

void TCardWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    cards::paintSheet(painter, m_sheet, size());
}

void TCardWindow::setControlsVisible(bool visible) {
    for (QWidget* control : {static_cast<QWidget*>(m_printButton), static_cast<QWidget*>(m_saveButton),
                             static_cast<QWidget*>(m_saveNote), static_cast<QWidget*>(m_printNote)})
        control->setVisible(visible);
    if (isVisible())
        repaint();
}

QImage TCardWindow::cardImage() {
    HiddenControls hidden(*this);
    return renderClientArea();
}

// Off-screen, so it works the same whether or not the card is on a screen.
QImage TCardWindow::renderClientArea() {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    render(&image);
    return image;
}

// The printer's failures are reported where they happen; anything else reaches
// the general error box, and the controls come back either way.
void TCardWindow::PrintButtonClick() {
    HiddenControls hidden(*this);
    cards::printCardImage(renderClientArea(), m_platform);
}

void TCardWindow::SaveButtonClick() {
    HiddenControls hidden(*this);
    try {
        QImage image = renderClientArea();
        cards::drawFooter(image, m_platform.preferences().imageCaption());
        const QString path = m_platform.saveFileName({m_dialog, SaveKind::Picture, m_fileName, QString()});
        if (!path.isEmpty())
            image::writeJpeg(image, path, store::notebookFiles(m_platform.dataFolder()));
    } catch (const image::JpegError& e) {
        m_platform.error(QString::fromUtf8(e.what()));
    }
}
