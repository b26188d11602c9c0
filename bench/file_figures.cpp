#include "data_sets.h"
#include "figures.h"
#include "timing.h"

#include "crops/crop_records.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "store/xml_store.h"

#include <QFile>
#include <QSaveFile>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

// One data file and the program's own way of reading and writing it.
struct FileCase {
    QString label;
    QString path;
    int records = 0;
    std::function<void()> fresh; // an empty list in place of the previous one
    std::function<bool(store::MessageSink&)> load;
    std::function<int()> count;
    std::function<bool(store::MessageSink&)> save;
};

template <class List, class Load, class Save, class Count>
FileCase fileCase(const QString& label, const QString& folder, const QString& fileName, int records,
                  Load load, Save save, Count count) {
    auto list = std::make_shared<std::unique_ptr<List>>(std::make_unique<List>());
    FileCase c;
    c.label = label;
    c.path = folder + fileName;
    c.records = records;
    c.fresh = [list] { *list = std::make_unique<List>(); };
    c.load = [list, folder, load](store::MessageSink& sink) { return load(**list, folder, sink); };
    c.count = [list, count] { return count(**list); };
    c.save = [list, folder, save](store::MessageSink& sink) { return save(**list, folder, sink); };
    return c;
}

template <class List>
FileCase listCase(const QString& label, const QString& folder, const QString& fileName, int records) {
    return fileCase<List>(
        label, folder, fileName, records,
        [](List& l, const QString& f, store::MessageSink& s) { return l.LoadFromFile(f, s); },
        [](const List& l, const QString& f, store::MessageSink& s) { return l.SaveToFile(f, s); },
        [](const List& l) { return l.count(); });
}

FileCase planCase(const QString& folder) {
    const QString file = PlanFiles().front().fileName;
    return fileCase<TGroupList>(
        QStringLiteral("%1 (%2 groups x %3)").arg(file).arg(kPlanGroups).arg(kPlanEntries), folder, file,
        kPlanGroups * kPlanEntries,
        [file](TGroupList& l, const QString& f, store::MessageSink& s) { return l.LoadFromFile(f, file, s); },
        [file](const TGroupList& l, const QString& f, store::MessageSink& s) {
            return l.SaveToFile(f, l.name, file, s);
        },
        [](const TGroupList& l) { return l.CropCount(); });
}

QList<FileCase> fileCases(const QString& root, const QList<int>& taskCounts) {
    QList<FileCase> cases;
    for (int n : taskCounts)
        cases << listCase<TYoteiList>(QStringLiteral("yotei.xml (%L1 tasks)").arg(n), taskFolder(root, n),
                                      kYoteiFileName, n);
    cases << listCase<TSakumotuList>(QStringLiteral("sakumotu.xml (%L1 crops)").arg(kCropCount),
                                     cropFolder(root), kCropFileName, kCropCount);
    cases << listCase<TCostList>(
        QStringLiteral("cost.xml (%L1 purchases x %2 lines)").arg(kPurchaseCount).arg(kPurchaseLines),
        purchaseFolder(root), kCostFileName, kPurchaseCount);
    cases << planCase(planFolder(root));
    return cases;
}

// The options the program parses with; entities are never substituted.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;

// The program refuses every external entity, and libxml2 opens the file named
// to xmlReadFile through that same loader: the floor lends it the plain one.
class PlainLoader {
public:
    PlainLoader() : m_program(xmlGetExternalEntityLoader()) {
        xmlSetExternalEntityLoader(xmlNoNetExternalEntityLoader);
    }
    ~PlainLoader() { xmlSetExternalEntityLoader(m_program); }

private:
    xmlExternalEntityLoader m_program;
};

void writeOnly(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QByteArray contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

Figure loadFigure(const FileCase& c, int runs) {
    store::RecordingSink sink;
    bool loaded = true;
    const QByteArray path = QFile::encodeName(c.path);
    const QList<double> ms =
        medianMs(runs, {{[&] { loaded = c.load(sink) && loaded; }, c.fresh}, {[&path] { parseOnly(path); }}});
    expectLoaded(loaded, sink, c.count(), c.records, c.path);
    return {QStringLiteral("load ") + c.label, ms[0], QStringLiteral("xmlReadFile"), ms[1], 3, 0, runs};
}

// Runs after loadFigure, on the list it left loaded.
Figure saveFigure(const FileCase& c, int runs) {
    store::RecordingSink sink;
    if (!c.save(sink))
        throw std::runtime_error("cannot save " + c.path.toStdString());
    const QByteArray bytes = contents(c.path);
    const QString floorPath = c.path + QStringLiteral(".floor");
    bool saved = true;
    const QList<double> ms =
        medianMs(runs, {{[&] { saved = c.save(sink) && saved; }}, {[&] { writeOnly(floorPath, bytes); }}});
    if (!saved || contents(c.path) != bytes)
        throw std::runtime_error("saving changed " + c.path.toStdString());
    QFile::remove(floorPath);
    return {QStringLiteral("save ") + c.label, ms[0], QStringLiteral("QSaveFile write"), ms[1], 3, 0, runs};
}

} // namespace

void parseOnly(const QByteArray& path) {
    const PlainLoader loader;
    xmlDoc* doc = xmlReadFile(path.constData(), nullptr, kParseOptions);
    if (!doc)
        throw std::runtime_error("libxml2 cannot parse " + path.toStdString());
    xmlFreeDoc(doc);
}

void expectLoaded(bool loaded, const store::RecordingSink& sink, int count, int expected,
                  const QString& what) {
    if (!loaded || !sink.messages.isEmpty() || count != expected)
        throw std::runtime_error(QStringLiteral("%1 loaded %2 of %3 records (%4)")
                                     .arg(what)
                                     .arg(count)
                                     .arg(expected)
                                     .arg(sink.messages.join(QLatin1Char(' ')))
                                     .toStdString());
}

QList<Figure> fileFigures(const QString& root, const QList<int>& taskCounts, int runs) {
    store::initXml();
    QList<Figure> figures;
    for (const FileCase& c : fileCases(root, taskCounts)) {
        qInfo("measuring %s", qPrintable(c.label));
        figures << loadFigure(c, runs) << saveFigure(c, runs);
    }
    return figures;
}

} // namespace bench
