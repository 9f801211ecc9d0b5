#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tovrimo {

constexpr int kHotKeySlots = 10;
// Size of the named-print-settings table.
constexpr int kNamedSettingsMax = 101;

// What a double-click on the tray icon does.
enum class DoubleClickAction {
    Print,              // captures from the chosen source and prints
    Copy,               // captures from the chosen source onto the clipboard
    NoteFromClipboard,  // makes a sticky note of the clipboard's picture
    RepeatLast,         // runs the last capture operation again
};

// Where the double-click's print or copy takes its picture from.
enum class DoubleClickSource {
    Desktop,
    ActiveWindow,
    Region,
    ImageFile,
    Clipboard,  // not for copying
};

// The program-wide options.
struct Settings {
    std::string title;     // the tray tooltip and the captions of the program's windows
    std::string iconPath;  // full path of an .ico file for the tray; empty = built-in icon
    bool selfTimerOn = false;
    int16_t selfTimerSeconds = 0;
    bool hideIconWhileCapturing = false;
    bool confirmBeforePrint = false;
    bool reverseColours = false;
    DoubleClickAction doubleClickAction = DoubleClickAction::Print;
    DoubleClickSource doubleClickSource = DoubleClickSource::Desktop;
    int16_t namedSettingCount = 0;  // named print settings in use, 0..kNamedSettingsMax
    int16_t lastNamedSetting = 0;   // selected named setting (from 0), -1 for none
    bool iconIsBuiltIn = false;     // not stored in the file
    // Indexed by hot-key slot 0..9; the slot numbering is part of the file format.
    std::array<bool, kHotKeySlots> hotKeyOn{};
    std::array<bool, kHotKeySlots> hotKeyAlt{};
    std::array<bool, kHotKeySlots> hotKeyShift{};
    std::array<bool, kHotKeySlots> hotKeyCtrl{};
    std::array<int16_t, kHotKeySlots> hotKeyCode{};  // virtual-key code
    bool captureCursor = false;  // the mouse pointer is drawn into desktop and window captures
    // Print the capture's own pixels at the printer's resolution instead of the page image
    // resampled at screen resolution.
    bool fullDetailPrint = false;
    std::string formatVersion;  // the file's format version as read; used only while loading

    bool operator==(const Settings&) const = default;
};

// One page layout: the current one, or a named print setting.
struct PrintLayout {
    std::string Title;  // name of a named setting; never stored for the current layout
    std::string DeviceName;
    int16_t Pos = 0;   // 1 top left, 2 top right, 3 centre, 4 bottom left, 5 bottom right, 6 manual
    int16_t Size = 0;  // 1 actual size, 2 fit to the paper, 3 SizeP percent
    int16_t SizeP = 0;        // scale in percent
    int16_t Hiritsu = 0;      // "keep the ratio" check box, 1 = on
    int16_t PaperSize = 0;    // paper-size code
    int16_t PaperBin = 0;     // paper-source code, 0 = the printer's own choice
    int16_t Orientation = 0;  // 1 portrait, 2 landscape
    double Left = 0;          // manual position, centimetres
    double Top = 0;
    std::string FontName;
    int32_t FontSize = 0;  // points
    bool FontItalic = false;
    bool FontBold = false;
    bool FontUnderLine = false;
    std::string TitleText;
    int16_t TitleAlign = 0;   // 0 left edge of the image, 1 centred, 2 right edge
    int16_t TitleVAlign = 0;  // 0 above the image, 1 below

    bool operator==(const PrintLayout&) const = default;
};

// Everything the settings file holds. Of `named`, the first settings.namedSettingCount are in use.
struct SettingsData {
    Settings settings;
    PrintLayout current;
    std::array<PrintLayout, kNamedSettingsMax> named{};

    bool operator==(const SettingsData&) const = default;
};

}  // namespace tovrimo
