#include "support/files.h"
#include "support/page_reading.h"
#include "support/scripted_platform.h"
#include "widgets/page_view.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

using testsupport::folderOf;
using testsupport::links;
using testsupport::paragraphs;
using testsupport::writeBytes;

namespace {

// A picture the document holds: the file's bytes when loaded, a pixmap once drawn.
QSize pictureSize(const QVariant& resource) {
    if (resource.userType() == QMetaType::QPixmap)
        return resource.value<QPixmap>().size();
    if (resource.userType() == QMetaType::QImage)
        return resource.value<QImage>().size();
    return QImage::fromData(resource.toByteArray()).size();
}

} // namespace

// The view of a local page: how it reads the file and where its links may go.
class PageViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void linkGoesOutOnlyToWebFtpAndMail_data();
    void linkGoesOutOnlyToWebFtpAndMail();
    void readsTheCharsetThePageDeclares_data();
    void readsTheCharsetThePageDeclares();
    void takesStyleSheetAndImagesRelativeToTheFile();
    void unreadableFileLeavesThePageOnShow();
    void typingChangesNothing();

private:
    QString write(const QString& name, const QByteArray& bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<PageView> m_view;
};

void PageViewTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_platform = std::make_unique<ScriptedPlatform>(folderOf(*m_dir));
    m_view = std::make_unique<PageView>(*m_platform);
    m_view->resize(500, 300);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void PageViewTest::cleanup() {
    m_view.reset();
}

QString PageViewTest::write(const QString& name, const QByteArray& bytes) {
    const QString path = folderOf(*m_dir) + name;
    return writeBytes(path, bytes) ? path : QString();
}

void PageViewTest::linkGoesOutOnlyToWebFtpAndMail_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<bool>("opens");
    QTest::newRow("http") << "http://yasai.example/?a=1" << true;
    QTest::newRow("https") << "https://yasai.example/" << true;
    QTest::newRow("ftp") << "ftp://ftp.example/pub/" << true;
    QTest::newRow("mailto") << "mailto:tane@yasai.example" << true;
    QTest::newRow("upper-case scheme") << "HTTP://yasai.example/" << true;
    QTest::newRow("javascript") << "javascript:alert(1)" << false;
    QTest::newRow("file") << "file:///etc/passwd" << false;
    QTest::newRow("data") << "data:text/plain,x" << false;
    QTest::newRow("relative") << "other.html" << false;
    QTest::newRow("about") << "about:blank" << false;
}

void PageViewTest::linkGoesOutOnlyToWebFtpAndMail() {
    QFETCH(QString, href);
    QFETCH(bool, opens);
    const QString page = write("page.html", "<html><body><p>before <a href=\"" + href.toUtf8() +
                                                "\">the link</a> after</p></body></html>");
    QVERIFY(m_view->showFile(page));
    const QString shown = m_view->toHtml();
    QCOMPARE(links(m_view.get()).size(), 1);

    testsupport::clickLink(m_view.get(), links(m_view.get()).first());

    QCOMPARE(m_platform->openedUrls, opens ? QStringList{QUrl(href).toString()} : QStringList());
    QCOMPARE(m_view->toHtml(), shown);
    QVERIFY(!m_view->isBackwardAvailable());
}

void PageViewTest::readsTheCharsetThePageDeclares_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    // ① ㈱ ～ 髙 and a backslash in code page 932, then markup as text.
    const QByteArray cp932Body = "\x87\x40 \x87\x8A \x81\x60 \xFB\xFC \\ &lt;b&gt;&amp;</p></body></html>";
    const QString expected = QStringLiteral("① ㈱ ～ 髙 \\ <b>&");
    QTest::newRow("Shift_JIS") << "<html><head><meta http-equiv=\"Content-type\" content=\"text/html; "
                                  "charset=Shift_JIS\" /></head><body><p>" +
                                      cp932Body
                               << expected;
    QTest::newRow("windows-31j") << "<html><head><meta charset=\"windows-31j\"></head><body><p>" + cp932Body
                                 << expected;
    QTest::newRow("UTF-8 declared") << ("<html><head><meta charset=\"UTF-8\"></head><body><p>" +
                                        expected.toHtmlEscaped().toUtf8() + "</p></body></html>")
                                    << expected;
    QTest::newRow("undeclared") << ("<p>" + expected.toHtmlEscaped().toUtf8()) << expected;
    QTest::newRow("cut-off character")
        << QByteArray("<meta charset=\"Shift_JIS\"><p>\x87\x40\x87") << "①\uFFFD";
}

void PageViewTest::readsTheCharsetThePageDeclares() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QVERIFY(m_view->showFile(write("page.html", bytes)));
    QCOMPARE(paragraphs(m_view.get()), QStringList{text});
}

void PageViewTest::takesStyleSheetAndImagesRelativeToTheFile() {
    QVERIFY(QDir(m_dir->path()).mkpath("site/img"));
    QVERIFY(!write("site/look.css", "h1 { color: #c03020; }").isEmpty());
    QImage picture(12, 8, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QVERIFY(picture.save(folderOf(*m_dir) + "site/img/leaf.png"));
    const QString page = write("site/page.html", "<html><head><link rel=\"stylesheet\" href=\"look.css\" "
                                                 "type=\"text/css\"></head><body><h1>見出し</h1>"
                                                 "<p><img src=\"img/leaf.png\"></p></body></html>");
    QVERIFY(m_view->showFile(page));
    const QTextBlock heading = m_view->document()->begin();
    QCOMPARE(heading.text(), QStringLiteral("見出し"));
    QCOMPARE(heading.begin().fragment().charFormat().foreground().color(), QColor(0xc0, 0x30, 0x20));
    const QVariant image = m_view->document()->resource(QTextDocument::ImageResource, QUrl("img/leaf.png"));
    QCOMPARE(pictureSize(image), QSize(12, 8));
}

void PageViewTest::unreadableFileLeavesThePageOnShow() {
    QVERIFY(m_view->showFile(write("page.html", "<p>野菜の会</p>")));
    QVERIFY(!m_view->showFile(folderOf(*m_dir) + "missing.html"));
    QVERIFY(!m_view->showFile(m_dir->path()));
    QCOMPARE(paragraphs(m_view.get()), QStringList{"野菜の会"});
}

void PageViewTest::typingChangesNothing() {
    QVERIFY(m_view->showFile(write("page.html", "<p>野菜の会</p>")));
    m_view->setFocus();
    QTest::keyClicks(m_view.get(), "abc");
    QTest::keyClick(m_view.get(), Qt::Key_Backspace);
    QTest::keyClick(m_view.get(), Qt::Key_Delete);
    QCOMPARE(paragraphs(m_view.get()), QStringList{"野菜の会"});
    QCOMPARE(m_view->contextMenuPolicy(), Qt::NoContextMenu);
}

QTEST_MAIN(PageViewTest)
#include "page_view_test.moc"
