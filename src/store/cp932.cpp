#include "store/cp932.h"

#include "store/xml_store.h"

#include <QList>
#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <libxml/encoding.h>

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
    if (cd == reinterpret_cast<iconv_t>(-1))
        return -2;
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

int toCp932(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
    const int stop = firstLookalike(in, *inlen);
    int taken = stop;
    const int result = convert(converter(true), out, outlen, in, &taken);
    const bool lookalikeNext = result >= 0 && stop < *inlen;
    *inlen = taken;
    // Everything before the look-alike is out; libxml2 writes it as a reference.
    return lookalikeNext ? -2 : result;
}

// Converts in[0, len) onto the end of out; gives the bytes taken, which stop
// short of len at a character code page 932 cannot hold.
int appendConverted(QByteArray& out, const unsigned char* in, int len) {
    if (converter(true) == reinterpret_cast<iconv_t>(-1))
        throw SaveError("no code page 932 converter");
    const qsizetype before = out.size();
    // A code page 932 character is never longer than its UTF-8 form.
    out.resize(before + len);
    int inLen = len;
    int outLen = len;
    convert(converter(true), reinterpret_cast<unsigned char*>(out.data() + before), &outLen, in, &inLen);
    out.resize(before + outLen);
    return inLen;
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

QByteArray toCp932WithReferences(const QByteArray& utf8) {
    const auto* in = reinterpret_cast<const unsigned char*>(utf8.constData());
    const int len = int(utf8.size());
    QByteArray out;
    out.reserve(utf8.size());
    for (int pos = 0; pos < len;) {
        const int stop = pos + firstLookalike(in + pos, len - pos);
        pos += appendConverted(out, in + pos, stop - pos);
        if (pos == len)
            break;
        int width = 0;
        const char32_t cp = decodeUtf8(in + pos, len - pos, width);
        out.append("&#" + QByteArray::number(quint32(cp)) + ';');
        pos += width;
    }
    return out;
}

void registerCp932Encoding(const char* name) {
    xmlNewCharEncodingHandler(name, fromCp932, toCp932);
}

} // namespace store
