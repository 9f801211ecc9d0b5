#pragma once

#include "core/TextTranslation.h"

namespace tovrimo::texts {

// The desktop (or the user, in the desktop's own dialog) did not allow the screenshot.
inline constexpr const char* kScreenshotRefused =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                      "画面の取り込みが許可されませんでした。\n"
                      "デスクトップの設定で、トヴリモに画面の取り込みを許可してください。");
// No screenshot service answered; the reason follows on a line of its own.
inline constexpr const char* kScreenshotFailed = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox",
    "画面を取り込めませんでした。\n"
    "このデスクトップの画面取り込みサービス (xdg-desktop-portal) が応答しません。");

// The reason of a failed capture, on a line of its own below kScreenshotFailed.
inline constexpr const char* kScreenshotAbandoned =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "デスクトップが取り込みの要求を途中で打ち切りました");
inline constexpr const char* kScreenshotNoAnswer =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "デスクトップが時間内に応答しませんでした");

// GNOME asks once whether programs may take screenshots; said before it asks (in a box, and
// on stderr for a start from a terminal), so that the question comes as no surprise.
inline constexpr const char* kScreenshotPermissionAsked =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                      "デスクトップが、プログラムによる画面の取り込みを許可するか尋ねています"
                      " (Allow Applications to Take Screenshots?)。"
                      "トヴリモはハードコピーのたびに画面を取り込むため、この許可が必要です。"
                      "「許可」を選ぶと、次からは尋ねられません。");
// The desktop's question went unanswered, or was answered no, before any answer was stored.
inline constexpr const char* kScreenshotPermissionNotGiven = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox",
    "画面の取り込みが許可されませんでした。\n"
    "このデスクトップは、プログラムが初めて画面を取り込むときに、許可するかどうかを一度だけ尋ねます"
    " (Allow Applications to Take Screenshots?)。"
    "トヴリモはハードコピーのたびに画面を取り込むため、この許可が必要です。\n"
    "もう一度取り込むと、また尋ねられます。「許可」を選んでください。");
// An answer "no" is stored: the desktop refuses without asking.
inline constexpr const char* kScreenshotPermissionRefused = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox",
    "画面の取り込みが許可されませんでした。\n"
    "このデスクトップには、プログラムによる画面の取り込みを許可しない設定が保存されています。\n"
    "次のコマンドで許可できます:\n"
    "gdbus call --session --dest org.freedesktop.impl.portal.PermissionStore "
    "--object-path /org/freedesktop/impl/portal/PermissionStore "
    "--method org.freedesktop.impl.portal.PermissionStore.SetPermission "
    "screenshot true screenshot \"\" \"['yes']\"");

// KWin takes screenshots for a program without asking when an installed .desktop entry names
// the program's binary; this one has none. The entry's text follows.
inline constexpr const char* kKWinNotAllowed = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox",
    "KDE Plasma (KWin) は、インストールされた .desktop ファイルが実行ファイルの場所を指している"
    "プログラムにだけ、確認なしで画面の取り込みを許します。"
    "このトヴリモにはそのファイルがないため、デスクトップのポータルを使います。"
    "確認なしで取り込むには、次の内容を ~/.local/share/applications/tovrimo.desktop に保存して"
    "ください:");

}  // namespace tovrimo::texts
