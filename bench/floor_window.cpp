// aobaroku-bench-floor PAGE: the floor of the whole-process start-up figures. A
// plain Qt Widgets window of the main window's size showing one local page in a
// QTextBrowser, and nothing else.
#include <QApplication>
#include <QTextBrowser>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: aobaroku-bench-floor PAGE\n");
        return 2;
    }
    QTextBrowser browser;
    browser.resize(776, 636);
    browser.setSource(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    browser.show();
    return app.exec();
}
