#pragma once

#include <QImage>
#include <cstdint>
#include <string>

namespace tovrimo {

// The most memory one picture may take once decoded (32 bits a pixel).
inline constexpr int64_t kMaxPictureBytes = int64_t{256} * 1024 * 1024;
// The longest side a picture may have; longer ones cannot be drawn or printed.
inline constexpr int kMaxPictureSide = 32767;

struct LoadedPicture {
    enum class Error { None, Unreadable, TooLarge };
    QImage image;
    Error error = Error::None;
};

// Reads a BMP, JPEG or other picture file, judging its kind by its content. The size in its
// header is checked before anything is decoded, so that a huge picture is refused without
// trying to allocate it.
LoadedPicture LoadPictureFile(const std::string& path, int64_t maxBytes = kMaxPictureBytes);

// Whether a picture of that size may be decoded.
bool PictureSizeAllowed(int width, int height, int64_t maxBytes = kMaxPictureBytes);

}  // namespace tovrimo
