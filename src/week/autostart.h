#pragma once

#include <QByteArray>
#include <QString>

// 「ログイン時に今週の作業を知らせる」: a desktop entry in the user's autostart
// folder that runs `aobaroku --remind` for the notebook at every login.

// $XDG_CONFIG_HOME/autostart/<id>-remind.desktop, by default under ~/.config.
QString RemindEntryPath();

// The entry for the program at programPath and the data folder.
QByteArray RemindEntry(const QString& programPath, const QString& dataFolder);

bool RemindEntryWritten();
// Writes or removes the entry; empty on success, otherwise what to tell the user.
QString SetRemindAtLogin(bool remind, const QString& programPath, const QString& dataFolder);
