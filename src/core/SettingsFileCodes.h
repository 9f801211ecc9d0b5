#pragma once

#include <cstdint>
#include <optional>

#include "core/CaptureRequest.h"
#include "core/Settings.h"

// The numbers the settings file stores for the records' flags and codes, in both directions.
// Only the settings store and the hot keys use them: everything else sees bools, enums and
// capture requests.
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

}  // namespace tovrimo
