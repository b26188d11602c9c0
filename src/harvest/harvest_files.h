#pragma once

#include "store/notebook_files.h"

// The harvest log's and the diary's files are named with the notebook's others.

inline constexpr const char* LoadFailedShukaku = "データの読み込みに失敗しました（shukaku）。";
inline constexpr const char* SaveFailedShukaku = "データの保存に失敗しました（shukaku）。";
inline constexpr const char* LoadFailedNikki = "データの読み込みに失敗しました（nikki）。";
inline constexpr const char* SaveFailedNikki = "データの保存に失敗しました（nikki）。";
