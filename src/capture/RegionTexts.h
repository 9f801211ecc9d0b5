#pragma once

#include <string_view>

#include "core/TextTranslation.h"

namespace tovrimo {

// The only item of the menu the right button opens on the region-selection screen.
inline constexpr std::string_view kRegionCancelItem =
    QT_TRANSLATE_NOOP("tovrimo::RegionSelector", "キャンセル");

}  // namespace tovrimo
