#pragma once

#include <cstdint>

#include "core/Settings.h"

// The numbers the settings file stores for the records' flags and codes, in both directions.
// Only the settings store uses them: everything else sees bools and enums.
namespace tovrimo {

// A flag is on only when the file says 1; anything else reads as off and is written as 0.
bool FlagFromFile(int16_t value);
int FlagToFile(bool on);

// DoubleClick and DoubleClickDo.
DoubleClickAction ActionFromFile(int16_t value);
int ActionToFile(DoubleClickAction action);
DoubleClickSource SourceFromFile(int16_t value);
int SourceToFile(DoubleClickSource source);

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
