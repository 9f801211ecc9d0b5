#pragma once

#include <string>
#include <string_view>

#include "core/TextTranslation.h"
#include "platform/Translated.h"

namespace tovrimo::texts {

// The image-file dialog of the clipboard and file commands.
inline constexpr std::string_view kImageFileDialogTitle =
    QT_TRANSLATE_NOOP("tovrimo::FileDialog", "ピクチャ画像の指定");
inline constexpr std::string_view kImageFileFilter = QT_TRANSLATE_NOOP(
    "tovrimo::FileDialog", "イメージファイル(*.BMP;*.JPG;*.JPEG;*.PNG)|*.bmp;*.jpg;*.jpeg;*.png|");

inline constexpr std::string_view kImageSourceCaption =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "トヴリモ");

// A chosen file that holds no picture the program can read.
inline std::string UnreadablePictureMessage(const std::string& path)
{
    return TranslatedWith(kMessageBoxContext,
                          QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                                            "ファイル「%1」は画像として読み込めませんでした。"),
                          {path});
}

// A picture whose pixels would not fit in memory.
inline std::string PictureTooLargeMessage(const std::string& path)
{
    return TranslatedWith(kMessageBoxContext,
                          QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                                            "ファイル「%1」の画像は大きすぎるため読み込めません。"),
                          {path});
}

}  // namespace tovrimo::texts
