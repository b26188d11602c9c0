#include "file_kinds.h"
#include "fuzz/fuzz_loaders.h"
#include "store/xml_store.h"

#include <QDirIterator>
#include <QtTest>
#include <libxml/parser.h>

using namespace rel;

namespace {

void quiet(void*, const char*, ...) {}

} // namespace

// The fuzzers' seed files, and whatever they found worth keeping, replayed
// through every loader on every build, with or without a fuzzer.
class CorpusReplayTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyFileKeepsEveryLoadersPromises_data();
    void everyFileKeepsEveryLoadersPromises();
};

void CorpusReplayTest::initTestCase() {
    store::initXml();
    xmlSetGenericErrorFunc(nullptr, quiet);
    for (const Kind& kind : readableKinds())
        QVERIFY2(!QDir(QStringLiteral(AOBAROKU_CORPUS_DIR "/") + kind.id).isEmpty(QDir::Files),
                 qPrintable(kind.id + QStringLiteral(" has no seed files")));
}

void CorpusReplayTest::everyFileKeepsEveryLoadersPromises_data() {
    QTest::addColumn<QString>("path");
    QDirIterator it(QStringLiteral(AOBAROKU_CORPUS_DIR), QDir::Files, QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext())
        paths << it.next();
    paths.sort();
    const QDir corpus(QStringLiteral(AOBAROKU_CORPUS_DIR));
    for (const QString& path : paths)
        QTest::newRow(qPrintable(corpus.relativeFilePath(path))) << path;
}

void CorpusReplayTest::everyFileKeepsEveryLoadersPromises() {
    QFETCH(QString, path);
    const QByteArray bytes = readBytes(path);
    for (const Kind& kind : readableKinds()) {
        const QString broken = replayThroughLoader(kind, bytes);
        QVERIFY2(broken.isEmpty(), qPrintable(kind.id + QStringLiteral(": ") + broken));
    }
}

QTEST_GUILESS_MAIN(CorpusReplayTest)
#include "corpus_replay_test.moc"
