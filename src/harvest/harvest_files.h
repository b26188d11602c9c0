#pragma once

#include <QString>

// What the harvest log and the diary add to a notebook: two files and one folder
// of the data folder, beside the files the older program knows and rewrites.
inline const QString kShukakuFileName = QStringLiteral("shukaku.xml");
inline const QString kNikkiFileName = QStringLiteral("nikki.xml");
inline const QString kPhotoFolderName = QStringLiteral("photos");

inline constexpr const char* LoadFailedShukaku = "データの読み込みに失敗しました（shukaku）。";
inline constexpr const char* SaveFailedShukaku = "データの保存に失敗しました（shukaku）。";
inline constexpr const char* LoadFailedNikki = "データの読み込みに失敗しました（nikki）。";
inline constexpr const char* SaveFailedNikki = "データの保存に失敗しました（nikki）。";
