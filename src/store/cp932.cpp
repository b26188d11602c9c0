#include "store/cp932.h"

#include <QList>
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

// Bytes of the first look-alike in the UTF-8 text, or len when there is none.
int firstLookalike(const unsigned char* in, int len) {
    for (int i = 0; i < len;) {
        const unsigned char lead = in[i];
        const int n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (i + n > len)
            return len;
        char32_t cp = n == 1 ? lead : n == 2 ? (lead & 0x1F) : n == 3 ? (lead & 0x0F) : (lead & 0x07);
        for (int k = 1; k < n; ++k)
            cp = (cp << 6) | (in[i + k] & 0x3F);
        if (cp932WouldChange(cp))
            return i;
        i += n;
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

void registerCp932Encoding(const char* name) {
    xmlNewCharEncodingHandler(name, fromCp932, toCp932);
}

} // namespace store
