#pragma once

#include <QKeyCombination>
#include <QPageLayout>
#include <QPageSize>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/CaptureRequest.h"
#include "core/PaperSource.h"
#include "core/Settings.h"

// The numbers the settings file stores for the records' flags and codes, in both directions.
// Only the settings store, the hot keys and the page layout's meeting with the printers use
// them: everything else sees bools, enums, capture requests and Qt's page sizes and keys.
namespace tovrimo {

// A flag is on only when the file says 1; anything else reads as off and is written as 0.
bool FlagFromFile(int16_t value);
int FlagToFile(bool on);

// DoubleClick: where the double click's picture goes; nothing means the last capture again.
std::optional<CaptureDestination> DoubleClickDestinationFromFile(int16_t value);
int DoubleClickDestinationToFile(std::optional<CaptureDestination> destination);
// DoubleClickDo: where its picture comes from; nothing for a number no source stands for.
std::optional<CaptureSource> DoubleClickSourceFromFile(int16_t value);
int DoubleClickSourceToFile(std::optional<CaptureSource> source);

// The fixed command of each hot-key slot (the number in HotKeyOn0 ... HotKeyButton9), and the
// slot of a command; nothing outside the table.
std::optional<Command> HotKeySlotCommand(int slot);
std::optional<int> HotKeySlotOf(const Command& command);

// Pos, Size, Orientation, TitleAlign and TitleVAlign of a layout. A number without a meaning
// reads as Unrecognised, which is written back as a number that reads as Unrecognised again.
PagePosition PositionFromFile(int16_t number);
int16_t PositionToFile(PagePosition code);
ScaleMode ScaleModeFromFile(int16_t number);
int16_t ScaleModeToFile(ScaleMode code);
PageOrientation OrientationFromFile(int16_t number);
int16_t OrientationToFile(PageOrientation code);
TitleAlignment TitleAlignmentFromFile(int16_t number);
int16_t TitleAlignmentToFile(TitleAlignment code);
TitlePlacement TitlePlacementFromFile(int16_t number);
int16_t TitlePlacementToFile(TitlePlacement code);

// PaperSize (and the first run's printer sheet): the settings number a sheet as the printing
// system of old did (1 Letter, 9 A4, 43 the Japanese postcard ...). Nothing for 0 (the printer's
// own sheet) and for a number that names no standard sheet of its own: those stay in the file as
// they are, and a printer never offers them. A page size without a number is written as 0.
std::optional<QPageSize::PageSizeId> PageSizeFromFile(int16_t code);
int16_t PageSizeToFile(QPageSize::PageSizeId id);
// The sheets the file has a number for, in the order it numbers them: where several name the
// same sheet (Letter, Letter Small and Note), the first is the one a printer's sheet is called.
const std::vector<QPageSize::PageSizeId>& PageSizesInFileOrder();

// PaperBin: the number of a tray or feed (1 the upper tray, 4 the manual feed, 7 the printer's
// automatic choice ...). Nothing for 0 (the printer's own source) and for a number that names
// no source of ours: those stay in the file as they are, and a printer never offers them.
std::optional<PaperSource> PaperSourceFromFile(int16_t code);
int16_t PaperSourceToFile(PaperSource source);

// The layout's orientation as the printers take it: anything but landscape prints upright.
QPageLayout::Orientation PageLayoutOrientation(PageOrientation orientation);
PageOrientation PageOrientationOf(QPageLayout::Orientation orientation);

// A slot's HotKeyButton (a virtual-key code) with its HotKeyALT, HotKeyCTRL and HotKeySHIFT.
struct HotKeyInFile {
    int16_t virtualKey = 0;
    bool alt = false;
    bool control = false;
    bool shift = false;
    friend bool operator==(const HotKeyInFile&, const HotKeyInFile&) = default;
};
// The key a virtual-key code names: letters, digits, F1 to F12, space, Return and Print
// Screen, the keys the options offer. Nothing for any other code, which the file keeps as it
// is and no hot key is claimed for.
std::optional<Qt::Key> KeyFromFile(int16_t virtualKey);
std::optional<int16_t> KeyToFile(Qt::Key key);
Qt::KeyboardModifiers ModifiersFromFile(bool alt, bool control, bool shift);
// The whole combination; nothing when the key has no counterpart on the other side. Modifiers
// other than Alt, Control and Shift have no place in the file and make a combination it cannot
// hold.
std::optional<QKeyCombination> HotKeyFromFile(const HotKeyInFile& entry);
std::optional<HotKeyInFile> HotKeyToFile(QKeyCombination keys);

}  // namespace tovrimo
