#pragma once

#include <string_view>

namespace tovrimo {

// The only item of the menu the right button opens on the region-selection screen.
inline constexpr std::string_view kRegionCancelItem = "キャンセル";

}  // namespace tovrimo
