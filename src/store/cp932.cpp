#include "store/cp932.h"

#include <QList>
#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <libxml/encoding.h>
#include <stdexcept>
#include <vector>

namespace store {

namespace {

constexpr char32_t kLookalikes[] = {0x00A2, 0x00A3, 0x00A5, 0x00AC, 0x2014, 0x2016, 0x203E, 0x2212, 0x301C};

// Code page 932 has no shift states, so one converter each way serves every document.
iconv_t converter(bool toCp932) {
    static iconv_t out = iconv_open("CP932", "UTF-8");
    static iconv_t in = iconv_open("UTF-8", "CP932");
    return toCp932 ? out : in;
}

// The same contract as libxml2's own iconv bridge: -1 output full, -2 a
// character that cannot be converted, -3 a cut-off sequence at the end.
int convert(iconv_t cd, unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        *inlen = 0;
        *outlen = 0;
        return -2;
    }
    char* src = const_cast<char*>(reinterpret_cast<const char*>(in));
    char* dst = reinterpret_cast<char*>(out);
    size_t inLeft = size_t(*inlen);
    size_t outLeft = size_t(*outlen);
    const size_t result = iconv(cd, &src, &inLeft, &dst, &outLeft);
    *inlen -= int(inLeft);
    *outlen -= int(outLeft);
    if (result != size_t(-1))
        return *outlen;
    return errno == E2BIG ? -1 : errno == EILSEQ ? -2 : -3;
}

// The code point of the UTF-8 sequence at in, and its length in bytes.
char32_t decodeUtf8(const unsigned char* in, int len, int& width) {
    const unsigned char lead = in[0];
    width = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    width = std::min(width, len);
    char32_t cp = width == 1 ? lead : width == 2 ? (lead & 0x1F) : width == 3 ? (lead & 0x0F) : (lead & 0x07);
    for (int k = 1; k < width; ++k)
        cp = (cp << 6) | (in[k] & 0x3F);
    return cp;
}

// Bytes of the first look-alike in the UTF-8 text, or len when there is none.
int firstLookalike(const unsigned char* in, int len) {
    for (int i = 0; i < len;) {
        int width = 0;
        if (in[i] >= 0x80 && cp932WouldChange(decodeUtf8(in + i, len - i, width)))
            return i;
        i += in[i] < 0x80 ? 1 : width;
    }
    return len;
}

// Converts first and looks for a look-alike only in what was converted:
// scanning all the input on every call made a text with many characters the
// code page lacks quadratic to write.
int toCp932(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
    int taken = *inlen;
    int written = *outlen;
    int result = convert(converter(true), out, &written, in, &taken);
    const int lookalike = firstLookalike(in, taken);
    if (lookalike < taken) {
        // Only what comes before the look-alike; libxml2 writes it as a reference.
        taken = lookalike;
        written = *outlen;
        convert(converter(true), out, &written, in, &taken);
        result = -2;
    }
    *inlen = taken;
    *outlen = written;
    return result;
}

// Every character of the Basic Multilingual Plane through glibc's converter
// once, so that writing a file needs no converter call per character.
std::vector<quint16> codeTable() {
    std::vector<quint16> table(0x10000, 0);
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return table;
    for (char32_t u = 0x01; u < 0x10000; ++u) {
        if ((u >= 0xD800 && u <= 0xDFFF) || cp932WouldChange(u))
            continue;
        const QByteArray utf8 = QString(QChar(char16_t(u))).toUtf8();
        unsigned char bytes[4];
        int inLen = int(utf8.size());
        int outLen = int(sizeof bytes);
        if (convert(cd, bytes, &outLen, reinterpret_cast<const unsigned char*>(utf8.constData()), &inLen) < 0)
            continue;
        if (outLen == 1)
            table[u] = bytes[0];
        else if (outLen == 2)
            table[u] = quint16(bytes[0] << 8 | bytes[1]);
    }
    iconv_close(cd);
    return table;
}

int fromCp932(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
    return convert(converter(false), out, outlen, in, inlen);
}

} // namespace

bool cp932WouldChange(char32_t codePoint) {
    for (char32_t c : kLookalikes)
        if (c == codePoint)
            return true;
    return false;
}

QString referenceCp932Lookalikes(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (char32_t cp : text.toUcs4()) {
        if (cp932WouldChange(cp))
            result += QStringLiteral("&#%1;").arg(quint32(cp));
        else
            result += QString::fromUcs4(&cp, 1);
    }
    return result;
}

quint16 cp932Code(char16_t u) {
    static const std::vector<quint16> table = codeTable();
    return table[u];
}

// A converter of its own for each text, so no state or thread is shared with the files' writer.
QByteArray encodeCp932(const QString& text, const std::function<QByteArray(char32_t)>& lacking) {
    const iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no CP932 converter");
    QByteArray utf8 = text.toUtf8();
    char* in = utf8.data();
    size_t inLeft = size_t(utf8.size());
    QByteArray out;
    char buffer[4096];
    while (inLeft > 0) {
        char* o = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &o, &outLeft);
        out.append(buffer, qsizetype(o - buffer));
        if (done != size_t(-1) || errno == E2BIG)
            continue;
        int width = 0;
        const char32_t cp = decodeUtf8(reinterpret_cast<const unsigned char*>(in), int(inLeft), width);
        out += lacking(cp);
        in += width;
        inLeft -= size_t(width);
    }
    iconv_close(cd);
    return out;
}

QString decodeCp932(const QByteArray& bytes) {
    iconv_t cd = converter(false);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString();
    QByteArray utf8;
    utf8.reserve(bytes.size() * 3 / 2);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer, qsizetype(out - buffer));
        if (done != size_t(-1) || errno == E2BIG)
            continue;
        // An invalid byte, or a double-byte character cut off at the end.
        utf8 += "\xEF\xBF\xBD";
        ++in;
        --inLeft;
    }
    return QString::fromUtf8(utf8);
}

void registerCp932Encoding(const char* name) {
    xmlNewCharEncodingHandler(name, fromCp932, toCp932);
}

} // namespace store
