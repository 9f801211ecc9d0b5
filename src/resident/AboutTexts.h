#pragma once

#include <string_view>

namespace tovrimo::about_texts {

inline constexpr std::string_view kCaption = "トヴリモ のバージョン情報";
inline constexpr std::string_view kName = "トヴリモ";
inline constexpr std::string_view kVersion = "ver.2.80";
inline constexpr std::string_view kNotice = "Copyright (C) トヴリモ開発チーム";
inline constexpr std::string_view kHomePage = "ホームページURL";
// Shown instead when the link leads to the user's guide installed with the program.
inline constexpr std::string_view kHelpFile = "ヘルプファイル";
inline constexpr std::string_view kOK = "OK";
inline constexpr std::string_view kConfirmCaption = "インターネットへの接続確認";
inline constexpr std::string_view kBannerText = "Tovrimo";

}  // namespace tovrimo::about_texts
