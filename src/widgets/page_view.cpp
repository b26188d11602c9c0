#include "widgets/page_view.h"

#include "store/cp932.h"
#include "widgets/platform.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

// Every label the web gives the code page Windows calls Shift-JIS.
bool namesCp932(const QByteArray& charset) {
    static const QList<QByteArray> labels = {"shift_jis", "shift-jis",   "sjis",        "x-sjis",
                                             "ms_kanji",  "csshiftjis",  "windows-31j", "cswindows31j",
                                             "cp932",     "windows-932", "ms932",       "x-ms-cp932"};
    return labels.contains(charset.toLower());
}

// The charset a meta element of the head declares, empty when there is none.
QByteArray declaredCharset(const QByteArray& bytes) {
    static const QRegularExpression pattern(QStringLiteral("charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:-]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const qsizetype headEnd = bytes.indexOf("</head>");
    const QString head = QString::fromLatin1(bytes.left(headEnd < 0 ? 1024 : headEnd));
    const QRegularExpressionMatch match = pattern.match(head);
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

// Qt reads Shift_JIS through ICU, whose table swaps three control codes; the
// program's own converter reads the page exactly as the page writer meant it.
QString decodeText(const QByteArray& bytes) {
    if (namesCp932(declaredCharset(bytes))) {
        const QString text = store::decodeCp932(bytes);
        if (!text.isNull())
            return text;
    }
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(bytes);
}

// Line ends become plain line feeds, as a browser reads any page, and the line
// end after the last tag goes: Qt's parser would keep either as a space at the
// end of a paragraph.
QString decodePage(const QByteArray& bytes) {
    QString text = decodeText(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

// Whether a link to url may be handed to the default browser.
bool opensOutside(const QUrl& url) {
    static const QStringList schemes = {QStringLiteral("http"), QStringLiteral("https"),
                                        QStringLiteral("ftp"), QStringLiteral("mailto")};
    return url.isValid() && schemes.contains(url.scheme(), Qt::CaseInsensitive);
}

} // namespace

PageView::PageView(Platform& platform, QWidget* parent) : QTextBrowser(parent), m_platform(platform) {
    setOpenLinks(false);
    setUndoRedoEnabled(false);
    setAcceptDrops(false);
    // The favourites page asks for no context menu; the site's pages get none either.
    setContextMenuPolicy(Qt::NoContextMenu);
    setFrameShape(QFrame::NoFrame);
    // The page's own margin: paragraphs of the pages have none at their sides.
    document()->setDocumentMargin(14);
    connect(this, &QTextBrowser::anchorClicked, this, &PageView::linkClicked);
}

bool PageView::showFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    // Resources named in the page are looked up relative to the document's base.
    document()->setBaseUrl(QUrl::fromLocalFile(path));
    setHtml(decodePage(bytes));
    return true;
}

// A script, a local file or anything else a page may name opens nothing.
void PageView::linkClicked(const QUrl& url) {
    if (opensOutside(url))
        m_platform.openUrl(url);
}
