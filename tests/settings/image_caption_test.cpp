#include "app/main_window.h"
#include "app/settings_dialog.h"
#include "cards/card_sheet.h"
#include "cards/record_cards.h"
#include "crops/crop_records.h"
#include "settings/preferences.h"
#include "support/files.h"
#include "support/modal.h"
#include "support/scripted_platform.h"

#include <QAbstractButton>
#include <QImageReader>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

namespace {

// One group with one crop: a chart of 697 by 75 with 30 pixels of footer room under its frame.
const QByteArray kOneCropPlan =
    "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n<data><sakutuke name=\"\"><group name=\"G\" "
    "order=\"1\"><sakumotu name=\"A\" StTuki=\"4\" StShuu=\"2\" EdTuki=\"8\" EdShuu=\"5\" ichi=\"1\" "
    "down=\"0\"/></group></sakutuke></data>\n";
const QRect kChartFooter(0, 45, 697, 30);

// Pixels that are not the background white, allowing for the JPEG's ringing.
int inkIn(const QImage& image, const QRect& area) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                ++ink;
    return ink;
}

int rightmostInk(const QImage& image, const QRect& area) {
    int right = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                right = std::max(right, x);
    return right;
}

QImage decoded(const QString& path) {
    QImageReader reader(path);
    return reader.read();
}

} // namespace

// The footer of saved pictures is the caption the user set once in 設定…:
// 青葉録 at first, nothing when it is empty, and the picture keeps its size.
class ImageCaptionTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    // Asks nothing in these cases; the dialogs only need someone to ask through.
    ScriptedPlatform m_asker{m_dir.path() + "/asker/"};
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Sets the caption through 設定… as the user does.
    static void setCaption(TForm5& window, const QString& caption) {
        whenModal<TSettingsDialog>([caption](TSettingsDialog* dialog) {
            dialog->captionEdit()->setText(caption);
            dialog->findChild<QAbstractButton*>("okButton")->click();
        });
        window.openSettings();
    }

    QImage savedChart(TForm5& window, const QString& name, ScriptedPlatform& platform) {
        platform.saveAs = path(name);
        window.findChild<QAbstractButton*>("planSaveImageButton")->click();
        return decoded(path(name));
    }

private slots:
    void dialogKeepsTheCaptionInTheUsersPreferences() {
        const QString file = path("config/aobaroku.conf");
        {
            settings::Preferences preferences(file);
            TSettingsDialog dialog(m_asker, preferences);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("設定"));
            QCOMPARE(dialog.captionEdit()->text(), QStringLiteral("青葉録"));
            dialog.captionEdit()->setText(QStringLiteral("  畑の記録\n2026  "));
            dialog.OkButtonClick();
            QVERIFY(dialog.changed());
        }
        settings::Preferences reread(file);
        QCOMPARE(reread.imageCaption(), QStringLiteral("畑の記録 2026"));
        {
            TSettingsDialog dialog(m_asker, reread);
            dialog.captionEdit()->clear();
            dialog.reject();
        }
        QCOMPARE(reread.imageCaption(), QStringLiteral("畑の記録 2026"));
        TSettingsDialog dialog(m_asker, reread);
        dialog.captionEdit()->clear();
        dialog.OkButtonClick();
        QCOMPARE(settings::Preferences(file).imageCaption(), QString());
    }

    void savedChartCarriesTheCaptionOrNothing() {
        const QString data = m_dir.path() + "/chart/";
        QVERIFY(QDir().mkpath(data) && writeBytes(data + "sakutuke1.xml", kOneCropPlan));
        ScriptedPlatform platform(data);
        TForm5 window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QImage first = savedChart(window, "default.jpg", platform);
        QCOMPARE(first.size(), QSize(697, 75));
        const int defaultRight = rightmostInk(first, kChartFooter);
        QVERIFY(defaultRight > 30 && defaultRight < 60); // 青葉録 and no address after it

        setCaption(window, QStringLiteral("わが家の菜園 2026 春"));
        const QImage longer = savedChart(window, "set.jpg", platform);
        QCOMPARE(longer.size(), QSize(697, 75));
        QVERIFY(rightmostInk(longer, kChartFooter) > defaultRight + 40);
        QVERIFY(inkIn(longer, QRect(0, 45, 9, 30)) == 0); // it starts at x 10, as before

        setCaption(window, QString());
        const QImage none = savedChart(window, "none.jpg", platform);
        QCOMPARE(none.size(), QSize(697, 75));
        QCOMPARE(inkIn(none, kChartFooter.adjusted(1, 0, -2, 0)), 0);
        // The chart above the footer did not move.
        QCOMPARE(inkIn(none, QRect(0, 0, 697, 45)), inkIn(longer, QRect(0, 0, 697, 45)));
        QVERIFY(platform.allShown().isEmpty());
    }

    void savedCardCarriesTheCaptionOrNothing_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("inked");
        QTest::newRow("first start") << QString() << true;
        QTest::newRow("set") << QStringLiteral("畑ノート") << true;
        QTest::newRow("empty") << QStringLiteral("") << false;
    }
    void savedCardCarriesTheCaptionOrNothing() {
        QFETCH(QString, caption);
        QFETCH(bool, inked);
        ScriptedPlatform platform(m_dir.path() + '/');
        if (!caption.isNull())
            platform.userPreferences.setImageCaption(caption);
        TSakumotu crop;
        crop.name = QStringLiteral("トマト");
        TForm7 card(crop, platform);
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        platform.saveAs = path("card.jpg");
        card.findChild<QAbstractButton*>("cardSaveButton")->click();
        const QImage image = decoded(path("card.jpg"));
        QCOMPARE(image.size(), QSize(497, 586));
        const QRect footer(cards::kFooterX, 586 - cards::kFooterRise, 200, 14);
        QCOMPARE(inkIn(image, footer) > 20, inked);
        // Nothing else of the card changed place: the frame's bottom line is where it was.
        QVERIFY(qGray(image.pixel(250, 586 - 46)) < 100);
        QVERIFY(platform.errors.isEmpty());
    }
};

QTEST_MAIN(ImageCaptionTest)
#include "image_caption_test.moc"
