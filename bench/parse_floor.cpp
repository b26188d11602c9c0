// aobaroku-bench-parse FILE...: the floor of reading a notebook. Reads every
// file whole as the program reads a data file (the same reader, encoding and
// options), frees it, and prints on stdout the milliseconds all of them took.
// A process of its own, so that neither a used heap nor the bench's settings
// of the XML library make the floor faster or slower than the program.

#include "store/xml_store.h"

#include <QFile>
#include <chrono>
#include <cstdio>

namespace {

// True when the file gave a document whose root the program reads.
bool readAsTheProgramDoes(const QString& path) {
    const store::XmlDocument document = store::XmlDocument::load(path);
    return !document.isEmpty() && !document.unparsable();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE...\n", argv[0]);
        return 2;
    }
    store::initXml();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i < argc; ++i) {
        if (!readAsTheProgramDoes(QFile::decodeName(argv[i]))) {
            std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[i]);
            return 1;
        }
    }
    const auto end = std::chrono::steady_clock::now();
    std::printf("%.3f\n", std::chrono::duration<double, std::milli>(end - start).count());
    return 0;
}
