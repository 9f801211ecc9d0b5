#pragma once

#include <string_view>

#include "core/TextTranslation.h"

namespace tovrimo::about_texts {

inline constexpr const char* kContext = "tovrimo::AboutDialog";

inline constexpr std::string_view kCaption =
    QT_TRANSLATE_NOOP("tovrimo::AboutDialog", "トヴリモ のバージョン情報");
inline constexpr std::string_view kName = QT_TRANSLATE_NOOP("tovrimo::AboutDialog", "トヴリモ");
inline constexpr std::string_view kVersion = "ver.2.80";
inline constexpr std::string_view kNotice =
    QT_TRANSLATE_NOOP("tovrimo::AboutDialog", "Copyright (C) トヴリモ開発チーム");
inline constexpr std::string_view kHomePage =
    QT_TRANSLATE_NOOP("tovrimo::AboutDialog", "ホームページURL");
// Shown instead when the link leads to the user's guide installed with the program.
inline constexpr std::string_view kHelpFile =
    QT_TRANSLATE_NOOP("tovrimo::AboutDialog", "ヘルプファイル");
inline constexpr std::string_view kOK = QT_TRANSLATE_NOOP("tovrimo::AboutDialog", "OK");
inline constexpr std::string_view kConfirmCaption =
    QT_TRANSLATE_NOOP("tovrimo::AboutDialog", "インターネットへの接続確認");
inline constexpr std::string_view kBannerText = "Tovrimo";

}  // namespace tovrimo::about_texts
