#pragma once

#include <string>

namespace tovrimo::texts {

// The tray icon's tooltip while a self-timed capture waits.
inline std::string CountdownTooltip(int secondsLeft)
{
    return "あと " + std::to_string(secondsLeft) + " 秒でキャプチャします";
}

}  // namespace tovrimo::texts
