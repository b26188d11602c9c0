#include "file_kinds.h"

#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "store/messages.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace rel {

namespace {

const QString kPageSite = QStringLiteral("file:///opt/aobaroku/site/");

// The first n characters, one fewer where the n-th would cut a pair of surrogates.
QString head(const QString& text, int n) {
    if (n < text.size() && n > 0 && text[n - 1].isHighSurrogate())
        --n;
    return text.left(n);
}

QString number(qint64 n) {
    return QString::number(n);
}

// --- crops: name, kamoku, okiniiri1, okiniiri2, joukan, kabukan1, kabukan2,
// the number of periods, st and ed of each period, then the memo lines.

Record cropRecord(const TSakumotu& c) {
    Record r{c.name,   c.kamoku,   c.okiniiri1, c.okiniiri2,
             c.joukan, c.kabukan1, c.kabukan2,  number(c.jiki.count())};
    for (int i = 0; i < c.jiki.count(); ++i)
        r << c.jiki.at(i)->st << c.jiki.at(i)->ed;
    return r + c.memo;
}

Records recordsOf(const TSakumotuList& list) {
    Records out;
    for (int i = 0; i < list.count(); ++i)
        out << cropRecord(*list.at(i));
    return out;
}

void fillCrop(TSakumotu& c, const Record& r) {
    c.name = r[0];
    c.kamoku = r[1];
    c.okiniiri1 = r[2];
    c.okiniiri2 = r[3];
    c.joukan = r[4];
    c.kabukan1 = r[5];
    c.kabukan2 = r[6];
    const int periods = r[7].toInt();
    for (int i = 0; i < periods; ++i) {
        TJiki* j = c.jiki.add();
        j->st = r[8 + 2 * i];
        j->ed = r[9 + 2 * i];
    }
    c.memo = r.mid(8 + 2 * periods);
}

Record sampleCrop(int i) {
    const QString t = mixedText(i);
    Record r{QStringLiteral("作物%1").arg(i) + head(t, 3),
             QStringLiteral("ナス科ナス属"),
             t,
             i % 3 ? mixedText(i + 7) : QString(),
             number(i % 90),
             number(30 + i % 20),
             i % 2 ? QString() : "15"};
    const int periods = i % 4;
    r << number(periods);
    for (int p = 0; p < periods; ++p)
        r << QStringLiteral("%1月下旬").arg(1 + (i + p) % 12)
          << (p % 2 ? QString() : QStringLiteral("5月上旬"));
    for (int l = 0; l < i % 3; ++l)
        r << mixedText(i * 3 + l);
    if (i % 5 == 4)
        r << QString() << QStringLiteral("最後の行");
    return r;
}

Records fillCropText(const Records& records, const QString& text) {
    Records out;
    for (const Record& r : records) {
        Record f = r;
        for (int k = 0; k < f.size(); ++k)
            if (k != 7)
                f[k] = text;
        out << f;
    }
    return out;
}

// --- plans: record 0 is the plan (name and the four colours); then one record
// per group: name, order, and seven texts per entry.

const Record kDefaultPlanHeader{QString(), "0", "0", "0", "16777215"};

Record planHeader(const TGroupList& plan) {
    return {plan.name, number(plan.YajirusiColor), number(plan.MojiColor), number(plan.SenColor),
            number(plan.HaikeiColor)};
}

Record groupRecord(const TGroup& g) {
    Record r{g.name, number(g.order)};
    for (int i = 0; i < g.count(); ++i) {
        const TSakumotu2& e = *g.at(i);
        r << e.name << e.StTuki << e.StShuu << e.EdTuki << e.EdShuu << number(e.ichi) << number(e.down);
    }
    return r;
}

// A plan that holds nothing, not even a name, shows no records; nor does one that
// broke before its name was read.
Records recordsOf(const TGroupList& plan) {
    Records out;
    const Record header = planHeader(plan);
    if (plan.count() == 0 && header == kDefaultPlanHeader)
        return out;
    out << header;
    for (int i = 0; i < plan.count(); ++i)
        out << groupRecord(*plan.at(i));
    return out;
}

void fillGroup(TGroup& g, const Record& r) {
    g.name = r[0];
    g.order = r[1].toInt();
    for (int k = 2; k + 7 <= r.size(); k += 7) {
        TSakumotu2* e = g.add();
        e->name = r[k];
        e->StTuki = r[k + 1];
        e->StShuu = r[k + 2];
        e->EdTuki = r[k + 3];
        e->EdShuu = r[k + 4];
        e->ichi = r[k + 5].toInt();
        e->down = r[k + 6].toInt();
    }
}

Record samplePlanRecord(int i) {
    if (i == 0)
        return {QStringLiteral("春の畑①"), "255", "65280", "16711680", "15792383"};
    // Orders and rows rise, so that the sorting after a load keeps this order.
    Record r{QStringLiteral("畝%1 ").arg(i) + head(mixedText(i), 6), number(i * 10)};
    for (int e = 0; e < 1 + i % 3; ++e) {
        const bool dummy = (i + e) % 7 == 6;
        r << (dummy ? kDummyCropName : QStringLiteral("ナス") + head(mixedText(i + e), 4))
          << (dummy ? QString() : number(1 + (i + e) % 12)) << (dummy ? QString() : number(1 + e % 5))
          << (dummy ? QString() : number(1 + (i + 2 * e) % 12)) << (dummy ? QString() : number(1 + i % 5))
          << number(e + 1) << number((i % 3 - 1) * 5);
    }
    return r;
}

Records fillPlanText(const Records& records, const QString& text) {
    Records out;
    for (int i = 0; i < records.size(); ++i) {
        Record f = records[i];
        if (i == 0) {
            f[0] = text;
        } else {
            f[0] = text;
            for (int k = 2; k + 7 <= f.size(); k += 7)
                for (int t = 0; t < 5; ++t)
                    f[k + t] = text;
        }
        out << f;
    }
    return out;
}

// --- tasks: name, state, tuki, shuu, then the note lines.

Records recordsOf(const TYoteiList& list) {
    Records out;
    for (int i = 0; i < list.count(); ++i) {
        const TYotei& t = *list.at(i);
        out << (Record{t.name, t.state, t.tuki, t.shuu} + t.note);
    }
    return out;
}

Record sampleTask(int i) {
    Record r{QStringLiteral("種まき") + head(mixedText(i), 5), i % 4 == 1 ? kYoteiDone : QString(),
             number(1 + i % 12), number(1 + i % 5)};
    for (int l = 0; l < i % 3; ++l)
        r << mixedText(2 * i + l);
    return r;
}

Records fillTaskText(const Records& records, const QString& text) {
    Records out;
    for (const Record& r : records) {
        Record f = r;
        for (int k = 0; k < f.size(); ++k)
            if (k != 1)
                f[k] = text;
        out << f;
    }
    return out;
}

// --- purchases: nen, tuki, hi, then name and kingaku of each line.

Records recordsOf(const TCostList& list) {
    Records out;
    for (int i = 0; i < list.count(); ++i) {
        const TCost& c = *list.at(i);
        Record r{c.nen, c.tuki, c.hi};
        for (int l = 0; l < c.sina.count(); ++l)
            r << c.sina.at(l)->name << c.sina.at(l)->kingaku;
        out << r;
    }
    return out;
}

Record sampleCost(int i) {
    Record r{number(2010 + i / 40), number(1 + i / 3 % 12), number(1 + i % 28)};
    for (int l = 0; l < i % 4; ++l)
        r << QStringLiteral("苗") + head(mixedText(i + l), 8) << QStringLiteral("0%1").arg(100 * (i + l));
    return r;
}

Records fillAllText(const Records& records, const QString& text) {
    Records out;
    for (const Record& r : records)
        out << Record(r.size(), text);
    return out;
}

// --- favourites: name, url, memo.

Record sampleOkini(int i) {
    return {QStringLiteral("野菜の会%1").arg(i) + head(mixedText(i), 4),
            QStringLiteral("https://example.jp/%1?a=1&b=<2>").arg(i), i % 3 ? mixedText(i + 5) : QString()};
}

Records recordsOf(const TOkiniList& list) {
    Records out;
    for (int i = 0; i < list.count(); ++i)
        out << Record{list.at(i)->name, list.at(i)->url, list.at(i)->memo};
    return out;
}

Records sampleOf(Record (*one)(int), int n) {
    Records out;
    for (int i = 0; i < n; ++i)
        out << one(i);
    return out;
}

TOkiniList okiniList(const Records& records) {
    TOkiniList list;
    for (const Record& r : records) {
        TOkini* o = list.add();
        o->name = r[0];
        o->url = r[1];
        o->memo = r[2];
    }
    return list;
}

QList<Kind> buildKinds() {
    const QString loadFailed = QString::fromUtf8(msg::LoadFailed);
    const QString saveFailed = QString::fromUtf8(msg::SaveFailed);
    QList<Kind> all;

    Kind crops;
    crops.id = "crops";
    crops.fileName = kCropFileName;
    crops.loadMessage = loadFailed;
    crops.saveMessage = saveFailed;
    crops.recordPath = "/data/sakumotu";
    crops.required = {{"@name"},    {"@kamoku"},  {"okiniiri1"}, {"okiniiri2"}, {"joukan"},
                      {"kabukan1"}, {"kabukan2"}, {"memo"},      {"jiki/@st"},  {"jiki/@ed"}};
    crops.load = [](const QString& folder, Records& out, store::MessageSink& sink) {
        TSakumotuList list;
        const bool ok = list.LoadFromFile(folder, sink);
        out = recordsOf(list);
        return ok;
    };
    crops.save = [](const QString& folder, const Records& records, store::MessageSink& sink, Records* after) {
        TSakumotuList list;
        for (const Record& r : records)
            fillCrop(*list.add(), r);
        const bool ok = list.SaveToFile(folder, sink);
        if (after)
            *after = recordsOf(list);
        return ok;
    };
    crops.sample = [](int n) { return sampleOf(sampleCrop, n); };
    crops.fillText = fillCropText;
    all << crops;

    Kind plans;
    plans.id = "plans";
    plans.fileName = QStringLiteral("sakutuke3.xml");
    plans.loadMessage = loadFailed;
    plans.saveMessage = saveFailed;
    plans.recordPath = "/data/sakutuke/group";
    plans.required = {{"@name"},
                      {"@order"},
                      {"sakumotu/@name"},
                      {"sakumotu/@StTuki"},
                      {"sakumotu/@StShuu"},
                      {"sakumotu/@EdTuki"},
                      {"sakumotu/@EdShuu"},
                      {"sakumotu/@ichi"},
                      {"sakumotu/@down"}};
    plans.headerRecords = 1;
    plans.load = [file = plans.fileName](const QString& folder, Records& out, store::MessageSink& sink) {
        TGroupList plan;
        const bool ok = plan.LoadFromFile(folder, file, sink);
        out = recordsOf(plan);
        return ok;
    };
    plans.save = [file = plans.fileName](const QString& folder, const Records& records,
                                         store::MessageSink& sink, Records* after) {
        TGroupList plan;
        const Record header = records.isEmpty() ? kDefaultPlanHeader : records.first();
        plan.YajirusiColor = header[1].toInt();
        plan.MojiColor = header[2].toInt();
        plan.SenColor = header[3].toInt();
        plan.HaikeiColor = header[4].toInt();
        plan.name = header[0];
        for (int i = 1; i < records.size(); ++i)
            fillGroup(*plan.add(), records[i]);
        const bool ok = plan.SaveToFile(folder, header[0], file, sink);
        if (after)
            *after = recordsOf(plan);
        return ok;
    };
    plans.sample = [](int n) { return sampleOf(samplePlanRecord, n); };
    plans.fillText = fillPlanText;
    all << plans;

    Kind tasks;
    tasks.id = "tasks";
    tasks.fileName = kYoteiFileName;
    tasks.loadMessage = loadFailed;
    tasks.saveMessage = saveFailed;
    tasks.recordPath = "/data/yotei";
    tasks.required = {{"@name"}, {"@state"}, {"@tuki"}, {"@shuu"}};
    tasks.load = [](const QString& folder, Records& out, store::MessageSink& sink) {
        TYoteiList list;
        const bool ok = list.LoadFromFile(folder, sink);
        out = recordsOf(list);
        return ok;
    };
    tasks.save = [](const QString& folder, const Records& records, store::MessageSink& sink, Records* after) {
        TYoteiList list;
        for (const Record& r : records) {
            TYotei* t = list.add();
            t->name = r[0];
            t->state = r[1];
            t->tuki = r[2];
            t->shuu = r[3];
            t->note = r.mid(4);
        }
        const bool ok = list.SaveToFile(folder, sink);
        if (after)
            *after = recordsOf(list);
        return ok;
    };
    tasks.sample = [](int n) { return sampleOf(sampleTask, n); };
    tasks.fillText = fillTaskText;
    all << tasks;

    Kind purchases;
    purchases.id = "purchases";
    purchases.fileName = kCostFileName;
    purchases.loadMessage = QString::fromUtf8(msg::LoadFailedCost);
    purchases.saveMessage = QString::fromUtf8(msg::SaveFailedCost);
    purchases.recordPath = "/data/cost";
    purchases.required = {{"@nen"}, {"@tuki"}, {"@hi"}, {"sina/name"}, {"sina/kingaku"}};
    purchases.load = [](const QString& folder, Records& out, store::MessageSink& sink) {
        TCostList list;
        const bool ok = list.LoadFromFile(folder, sink);
        out = recordsOf(list);
        return ok;
    };
    purchases.save = [](const QString& folder, const Records& records, store::MessageSink& sink,
                        Records* after) {
        TCostList list;
        for (const Record& r : records) {
            TCost* c = list.add();
            c->nen = r[0];
            c->tuki = r[1];
            c->hi = r[2];
            for (int k = 3; k + 2 <= r.size(); k += 2) {
                TSina* line = c->sina.add();
                line->name = r[k];
                line->kingaku = r[k + 1];
            }
        }
        const bool ok = list.SaveToFile(folder, sink);
        if (after)
            *after = recordsOf(list);
        return ok;
    };
    purchases.sample = [](int n) { return sampleOf(sampleCost, n); };
    purchases.fillText = fillAllText;
    all << purchases;

    Kind favourites;
    favourites.id = "favourites";
    favourites.fileName = kOkiniFileName;
    favourites.loadMessage = QString::fromUtf8(msg::LoadFailedOkini);
    favourites.saveMessage = QString::fromUtf8(msg::SaveFailedOkini);
    favourites.recordPath = "/data/okini";
    favourites.required = {{"name"}, {"url"}, {"memo"}};
    favourites.load = [](const QString& folder, Records& out, store::MessageSink& sink) {
        TOkiniList list;
        const bool ok = list.LoadFromFile(folder, sink);
        out = recordsOf(list);
        return ok;
    };
    favourites.save = [](const QString& folder, const Records& records, store::MessageSink& sink,
                         Records* after) {
        const TOkiniList list = okiniList(records);
        const bool ok = list.SaveToFile(folder, sink);
        if (after)
            *after = recordsOf(list);
        return ok;
    };
    favourites.sample = [](int n) { return sampleOf(sampleOkini, n); };
    favourites.fillText = fillAllText;
    all << favourites;

    Kind page = favourites;
    page.id = "page";
    page.fileName = kOkiniPageName;
    page.loadMessage.clear();
    page.recordPath = "";
    page.required.clear();
    page.load = nullptr;
    page.save = [](const QString& folder, const Records& records, store::MessageSink& sink, Records* after) {
        const TOkiniList list = okiniList(records);
        const bool ok = list.WritePage(folder, kPageSite, sink);
        if (after)
            *after = recordsOf(list);
        return ok;
    };
    all << page;
    return all;
}

} // namespace

