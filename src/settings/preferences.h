#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <QVariantMap>
#include <memory>

class QSettings;

namespace settings {

// The caption saved pictures carry in their footer until the user sets another.
inline const QString kDefaultImageCaption = QStringLiteral("青葉録");
// A caption is one line of at most this many characters.
inline constexpr int kCaptionLength = 100;

// How the main window was left: its place, whether it filled the screen, and
// the tab and plan it showed. Empty (an invalid rect, -1) where nothing is kept.
struct WindowState {
    QRect geometry;
    bool maximized = false;
    int tab = -1;
    int plan = -1;
};

// How a list was left: the widths of the columns after the check column, and
// the column its rows were last sorted by (0: none).
struct ListState {
    QList<int> widths;
    int sortColumn = 0;
};

// The user's own preferences, the same for every notebook they open: how the
// window was left, where each save dialog was last used, and the caption of
// saved pictures. They live in the user's configuration folder, never in the
// data folder, whose files the Windows copy rewrites whole. The file may be
// edited by hand: a value that does not read as what it should be counts as
// not kept, never as a fault.
class Preferences {
public:
    // $XDG_CONFIG_HOME/aobaroku/aobaroku.conf, by default under ~/.config.
    static QString userFile();

    // Kept in the file and read from it; an empty path keeps them in memory
    // for the life of the object only.
    explicit Preferences(const QString& file = QString());
    Preferences(Preferences&&) noexcept;
    Preferences& operator=(Preferences&&) noexcept;
    ~Preferences();

    QString file() const { return m_file; }

    // The footer of saved charts and cards; empty draws none.
    QString imageCaption() const;
    void setImageCaption(const QString& caption);

    WindowState window() const;
    void setWindow(const WindowState& state);

    ListState list(const QString& name) const;
    void setList(const QString& name, const ListState& state);

    // The folder a save dialog was last confirmed in; empty when none.
    QString lastFolder(const QString& dialog) const;
    void setLastFolder(const QString& dialog, const QString& folder);

    // The calendar file kept current with the schedule; empty when none is.
    QString liveCalendarFile() const;
    void setLiveCalendarFile(const QString& path);
    // Whether its events remind on their first morning.
    bool liveCalendarAlarms() const;
    void setLiveCalendarAlarms(bool alarms);

    // Writes what changed to the file now rather than when the object goes.
    void sync();

private:
    QVariant value(const QString& key) const;
    void setValue(const QString& key, const QVariant& value);
    int number(const QString& key, int fallback) const;

    QString m_file;
    std::unique_ptr<QSettings> m_settings; // null when kept in memory
    QVariantMap m_memory;
};

// A caption as it may be drawn: one line, no longer than kCaptionLength.
QString cleanCaption(const QString& text);

} // namespace settings
