#include "fuzz/fuzz_loaders.h"
#include "store/xml_store.h"

#include <QByteArray>
#include <QDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <libxml/parser.h>

namespace {

void quiet(void*, const char*, ...) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every input is written to a file and saved back: in memory that costs no disk.
    if (QDir(QStringLiteral("/dev/shm")).exists() && qEnvironmentVariableIsEmpty("TMPDIR"))
        qputenv("TMPDIR", "/dev/shm");
    store::initXml();
    xmlSetGenericErrorFunc(nullptr, quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const rel::Kind& kind = rel::kind(QStringLiteral(AOBAROKU_FUZZ_KIND));
    const QString broken =
        rel::replayThroughLoader(kind, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", AOBAROKU_FUZZ_KIND, qPrintable(broken));
        std::abort();
    }
    return 0;
}
