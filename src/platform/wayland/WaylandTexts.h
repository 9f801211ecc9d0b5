#pragma once

namespace tovrimo::texts {

// The desktop (or the user, in the desktop's own dialog) did not allow the screenshot.
inline constexpr const char* kScreenshotRefused =
    "画面の取り込みが許可されませんでした。\n"
    "デスクトップの設定で、トヴリモに画面の取り込みを許可してください。";
// No screenshot service answered; the reason follows on a line of its own.
inline constexpr const char* kScreenshotFailed =
    "画面を取り込めませんでした。\n"
    "このデスクトップの画面取り込みサービス (xdg-desktop-portal) が応答しません。";

}  // namespace tovrimo::texts
