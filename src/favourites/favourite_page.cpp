#include "favourites/favourite_records.h"
#include "store/cp932.h"
#include "store/messages.h"
#include "store/save_file.h"

#include <stdexcept>

namespace {

// What the gardener typed is shown as text, never read as markup.
QString escapeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('&'))
            out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            out += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            out += QStringLiteral("&gt;");
        else
            out += c;
    }
    return out;
}

// Inside a double-quoted attribute the quote must not end the value early.
QString escapeAttribute(const QString& text) {
    return escapeText(text).replace(QLatin1Char('"'), QStringLiteral("&quot;"));
}

QString okiniLine(const TOkini& okini) {
    return QStringLiteral("<p><a href=\"") + escapeAttribute(okini.url) +
           QStringLiteral("\" target=\"_blank\">") + escapeText(okini.name) +
           QStringLiteral("</a><span class=\"okini_memo\">") + QStringLiteral(" - ") +
           escapeText(okini.memo) + QStringLiteral("</span></p>");
}

// A character code page 932 cannot hold becomes a numeric character
// reference, so the page still shows it.
QByteArray pageBytes(const QString& text) {
    return store::encodeCp932(store::referenceCp932Lookalikes(text),
                              [](char32_t cp) { return "&#" + QByteArray::number(quint32(cp)) + ';'; });
}

} // namespace

QStringList TOkiniList::PageLines(const QString& siteAddress) const {
    QStringList lines{
        QStringLiteral("<html>"),
        QStringLiteral("<head>"),
        QStringLiteral("<meta http-equiv=\"Content-type\" content=\"text/html; charset=Shift_JIS\" />"),
        QStringLiteral("<meta http-equiv=\"Content-Style-Type\" content=\"text/css\">"),
        QStringLiteral("<link rel=\"stylesheet\" href=\"") +
            escapeAttribute(siteAddress + kOkiniStyleSheetName) + QStringLiteral("\" type=\"text/css\" />"),
        QStringLiteral("</head>"),
        QStringLiteral("<body oncontextmenu=\"return false\">"),
        QStringLiteral("<div>"),
    };
    for (const auto& okini : m_items)
        lines << okiniLine(*okini);
    lines << QStringLiteral("</div>") << QStringLiteral("</body>") << QStringLiteral("</html>");
    return lines;
}

bool TOkiniList::WritePage(const QString& folder, const QString& siteAddress,
                           store::MessageSink& sink) const {
    try {
        const QStringList lines = PageLines(siteAddress);
        store::saveBytes(folder + kOkiniPageName, pageBytes(lines.join(QStringLiteral("\r\n")) + "\r\n"));
    } catch (const std::exception&) {
        sink.message(QString::fromUtf8(msg::SaveFailedOkini));
        return false;
    }
    return true;
}
