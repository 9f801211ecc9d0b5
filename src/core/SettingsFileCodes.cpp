#include "core/SettingsFileCodes.h"

#include <cstddef>

namespace tovrimo {

// How the file's numbers become the record's values. The program has always acted on a
// flag only when the file said 1, so that is what on is; any other number a hand-edited
// file may hold (SelfTimer=5, -1) reads as off and is written back as 0. The program itself
// only ever writes 0 and 1, which come back unchanged.
bool FlagFromFile(int16_t value)
{
    return value == 1;
}

int FlagToFile(bool on)
{
    return on ? 1 : 0;
}

namespace {

using Source = CaptureSource;
using Destination = CaptureDestination;

// DoubleClick: 1 print, 2 copy, 3 sticky note from the clipboard, 4 repeat. A double-click
// has always repeated the last operation for any other number, so that is what one reads as
// (and it is written back as 4).
struct DestinationNumber {
    std::optional<Destination> destination;
    int16_t number;
};
constexpr DestinationNumber kDestinationNumbers[] = {
    {Destination::Printer, 1},
    {Destination::Clipboard, 2},
    {Destination::StickyNote, 3},
    {std::nullopt, 4},
};

// DoubleClickDo: 1 desktop, 2 active window, 3 region, 4 image file, 5 clipboard. Any other
// number reads as no source: a double-click to print or copy then does nothing, and it is
// written back as 0, which reads as no source again. The options dialog shows it as the
// desktop, which it becomes once the dialog's choices are applied.
struct SourceNumber {
    std::optional<Source> source;
    int16_t number;
};
constexpr SourceNumber kSourceNumbers[] = {
    {Source::Desktop, 1},   {Source::ActiveWindow, 2}, {Source::Region, 3},
    {Source::ImageFile, 4}, {Source::Clipboard, 5},    {std::nullopt, 0},
};

// Slot 5 copies the window that is active at the key press; slot 8 opens the options.
const Command kSlotCommands[kHotKeySlots] = {
    CaptureRequest{Source::Desktop, Destination::Printer},
    CaptureRequest{Source::ActiveWindow, Destination::Printer},
    CaptureRequest{Source::Region, Destination::Printer},
    CaptureRequest{Source::ImageFile, Destination::Printer},
    CaptureRequest{Source::Desktop, Destination::Clipboard},
    CaptureRequest{Source::ActiveWindow, Destination::Clipboard, /*immediate=*/true},
    CaptureRequest{Source::Region, Destination::Clipboard},
    CaptureRequest{Source::ImageFile, Destination::Clipboard},
    ProgramAction::OpenOptions,
    CaptureRequest{Source::Clipboard, Destination::StickyNote},
};

}  // namespace

std::optional<CaptureDestination> DoubleClickDestinationFromFile(int16_t value)
{
    for (const auto& entry : kDestinationNumbers)
        if (entry.number == value) return entry.destination;
    return std::nullopt;
}

int DoubleClickDestinationToFile(std::optional<CaptureDestination> destination)
{
    for (const auto& entry : kDestinationNumbers)
        if (entry.destination == destination) return entry.number;
    return 4;
}

std::optional<CaptureSource> DoubleClickSourceFromFile(int16_t value)
{
    for (const auto& entry : kSourceNumbers)
        if (entry.number == value) return entry.source;
    return std::nullopt;
}

int DoubleClickSourceToFile(std::optional<CaptureSource> source)
{
    for (const auto& entry : kSourceNumbers)
        if (entry.source == source) return entry.number;
    return 0;
}

std::optional<Command> HotKeySlotCommand(int slot)
{
    if (slot < 0 || slot >= kHotKeySlots) return std::nullopt;
    return kSlotCommands[slot];
}

std::optional<int> HotKeySlotOf(const Command& command)
{
    for (int slot = 0; slot < kHotKeySlots; ++slot)
        if (kSlotCommands[slot] == command) return slot;
    return std::nullopt;
}

namespace {

// The layout's codes as the file numbers them. A number without a meaning here (only a
// hand-edited file has one) reads as Unrecognised and is written back as the number given
// for Unrecognised, which reads as Unrecognised again: the layout keeps printing the same
// way, though the file no longer holds the typed number. Every value the program itself
// writes keeps its number.
template <typename Code>
struct CodeNumber {
    Code code;
    int16_t number;
};

constexpr CodeNumber<PagePosition> kPositionNumbers[] = {
    {PagePosition::TopLeft, 1},      {PagePosition::TopRight, 2},    {PagePosition::Centre, 3},
    {PagePosition::BottomLeft, 4},   {PagePosition::BottomRight, 5}, {PagePosition::Manual, 6},
    {PagePosition::Unrecognised, 0},
};
constexpr CodeNumber<ScaleMode> kScaleModeNumbers[] = {
    {ScaleMode::ActualSize, 1},
    {ScaleMode::FitToPaper, 2},
    {ScaleMode::Percent, 3},
    {ScaleMode::Unrecognised, 0},
};
constexpr CodeNumber<PageOrientation> kOrientationNumbers[] = {
    {PageOrientation::Portrait, 1},
    {PageOrientation::Landscape, 2},
    {PageOrientation::Unrecognised, 0},
};
// 0 is the first alignment here, so Unrecognised is written as -1.
constexpr CodeNumber<TitleAlignment> kTitleAlignmentNumbers[] = {
    {TitleAlignment::ImageLeft, 0},
    {TitleAlignment::ImageCentre, 1},
    {TitleAlignment::ImageRight, 2},
    {TitleAlignment::Unrecognised, -1},
};
constexpr CodeNumber<TitlePlacement> kTitlePlacementNumbers[] = {
    {TitlePlacement::AboveImage, 0},
    {TitlePlacement::BelowImage, 1},
    {TitlePlacement::Unrecognised, -1},
};

template <typename Code, size_t N>
Code CodeOf(const CodeNumber<Code> (&table)[N], int16_t number)
{
    for (const auto& entry : table)
        if (entry.number == number) return entry.code;
    return Code::Unrecognised;
}

template <typename Code, size_t N>
int16_t NumberOf(const CodeNumber<Code> (&table)[N], Code code)
{
    for (const auto& entry : table)
        if (entry.code == code) return entry.number;
    return NumberOf(table, Code::Unrecognised);
}

}  // namespace

PagePosition PositionFromFile(int16_t number)
{
    return CodeOf(kPositionNumbers, number);
}

int16_t PositionToFile(PagePosition code)
{
    return NumberOf(kPositionNumbers, code);
}

ScaleMode ScaleModeFromFile(int16_t number)
{
    return CodeOf(kScaleModeNumbers, number);
}

int16_t ScaleModeToFile(ScaleMode code)
{
    return NumberOf(kScaleModeNumbers, code);
}

PageOrientation OrientationFromFile(int16_t number)
{
    return CodeOf(kOrientationNumbers, number);
}

int16_t OrientationToFile(PageOrientation code)
{
    return NumberOf(kOrientationNumbers, code);
}

TitleAlignment TitleAlignmentFromFile(int16_t number)
{
    return CodeOf(kTitleAlignmentNumbers, number);
}

int16_t TitleAlignmentToFile(TitleAlignment code)
{
    return NumberOf(kTitleAlignmentNumbers, code);
}

TitlePlacement TitlePlacementFromFile(int16_t number)
{
    return CodeOf(kTitlePlacementNumbers, number);
}

int16_t TitlePlacementToFile(TitlePlacement code)
{
    return NumberOf(kTitlePlacementNumbers, code);
}

}  // namespace tovrimo
