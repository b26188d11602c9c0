#include "cards/card_sheet.h"
#include "cards/record_cards.h"
#include "cards/show_card.h"
#include "crops/crop_records.h"
#include "purchases/purchase_records.h"
#include "report/pdf_tools.h"
#include "schedule/task_records.h"
#include "settings/preferences.h"
#include "support/scripted_platform.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

TSakumotu sampleCrop() {
    TSakumotu crop;
    crop.name = QStringLiteral("トマト");
    crop.kamoku = QStringLiteral("ナス科ナス属");
    crop.memo = QStringList{QStringLiteral("わき芽をかく"), QStringLiteral("支柱を立てる")};
    TJiki* period = crop.jiki.add();
    period->st = QStringLiteral("4月下旬");
    period->ed = QStringLiteral("5月上旬");
    return crop;
}

TYotei sampleTask() {
    TYotei task;
    task.name = QStringLiteral("種まき");
    task.tuki = QStringLiteral("4");
    task.shuu = QStringLiteral("2");
    task.note = QStringList{QStringLiteral("トマト")};
    return task;
}

bool dark(QRgb pixel) {
    return qGray(pixel) < 100;
}

bool nearlyWhite(QRgb pixel) {
    return qRed(pixel) > 225 && qGreen(pixel) > 225 && qBlue(pixel) > 225;
}

// Every pixel of the area that is not background, outside the excluded box.
int inkIn(const QImage& image, const QRect& area, const QRect& except = QRect()) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (!except.contains(x, y) && !nearlyWhite(image.pixel(x, y)))
                ++ink;
    return ink;
}

// The strip under the frame, where the buttons and notes live.
QRect bottomStrip(const QSize& size) {
    return QRect(0, size.height() - 45, size.width(), 45);
}

QRect footerBox(const QSize& size) {
    const QFontMetrics metrics(cards::footerFont());
    const QString text = settings::kDefaultImageCaption;
    return QRect(cards::kFooterX, size.height() - cards::kFooterRise, metrics.horizontalAdvance(text) + 1,
                 metrics.height());
}

bool controlsShown(QWidget& card) {
    for (const char* name : {"cardPrintButton", "cardSaveButton", "cardSaveNote", "cardPrintNote"}) {
        QWidget* control = card.findChild<QWidget*>(QString::fromLatin1(name));
        if (!control || !control->isVisible())
            return false;
    }
    return true;
}

