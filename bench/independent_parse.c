/* aobaroku-bench-parse-c FILE...: libxml2 alone, without Qt or any of the
 * program's code, parsing each file into a document and freeing it, Shift-JIS
 * read as code page 932 through the library's own converter. Prints on stdout
 * the milliseconds all of them took. The bench holds its floor against it. */

#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <stdio.h>
#include <time.h>

static const char* const shiftJisNames[] = {"SHIFT-JIS", "SHIFT_JIS", "Shift_JIS", "SJIS"};

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1000.0 + (double)t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    if (argc < 2) {
        fprintf(stderr, "usage: %s FILE...\n", argv[0]);
        return 2;
    }
    xmlInitParser();
    for (size_t i = 0; i < sizeof shiftJisNames / sizeof shiftJisNames[0]; ++i)
        xmlAddEncodingAlias("CP932", shiftJisNames[i]);
    const double start = nowMs();
    for (int i = 1; i < argc; ++i) {
        xmlDocPtr doc = xmlReadFile(argv[i], NULL, options);
        if (!doc) {
            fprintf(stderr, "%s: cannot parse %s\n", argv[0], argv[i]);
            return 1;
        }
        xmlFreeDoc(doc);
    }
    printf("%.3f\n", nowMs() - start);
    xmlCleanupParser();
    return 0;
}
