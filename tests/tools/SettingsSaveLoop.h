#pragma once

#include <string>

#include "core/Settings.h"

namespace tovrimo::test {

// The two sets of settings the save-loop helper writes in turn. They differ in every section
// and in the number of named settings, so a file mixing them (or cut short) never loads as
// either of them.
inline SettingsData SaveLoopGeneration(int generation)
{
    SettingsData d;
    Settings& s = d.settings;
    const bool second = generation % 2 != 0;
    s.title = second ? "トヴリモ（二）" : "トヴリモ（一）";
    s.selfTimerSeconds = second ? 17 : 5;
    s.doubleClickDestination = second ? CaptureDestination::Clipboard : CaptureDestination::Printer;
    s.doubleClickSource = second ? CaptureSource::Region : CaptureSource::Desktop;
    s.confirmBeforePrint = !second;
    s.namedSettingCount = second ? 101 : 40;
    s.lastNamedSetting = second ? 100 : -1;
    s.captureCursor = second;
    for (int k = 0; k < kHotKeySlots; ++k) {
        s.hotKeyOn[k] = second;
        s.hotKeyCode[k] = static_cast<int16_t>(second ? 65 + k : 112 + k);
    }
    auto layout = [&](int n) {
        PrintLayout l;
        l.name = n < 0 ? std::string() : (second ? "設定B" : "設定A") + std::to_string(n);
        l.printerName = second ? "TovLetter" : "TovA4";
        l.position = second ? PagePosition::Manual : PagePosition::Centre;
        l.scaleMode = second ? ScaleMode::Percent : ScaleMode::ActualSize;
        l.scalePercent = static_cast<int16_t>(second ? 150 : 100);
        l.keepAspectRatio = true;
        l.paperSize = static_cast<int16_t>(second ? 1 : 9);
        l.orientation = second ? PageOrientation::Landscape : PageOrientation::Portrait;
        l.leftCm = second ? 1.25 : 0;
        l.topCm = second ? -.5 : 0;
        l.fontName = second ? "IPAGothic" : "ＭＳ Ｐゴシック";
        l.fontPoints = second ? 14 : 10;
        l.bold = second;
        l.titleText = std::string(second ? "印刷日：&[日付] " : "&[タイトル] ") +
                      std::string(200, second ? 'b' : 'a');
        l.titleAlignment = second ? TitleAlignment::ImageRight : TitleAlignment::ImageLeft;
        return l;
    };
    d.current = layout(-1);
    for (int n = 0; n < s.namedSettingCount; ++n) d.named[static_cast<size_t>(n)] = layout(n);
    return d;
}

}  // namespace tovrimo::test
