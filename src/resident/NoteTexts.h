#pragma once

#include <string>
#include <string_view>

#include "core/TextTranslation.h"
#include "platform/Translated.h"

namespace tovrimo::texts {

inline constexpr const char* kNoteContext = "tovrimo::StickyNoteWindow";

inline constexpr std::string_view kNoteCaption =
    QT_TRANSLATE_NOOP("tovrimo::StickyNoteWindow", "トヴリモ");

// The note's menu.
inline constexpr std::string_view kNoteMenuTitle =
    QT_TRANSLATE_NOOP("tovrimo::StickyNoteWindow", "付せんメニュー");
inline constexpr std::string_view kNotePrint =
    QT_TRANSLATE_NOOP("tovrimo::StickyNoteWindow", "ハードコピー");
inline constexpr std::string_view kNoteCopy =
    QT_TRANSLATE_NOOP("tovrimo::StickyNoteWindow", "コピー");
inline constexpr std::string_view kNoteSave =
    QT_TRANSLATE_NOOP("tovrimo::StickyNoteWindow", "名前を付けて保存");
inline constexpr std::string_view kNoteOnTop =
    QT_TRANSLATE_NOOP("tovrimo::StickyNoteWindow", "常に手前に表示する");
inline constexpr std::string_view kNoteOnTopUnavailable = QT_TRANSLATE_NOOP(
    "tovrimo::StickyNoteWindow",
    "このデスクトップ (Wayland) では、付せんを常に手前に表示することはできません。");
inline constexpr std::string_view kNotePeel =
    QT_TRANSLATE_NOOP("tovrimo::StickyNoteWindow", "はがす");
inline constexpr std::string_view kNoteOpacity =
    QT_TRANSLATE_NOOP("tovrimo::StickyNoteWindow", "不透明度");
// The opacities the note's menu offers, in percent, as its items read ("80 %").
inline constexpr int kNoteOpacitySteps[] = {100, 80, 60, 40};
inline std::string NoteOpacityItem(int percent)
{
    return std::to_string(percent) + " %";
}

// The save dialog of a note.
inline constexpr std::string_view kNoteSaveDialogTitle =
    QT_TRANSLATE_NOOP("tovrimo::FileDialog", "ピクチャ画像の保存");
inline constexpr std::string_view kNoteSaveFilter = QT_TRANSLATE_NOOP(
    "tovrimo::FileDialog", "ビットマップファイル(*.BMP)|*.bmp|PNGファイル(*.png)|*.png|");

// Shown when a note is asked for while the table is full.
inline std::string NoteLimitMessage(int limit)
{
    return TranslatedWith(
        kMessageBoxContext,
        QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                          "付せんの数が上限(%1枚)を超えているので新たに生成できません。"),
        {std::to_string(limit)});
}

// The picture could not be written under the chosen name.
inline std::string NoteSaveFailedMessage(const std::string& path)
{
    return TranslatedWith(
        kMessageBoxContext,
        QT_TRANSLATE_NOOP("tovrimo::MessageBox", "ファイル「%1」に保存できませんでした。"), {path});
}

}  // namespace tovrimo::texts
