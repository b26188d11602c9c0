#pragma once

// Every load and save message of the data files, in one place so the wording stays exact.
namespace msg {
inline constexpr const char* LoadFailed = "データの読み込みに失敗しました。";
inline constexpr const char* LoadFailedCost = "データの読み込みに失敗しました（cost）。";
inline constexpr const char* LoadFailedOkini = "データの読み込みに失敗しました（OkiniList）。";
inline constexpr const char* SaveFailed = "データの保存に失敗しました。";
inline constexpr const char* SaveFailedCost = "データの保存に失敗しました（cost）。";
inline constexpr const char* SaveFailedOkini = "データの保存に失敗しました（OkiniList）。";
} // namespace msg
