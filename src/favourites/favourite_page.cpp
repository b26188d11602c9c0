#include "favourites/favourite_records.h"
#include "store/cp932.h"
#include "store/messages.h"
#include "store/save_file.h"

#include <cerrno>
#include <iconv.h>
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

// The code point of the UTF-8 sequence that starts at bytes.
char32_t codePointAt(const char* bytes, size_t left, size_t* length) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    n = std::min(n, left);
    char32_t cp = n == 1 ? lead : n == 2 ? (lead & 0x1F) : n == 3 ? (lead & 0x0F) : (lead & 0x07);
    for (size_t i = 1; i < n; ++i)
        cp = (cp << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3F);
    *length = n;
    return cp;
}

class Cp932Encoder {
public:
    Cp932Encoder() : m_cd(iconv_open("CP932", "UTF-8")) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("no CP932 converter");
    }
    ~Cp932Encoder() { iconv_close(m_cd); }
    Cp932Encoder(const Cp932Encoder&) = delete;
    Cp932Encoder& operator=(const Cp932Encoder&) = delete;

    // A character code page 932 cannot hold becomes a numeric character
    // reference, so the page still shows it.
    QByteArray encode(const QString& text) {
        QByteArray utf8 = store::referenceCp932Lookalikes(text).toUtf8();
        char* in = utf8.data();
        size_t inLeft = size_t(utf8.size());
        QByteArray out;
        char buffer[4096];
        while (inLeft > 0) {
            char* o = buffer;
            size_t outLeft = sizeof buffer;
            const size_t done = iconv(m_cd, &in, &inLeft, &o, &outLeft);
            out.append(buffer, qsizetype(o - buffer));
            if (done != size_t(-1) || errno == E2BIG)
                continue;
            size_t length = 0;
            const char32_t cp = codePointAt(in, inLeft, &length);
            out += "&#" + QByteArray::number(quint32(cp)) + ';';
            in += length;
            inLeft -= length;
        }
        return out;
    }

private:
    iconv_t m_cd;
};

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
        Cp932Encoder encoder;
        QByteArray bytes;
        for (const QString& line : PageLines(siteAddress))
            bytes += encoder.encode(line) + "\r\n";
        store::saveBytes(folder + kOkiniPageName, bytes);
    } catch (const std::exception&) {
        sink.message(QString::fromUtf8(msg::SaveFailedOkini));
        return false;
    }
    return true;
}
