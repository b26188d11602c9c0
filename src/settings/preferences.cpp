#include "settings/preferences.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace settings {

namespace {

const QString kCaptionKey = QStringLiteral("images/caption");
const QString kWindowGroup = QStringLiteral("window/");
const QString kListGroup = QStringLiteral("lists/");
const QString kSaveGroup = QStringLiteral("saveFolders/");
const QString kLiveCalendarKey = QStringLiteral("liveCalendar/file");
const QString kLiveAlarmsKey = QStringLiteral("liveCalendar/alarms");

// Far beyond any screen: a larger number in the file is a damaged one.
constexpr int kLargest = 100000;

QString listKey(const QString& name, const char* field) {
    return kListGroup + name + QLatin1Char('/') + QLatin1String(field);
}

QString joined(const QList<int>& numbers) {
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QLatin1Char(','));
}

// All or nothing: one width that is not a width spoils the line.
QList<int> widthsOf(const QString& text) {
    QList<int> widths;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int width = part.trimmed().toInt(&ok);
        if (!ok || width <= 0 || width > kLargest)
            return {};
        widths << width;
    }
    return widths;
}

} // namespace

QString Preferences::userFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/aobaroku/aobaroku.conf");
}

Preferences::Preferences(const QString& file) : m_file(file) {
    if (!file.isEmpty())
        m_settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

Preferences::Preferences(Preferences&&) noexcept = default;
Preferences& Preferences::operator=(Preferences&&) noexcept = default;
Preferences::~Preferences() = default;

QVariant Preferences::value(const QString& key) const {
    return m_settings ? m_settings->value(key) : m_memory.value(key);
}

void Preferences::setValue(const QString& key, const QVariant& value) {
    if (m_settings)
        m_settings->setValue(key, value);
    else
        m_memory.insert(key, value);
}

int Preferences::number(const QString& key, int fallback) const {
    bool ok = false;
    const int n = value(key).toInt(&ok);
    return ok && n >= -kLargest && n <= kLargest ? n : fallback;
}

QString Preferences::liveCalendarFile() const {
    return value(kLiveCalendarKey).toString();
}

void Preferences::setLiveCalendarFile(const QString& path) {
    setValue(kLiveCalendarKey, path);
}

bool Preferences::liveCalendarAlarms() const {
    return number(kLiveAlarmsKey, 0) == 1;
}

void Preferences::setLiveCalendarAlarms(bool alarms) {
    setValue(kLiveAlarmsKey, alarms ? 1 : 0);
}

void Preferences::sync() {
    if (m_settings)
        m_settings->sync();
}

QString Preferences::imageCaption() const {
    const QVariant kept = value(kCaptionKey);
    // An empty caption is a choice of its own: no footer.
    return kept.isValid() ? cleanCaption(kept.toString()) : kDefaultImageCaption;
}

void Preferences::setImageCaption(const QString& caption) {
    setValue(kCaptionKey, cleanCaption(caption));
}

WindowState Preferences::window() const {
    WindowState state;
    const int width = number(kWindowGroup + QStringLiteral("width"), 0);
    const int height = number(kWindowGroup + QStringLiteral("height"), 0);
    if (width > 0 && height > 0)
        state.geometry = QRect(number(kWindowGroup + QStringLiteral("x"), 0),
                               number(kWindowGroup + QStringLiteral("y"), 0), width, height);
    state.maximized = value(kWindowGroup + QStringLiteral("maximized")).toString() == QStringLiteral("true");
    state.tab = number(kWindowGroup + QStringLiteral("tab"), -1);
    state.plan = number(kWindowGroup + QStringLiteral("plan"), -1);
    return state;
}

void Preferences::setWindow(const WindowState& state) {
    setValue(kWindowGroup + QStringLiteral("x"), state.geometry.x());
    setValue(kWindowGroup + QStringLiteral("y"), state.geometry.y());
    setValue(kWindowGroup + QStringLiteral("width"), state.geometry.width());
    setValue(kWindowGroup + QStringLiteral("height"), state.geometry.height());
    setValue(kWindowGroup + QStringLiteral("maximized"),
             state.maximized ? QStringLiteral("true") : QStringLiteral("false"));
    setValue(kWindowGroup + QStringLiteral("tab"), state.tab);
    setValue(kWindowGroup + QStringLiteral("plan"), state.plan);
}

ListState Preferences::list(const QString& name) const {
    return {widthsOf(value(listKey(name, "widths")).toString()), number(listKey(name, "sort"), 0)};
}

void Preferences::setList(const QString& name, const ListState& state) {
    setValue(listKey(name, "widths"), joined(state.widths));
    setValue(listKey(name, "sort"), state.sortColumn);
}

QString Preferences::lastFolder(const QString& dialog) const {
    const QString folder = value(kSaveGroup + dialog).toString();
    return QDir::isAbsolutePath(folder) ? QDir::cleanPath(folder) : QString();
}

void Preferences::setLastFolder(const QString& dialog, const QString& folder) {
    setValue(kSaveGroup + dialog, folder);
}

QString cleanCaption(const QString& text) {
    QString line = text;
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    line = line.trimmed().left(kCaptionLength);
    // A character beyond the basic plane is never cut in half.
    if (!line.isEmpty() && line.back().isHighSurrogate())
        line.chop(1);
    return line;
}

} // namespace settings
