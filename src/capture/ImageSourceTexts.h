#pragma once

#include <string>
#include <string_view>

namespace tovrimo::texts {

// The image-file dialog of the clipboard and file commands.
inline constexpr std::string_view kImageFileDialogTitle = "ピクチャ画像の指定";
inline constexpr std::string_view kImageFileFilter =
    "イメージファイル(*.BMP;*.JPG;*.JPEG;*.PNG)|*.bmp;*.jpg;*.jpeg;*.png|";

inline constexpr std::string_view kImageSourceCaption = "トヴリモ";

// A chosen file that holds no picture the program can read.
inline std::string UnreadablePictureMessage(const std::string& path)
{
    return "ファイル「" + path + "」は画像として読み込めませんでした。";
}

// A picture whose pixels would not fit in memory.
inline std::string PictureTooLargeMessage(const std::string& path)
{
    return "ファイル「" + path + "」の画像は大きすぎるため読み込めません。";
}

}  // namespace tovrimo::texts
