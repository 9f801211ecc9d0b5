#pragma once

#include <string>

#include "core/TextTranslation.h"
#include "platform/Translated.h"

namespace tovrimo::texts {

// The tray icon's tooltip while a self-timed capture waits.
inline std::string CountdownTooltip(int secondsLeft)
{
    return TranslatedWith(
        "tovrimo::TrayController",
        QT_TRANSLATE_NOOP("tovrimo::TrayController", "あと %1 秒でキャプチャします"),
        {std::to_string(secondsLeft)});
}

}  // namespace tovrimo::texts
