#pragma once

#include <optional>
#include <string_view>

namespace tovrimo {

// The screen's density as the desktop states it: the value of "Xft.dpi" in an X resource
// database text (what `xrdb -query` prints, the root window's RESOURCE_MANAGER). Nothing when
// the entry is missing or holds no usable density.
std::optional<double> XftDpiFromResources(std::string_view resources);

// Twips per screen pixel for a density in device pixels per inch (15 at 96 dpi, 7.5 at 192).
// Captures are in device pixels, so this is what keeps a hard copy at actual size as large as
// the picture was on the screen. An unusable density counts as 96 dpi.
double TwipsPerDevicePixel(double devicePixelsPerInch);

}  // namespace tovrimo