QImage readJpeg(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (reader.format() != "jpeg")
        return QImage();
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class CardWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;

    QString path(const QString& name) const { return m_dir->filePath(name); }

    void show(QWidget& card) {
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
    }

    QImage saved(TCardWindow& card, const QString& name) {
        m_platform->saveAs = path(name);
        card.findChild<QPushButton*>(QStringLiteral("cardSaveButton"))->click();
        return readJpeg(path(name));
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
        m_platform->printFile = path(QStringLiteral("card.pdf"));
    }

    void cardsHaveTheirCaptionsAndClientSizes() {
        const TSakumotu crop = sampleCrop();
        const TYotei task = sampleTask();
        const TCost cost;
        TForm7 cropCard(crop, *m_platform);
        TForm12 taskCard(task, *m_platform);
        TForm17 costCard(cost, *m_platform);
        QCOMPARE(cropCard.windowTitle(), QStringLiteral("作物情報"));
        QCOMPARE(taskCard.windowTitle(), QStringLiteral("予定"));
        QCOMPARE(costCard.windowTitle(), QStringLiteral("購入"));
        QCOMPARE(cropCard.size(), QSize(497, 586));
        QCOMPARE(taskCard.size(), QSize(472, 490));
        QCOMPARE(costCard.size(), QSize(497, 586));
    }

    void buttonsAndNotesAlongTheBottom() {
        const TSakumotu crop = sampleCrop();
        TForm7 card(crop, *m_platform);
        show(card);
        auto* print = card.findChild<QPushButton*>(QStringLiteral("cardPrintButton"));
        auto* save = card.findChild<QPushButton*>(QStringLiteral("cardSaveButton"));
        QCOMPARE(print->text(), QStringLiteral("印刷"));
        QCOMPARE(save->text(), QStringLiteral("保存"));
        QCOMPARE(print->geometry(), QRect(17, 586 - 42, 75, 22));
        QCOMPARE(save->geometry(), QRect(98, 586 - 42, 75, 22));
        auto* saveNote = card.findChild<QLabel*>(QStringLiteral("cardSaveNote"));
        auto* printNote = card.findChild<QLabel*>(QStringLiteral("cardPrintNote"));
        QCOMPARE(saveNote->text(), QStringLiteral("※画像で保存します。"));
        QCOMPARE(printNote->text(), QStringLiteral("※通常使うプリンターに印刷します"));
        QVERIFY(saveNote->x() > save->geometry().right());
        QVERIFY(printNote->y() > print->geometry().bottom());
        QVERIFY(printNote->geometry().bottom() < 586);
        QVERIFY(print->y() > cards::frameRect(card.size()).bottom());
    }

    void cropCardKeepsItsSmallestSize() {
        const TSakumotu crop = sampleCrop();
        TForm7 card(crop, *m_platform);
        card.resize(100, 100);
        QCOMPARE(card.size(), QSize(396, 408));
    }

    void cardImageLeavesOutButtonsAndNotes() {
        const TSakumotu crop = sampleCrop();
        TForm7 card(crop, *m_platform);
        show(card);
        const QImage image = card.cardImage();
        QCOMPARE(image.size(), card.size());
        QCOMPARE(inkIn(image, bottomStrip(image.size())), 0);
        QVERIFY(controlsShown(card));
        // On screen they are there.
        QVERIFY(inkIn(card.grab().toImage(), bottomStrip(card.size())) > 0);
    }

    void savedJpegHasTheClientSizeAndNoControls() {
        const TSakumotu crop = sampleCrop();
        TForm7 card(crop, *m_platform);
        show(card);
        const QImage image = saved(card, QStringLiteral("crop.jpg"));
        QCOMPARE(image.size(), QSize(497, 586));
        QCOMPARE(m_platform->proposedFileNames, QStringList{QStringLiteral("トマト.jpg")});
        QCOMPARE(inkIn(image, bottomStrip(image.size()), footerBox(image.size()).adjusted(-2, -2, 2, 2)), 0);
        QVERIFY(controlsShown(card));
        QVERIFY(m_platform->errors.isEmpty());
    }

    void footerSitsFortyPixelsAboveTheBottom() {
        const TYotei task = sampleTask();
        TForm12 card(task, *m_platform);
        show(card);
        const QImage image = saved(card, QStringLiteral("task.jpg"));
        const QRect footer = footerBox(image.size());
        QCOMPARE(footer.top(), 490 - 40);
        QVERIFY(inkIn(image, footer) > 50);
        QCOMPARE(inkIn(image, QRect(0, 490 - 44, 16, 44)), 0); // nothing left of x 20 (allowing JPEG ringing)
        QCOMPARE(inkIn(image, QRect(0, 490 - 44, 472, 3)), 0); // nothing just above it
        int darkest = 255;
        for (int x = footer.left(); x < footer.right(); ++x)
            darkest = qMin(darkest, qGray(image.pixel(x, footer.top() + footer.height() / 2)));
        QVERIFY(darkest < 100); // black text
    }

    void resizedTaskCardSavesALargerImage() {
        const TYotei task = sampleTask();
        TForm12 card(task, *m_platform);
        show(card);
        card.resize(600, 700);
        QTRY_COMPARE(card.size(), QSize(600, 700));
        const QImage image = saved(card, QStringLiteral("big.jpg"));
        QCOMPARE(image.size(), QSize(600, 700));
        QVERIFY(dark(image.pixel(583, 300))); // the frame's right edge followed
        QVERIFY(dark(image.pixel(300, 654))); // and its bottom
        QCOMPARE(footerBox(image.size()).top(), 660);
        QVERIFY(inkIn(image, footerBox(image.size())) > 50);
        QCOMPARE(m_platform->proposedFileNames, QStringList{QStringLiteral("種まき.jpg")});
    }

    void nameWithoutExtensionIsWrittenAsGiven() {
        TCost cost;
        TForm17 card(cost, *m_platform);
        show(card);
        const QImage image = saved(card, QStringLiteral("kounyu"));
        QVERIFY(QFile::exists(path(QStringLiteral("kounyu"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("kounyu.jpg"))));
        QCOMPARE(image.size(), QSize(497, 586));
        QCOMPARE(m_platform->proposedFileNames, QStringList{QStringLiteral("kounyu.jpg")});
    }

    void cancelledSaveWritesNothing() {
        const TYotei task = sampleTask();
        TForm12 card(task, *m_platform);
        show(card);
        m_platform->saveAs.clear();
        card.SaveButtonClick();
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
        QVERIFY(controlsShown(card));
        QVERIFY(m_platform->allShown().isEmpty());
    }

    void failedSaveIsReportedAndTheCardStays() {
        const TYotei task = sampleTask();
        TForm12 card(task, *m_platform);
        show(card);
        m_platform->saveAs = path(QStringLiteral("missing/folder/yotei.jpg"));
        card.SaveButtonClick();
        QCOMPARE(m_platform->errors,
                 QStringList(QStringLiteral("画像を保存できませんでした。\n") + m_platform->saveAs +
                             QStringLiteral("\n保存先のフォルダーがありません。")));
        QVERIFY(card.isVisible());
        QVERIFY(controlsShown(card));
    }

    // A slip in the save dialog: the schedule itself must not become a picture.
    void neverSavedOverAFileOfTheNotebook() {
        const TYotei task = sampleTask();
        TForm12 card(task, *m_platform);
        show(card);
        m_platform->saveAs = path(QStringLiteral("yotei.xml"));
        QFile schedule(m_platform->saveAs);
        QVERIFY(schedule.open(QIODevice::WriteOnly) && schedule.write("<data/>") == 7);
        schedule.close();
        card.SaveButtonClick();
        QCOMPARE(m_platform->errors,
                 QStringList(QStringLiteral("画像を保存できませんでした。\n") + m_platform->saveAs +
                             QStringLiteral("\n青葉録のデータファイルには保存できません。")));
        QVERIFY(schedule.open(QIODevice::ReadOnly));
        QCOMPARE(schedule.readAll(), QByteArray("<data/>"));
    }

    void noPrinterIsReportedAndTheCardStays() {
        const TSakumotu crop = sampleCrop();
        TForm7 card(crop, *m_platform);
        show(card);
        m_platform->hasPrinter = false;
        card.findChild<QPushButton*>(QStringLiteral("cardPrintButton"))->click();
        QCOMPARE(m_platform->errors.size(), 1);
        QVERIFY(card.isVisible());
        QVERIFY(controlsShown(card));
        QVERIFY(!QFile::exists(m_platform->printFile));
    }

    void printedPageShowsTheCardAtScreenSize() {
        if (!pdftools::available())
            QSKIP("poppler-utils are not installed");
        const TSakumotu crop = sampleCrop();
        TForm7 card(crop, *m_platform);
        show(card);
        card.PrintButtonClick();
        QVERIFY(m_platform->errors.isEmpty());
        QVERIFY(controlsShown(card));
        const QString pdf = m_platform->printFile;
        QCOMPARE(pdftools::pageCount(pdf), 1);
        // The page carries the card image itself, unchanged, at 96 dots per inch.
        const QList<QImage> images = pdftools::embeddedImages(pdf);
        QCOMPARE(images.size(), 1);
        QVERIFY(images.first() == card.cardImage());
        QCOMPARE(pdftools::imageResolutions(pdf), (QList<QPair<int, int>>{{96, 96}}));
        // Placed at the corner of the printable area.
        const QPoint corner = m_platform->defaultPrinter()->pageLayout().paintRectPixels(96).topLeft();
        const QImage page = pdftools::rasterise(pdf, 1, 96);
        QVERIFY(dark(page.pixel(corner.x() + 17, corner.y() + 30))); // the frame's left edge
        QVERIFY(!dark(page.pixel(corner.x() + 15, corner.y() + 30)));
        QVERIFY(dark(page.pixel(corner.x() + 200, corner.y() + 19))); // its top edge
        QVERIFY(!dark(page.pixel(corner.x() + 200, corner.y() + 17)));
    }

    void printingTwiceGivesTheSamePage() {
        if (!pdftools::available())
            QSKIP("poppler-utils are not installed");
        TCost cost;
        TForm17 card(cost, *m_platform);
        show(card);
        card.PrintButtonClick();
        const QImage first = pdftools::rasterise(m_platform->printFile, 1, 96);
        QFile::remove(m_platform->printFile);
        card.PrintButtonClick();
        QCOMPARE(pdftools::pageCount(m_platform->printFile), 1);
        QVERIFY(!first.isNull());
        QVERIFY(first == pdftools::rasterise(m_platform->printFile, 1, 96));
    }

    void showCropCardOpensTheCardModally() {
        const TSakumotu crop = sampleCrop();
        QString title;
        bool modal = false;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* card = qobject_cast<TCardWindow*>(window); card && card->isVisible()) {
                    title = card->windowTitle();
                    modal = QApplication::activeModalWidget() == card;
                    card->close();
                }
        });
        closer.start(0);
        showCropCard(crop, *m_platform, nullptr);
        closer.stop();
        QCOMPARE(title, QStringLiteral("作物情報"));
        QVERIFY(modal);
    }
};

QTEST_MAIN(CardWindowTest)
#include "card_window_test.moc"
