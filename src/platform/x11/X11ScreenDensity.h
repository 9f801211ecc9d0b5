#pragma once

#include "platform/ScreenDensity.h"

namespace tovrimo {

// The primary screen's density in device pixels per inch: Xft.dpi from the root window's
// resource database when the desktop sets it, otherwise Qt's logical density times its device
// pixel ratio. Qt's logical density alone is no use on a scaled screen: at Xft.dpi 192 Qt
// reports 96 and a device pixel ratio of 2.
DotsPerInch X11ScreenDensity();

}  // namespace tovrimo
