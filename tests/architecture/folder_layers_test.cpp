// The folders under src/ are the layers of the program. A folder may include its own layer and those
// below it, never one above; within a layer the includes must not close a loop; and nothing built into
// the core library may include a window header, so the records and files stay testable without a display.

#include <QDirIterator>
#include <QFile>
#include <QLibraryInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

// Bottom first. A new folder gets a row here before it builds.
const QList<QStringList> kLayers = {
    {"store", "settings"},
    {"widgets", "image"},
    {"history", "report"},
    {"crops", "plans", "schedule", "purchases", "favourites", "harvest"},
    {"notebook", "sync"},
    {"cards", "exports", "search", "history_ui", "seasons", "week"},
    {"app"},
};

const QString kSrc = QStringLiteral(AOBAROKU_SOURCE_DIR "/src");

struct Include {
    QString file; // relative to src/
    int line;
    QString target; // as written between the quotes or brackets
    bool quoted;
};

QString folderOf(const QString& path) {
    const qsizetype slash = path.indexOf('/');
    return slash < 0 ? QString() : path.left(slash);
}

QList<Include> readIncludes() {
    static const QRegularExpression re(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^">]+)[">])"));
    QList<Include> out;
    QDirIterator it(kSrc, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString rel = QDir(kSrc).relativeFilePath(path);
        int n = 0;
        while (!f.atEnd()) {
            ++n;
            const auto m = re.match(QString::fromUtf8(f.readLine()));
            if (m.hasMatch())
                out.append({rel, n, m.captured(2), m.captured(1) == "\""});
        }
    }
    return out;
}

int layerOf(const QString& folder) {
    for (int i = 0; i < kLayers.size(); ++i)
        if (kLayers[i].contains(folder))
            return i;
    return -1;
}

// Sources each subsystem's CMakeLists.txt adds to the core library, relative to src/.
QSet<QString> coreFiles() {
    static const QRegularExpression block(
        QStringLiteral(R"(target_sources\(aobaroku_core\s+PRIVATE([^)]*)\))"));
    QSet<QString> out;
    QDirIterator it(kSrc, {"CMakeLists.txt"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString folder = folderOf(QDir(kSrc).relativeFilePath(path));
        auto blocks = block.globalMatch(QString::fromUtf8(f.readAll()));
        while (blocks.hasNext())
            for (const QString& name :
                 blocks.next().captured(1).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
                if (name.endsWith(".h") || name.endsWith(".cpp"))
                    out.insert(folder + '/' + name);
    }
    return out;
}

QString where(const Include& inc) {
    return QStringLiteral("%1:%2 includes %3").arg(inc.file).arg(inc.line).arg(inc.target);
}

// Each finding on a line of its own: a failure message would be cut short.
bool none(const QString& what, const QStringList& findings) {
    for (const QString& line : findings)
        qWarning().noquote() << what << line;
    return findings.isEmpty();
}

} // namespace

class FolderLayersTest : public QObject {
    Q_OBJECT

    QList<Include> m_includes;

private slots:
    void initTestCase() {
        m_includes = readIncludes();
        QVERIFY2(
            m_includes.size() > 500,
            qPrintable(QStringLiteral("only %1 includes read under %2").arg(m_includes.size()).arg(kSrc)));
    }

    void everyFolderHasALayer() {
        QStringList missing;
        for (const QString& dir : QDir(kSrc).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (layerOf(dir) < 0)
                missing << dir;
        QVERIFY(none("no layer for:", missing));
    }

    void noFolderIncludesALayerAbove() {
        QStringList wrong;
        for (const Include& inc : m_includes) {
            const QString from = folderOf(inc.file), to = folderOf(inc.target);
            if (!inc.quoted || from.isEmpty() || to.isEmpty() || from == to || layerOf(to) < 0)
                continue;
            if (layerOf(from) < layerOf(to))
                wrong << where(inc);
        }
        QVERIFY(none("up a layer:", wrong));
    }

    void foldersIncludeEachOtherInOneDirection() {
        QMap<QString, QMap<QString, QStringList>> edges; // from -> to -> where
        for (const Include& inc : m_includes) {
            const QString from = folderOf(inc.file), to = folderOf(inc.target);
            if (inc.quoted && !from.isEmpty() && !to.isEmpty() && from != to && QDir(kSrc).exists(to))
                edges[from][to] << where(inc);
        }
        // A folder is in a loop when it can reach itself; report every edge between two such folders
        // that lies on a loop (its head reaches its tail).
        auto reaches = [&](const QString& start, const QString& goal) {
            QSet<QString> seen;
            QStringList todo{start};
            while (!todo.isEmpty()) {
                const QString at = todo.takeLast();
                if (at == goal)
                    return true;
                if (!seen.contains(at)) {
                    seen.insert(at);
                    todo << edges.value(at).keys();
                }
            }
            return false;
        };
        QStringList loops;
        for (auto from = edges.cbegin(); from != edges.cend(); ++from)
            for (auto to = from->cbegin(); to != from->cend(); ++to)
                if (reaches(to.key(), from.key()))
                    loops << QStringLiteral("%1 -> %2: %3").arg(from.key(), to.key(), to->join("; "));
        QVERIFY(none("on a loop of folders:", loops));
    }

    void coreIncludesNoWindowHeader() {
        const QSet<QString> core = coreFiles();
        QVERIFY(core.size() > 50);
        const QString qtWidgets = QLibraryInfo::path(QLibraryInfo::HeadersPath) + "/QtWidgets/";
        QVERIFY2(QFile::exists(qtWidgets + "QWidget"), qPrintable(qtWidgets));
        QStringList wrong;
        for (const Include& inc : m_includes) {
            if (!core.contains(inc.file))
                continue;
            const bool window =
                inc.quoted ? folderOf(inc.target) == "widgets" || !core.contains(inc.target)
                           : inc.target.startsWith("QtWidgets/") ||
                                 (inc.target.startsWith('Q') && QFile::exists(qtWidgets + inc.target));
            if (window && (!inc.quoted || QFile::exists(kSrc + '/' + inc.target)))
                wrong << where(inc);
        }
        QVERIFY(none("window header in the core:", wrong));
    }
};

QTEST_GUILESS_MAIN(FolderLayersTest)
#include "folder_layers_test.moc"
