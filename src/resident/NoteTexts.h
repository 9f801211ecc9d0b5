#pragma once

#include <string>
#include <string_view>

namespace tovrimo::texts {

inline constexpr std::string_view kNoteCaption = "トヴリモ";

// The note's menu.
inline constexpr std::string_view kNoteMenuTitle = "付せんメニュー";
inline constexpr std::string_view kNotePrint = "ハードコピー";
inline constexpr std::string_view kNoteCopy = "コピー";
inline constexpr std::string_view kNoteSave = "名前を付けて保存";
inline constexpr std::string_view kNoteOnTop = "常に手前に表示する";
inline constexpr std::string_view kNoteOnTopUnavailable =
    "このデスクトップ (Wayland) では、付せんを常に手前に表示することはできません。";
inline constexpr std::string_view kNotePeel = "はがす";
inline constexpr std::string_view kNoteOpacity = "不透明度";
// The opacities the note's menu offers, in percent, as its items read ("80 %").
inline constexpr int kNoteOpacitySteps[] = {100, 80, 60, 40};
inline std::string NoteOpacityItem(int percent)
{
    return std::to_string(percent) + " %";
}

// The save dialog of a note.
inline constexpr std::string_view kNoteSaveDialogTitle = "ピクチャ画像の保存";
inline constexpr std::string_view kNoteSaveFilter =
    "ビットマップファイル(*.BMP)|*.bmp|PNGファイル(*.png)|*.png|";

// Shown when a note is asked for while the table is full.
inline std::string NoteLimitMessage(int limit)
{
    return "付せんの数が上限(" + std::to_string(limit) +
           "枚)を超えているので新たに生成できません。";
}

// The picture could not be written under the chosen name.
inline std::string NoteSaveFailedMessage(const std::string& path)
{
    return "ファイル「" + path + "」に保存できませんでした。";
}

}  // namespace tovrimo::texts
