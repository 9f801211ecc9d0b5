#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/CaptureRequest.h"

namespace tovrimo {

constexpr int kHotKeySlots = 10;
// Size of the named-print-settings table.
constexpr int kNamedSettingsMax = 101;
// The longest self-timer delay, in seconds.
constexpr int kSelfTimeMaxSeconds = 20;

// The program-wide options.
struct Settings {
    std::string title;     // the tray tooltip and the captions of the program's windows
    std::string iconPath;  // full path of an .ico file for the tray; empty = built-in icon
    bool selfTimerOn = false;
    int16_t selfTimerSeconds = 0;
    bool hideIconWhileCapturing = false;
    bool confirmBeforePrint = false;
    bool reverseColours = false;
    // What a double click on the tray icon does: a capture from doubleClickSource to
    // doubleClickDestination; no destination repeats the last capture. A sticky note always
    // takes the clipboard's picture, whatever the source says.
    std::optional<CaptureDestination> doubleClickDestination = CaptureDestination::Printer;
    // Nothing for a number no choice stands for (only a hand-edited file holds one): a double
    // click to print or copy then does nothing.
    std::optional<CaptureSource> doubleClickSource = CaptureSource::Desktop;
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
    // A counter on the screen and in the tray tooltip while the self-timer runs.
    bool showCountdown = true;
    std::string formatVersion;  // the file's format version as read; used only while loading

    bool operator==(const Settings&) const = default;
};

// The layout's codes. Each has an Unrecognised value for what a hand-edited settings file
// may hold beyond the values this program writes; how such a layout prints is said at each.

// Where the image's top-left corner goes. Unrecognised: on the sheet's physical corner.
enum class PagePosition {
    TopLeft,
    TopRight,
    Centre,
    BottomLeft,
    BottomRight,
    Manual,
    Unrecognised
};

// How the image is scaled. Unrecognised: no image at all (only the title is printed).
enum class ScaleMode {
    ActualSize,  // one screen pixel = the screen's twips per pixel
    FitToPaper,
    Percent,  // actual size times scalePercent / 100
    Unrecognised,
};

// Unrecognised: the preview and printing refuse the layout with a page-setup error.
enum class PageOrientation { Portrait, Landscape, Unrecognised };

// The title line's horizontal place against the image. Unrecognised: at the sheet's left
// edge (x 0).
enum class TitleAlignment { ImageLeft, ImageCentre, ImageRight, Unrecognised };

// Whether the title goes above or below the image. Unrecognised: at the sheet's top (y 0).
enum class TitlePlacement { AboveImage, BelowImage, Unrecognised };

// One page layout: the current one, or a named print setting. A default-constructed layout
// means what a section without any of these keys means.
struct PrintLayout {
    std::string name;  // name of a named setting; never stored for the current layout
    std::string printerName;
    PagePosition position = PagePosition::Unrecognised;
    ScaleMode scaleMode = ScaleMode::Unrecognised;
    int16_t scalePercent = 0;
    bool keepAspectRatio = false;
    int16_t paperSize = 0;    // paper-size code
    int16_t paperSource = 0;  // paper-source code, 0 = the printer's own choice
    PageOrientation orientation = PageOrientation::Unrecognised;
    double leftCm = 0;  // with PagePosition::Manual, from the printable area's corner
    double topCm = 0;
    std::string fontName;
    int32_t fontPoints = 0;
    bool italic = false;
    bool bold = false;
    bool underline = false;
    std::string titleText;
    TitleAlignment titleAlignment = TitleAlignment::ImageLeft;
    TitlePlacement titlePlacement = TitlePlacement::AboveImage;

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