const QList<Kind>& kinds() {
    static const QList<Kind> all = buildKinds();
    return all;
}

const Kind& kind(const QString& id) {
    for (const Kind& k : kinds())
        if (k.id == id)
            return k;
    qFatal("no file kind %s", qPrintable(id));
}

QList<Kind> readableKinds() {
    QList<Kind> out;
    for (const Kind& k : kinds())
        if (k.readable())
            out << k;
    return out;
}

QString folderOf(const QString& dir) {
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir base(dir);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        files.insert(base.relativeFilePath(path), info.isDir() ? QByteArray("<dir>") : readBytes(path));
    }
    return files;
}

QString mixedText(int n) {
    // 表, ソ and 能 end in the byte of a backslash; ～ ① ㈱ － are Windows' own forms.
    static const QStringList pieces{
        QStringLiteral("トマト"),       QStringLiteral("桃太郎"),   QStringLiteral("3月下旬～5月上旬"),
        QStringLiteral("①②⑳"),          QStringLiteral("㈱"),       QStringLiteral("－"),
        QStringLiteral("ｶﾌﾞ ﾀﾞｲｺﾝ"),    QStringLiteral("A&B"),      QStringLiteral("<tag attr=\"x\">"),
        QStringLiteral("'apos'"),       QStringLiteral("café"),     QStringLiteral("🍅"),
        QStringLiteral(" spaced "),     QStringLiteral("表示ソ能"), QStringLiteral("&amp;&#38;"),
        QStringLiteral("]]>"),          QStringLiteral("株間45cm"), QStringLiteral("\\~|"),
        QStringLiteral("追肥－１回目"), QStringLiteral("ﾄﾏﾄ"),
    };
    QString text;
    for (int k = 0; k < 3; ++k)
        text += pieces[(n * 7 + k * 3 + k * n) % pieces.size()];
    return text;
}

} // namespace rel
