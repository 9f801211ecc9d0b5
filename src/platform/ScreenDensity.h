#pragma once

#include <optional>
#include <string_view>

namespace tovrimo {

struct DotsPerInch {
    double x = 96.0;
    double y = 96.0;
};

// The primary screen's density in device pixels per inch as Qt sees it: its logical density
// times its device pixel ratio. On Wayland the ratio is the output's scale; on X11 Qt keeps a
// logical 96 at Xft.dpi 192 and puts the rest into the ratio.
DotsPerInch QtScreenDensity();
// The primary screen's device pixels per logical pixel (1 without a screen): on Wayland the
// output's scale, which turns the compositor's layout coordinates into capture pixels.
double PrimaryDevicePixelRatio();

// The screen's density as the desktop states it: the value of "Xft.dpi" in an X resource
// database text (what `xrdb -query` prints, the root window's RESOURCE_MANAGER). Nothing when
// the entry is missing or holds no usable density.
std::optional<double> XftDpiFromResources(std::string_view resources);

// Twips per screen pixel for a density in device pixels per inch (15 at 96 dpi, 7.5 at 192).
// Captures are in device pixels, so this is what keeps a hard copy at actual size as large as
// the picture was on the screen. An unusable density counts as 96 dpi.
double TwipsPerDevicePixel(double devicePixelsPerInch);

}  // namespace tovrimo
