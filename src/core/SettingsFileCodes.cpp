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

// DoubleClick: 1 print, 2 copy, 3 sticky note from the clipboard, 4 repeat. A double-click
// has always repeated the last operation for any other number, so that is what one reads as
// (and it is written back as 4).
DoubleClickAction ActionFromFile(int16_t value)
{
    switch (value) {
    case 1:
        return DoubleClickAction::Print;
    case 2:
        return DoubleClickAction::Copy;
    case 3:
        return DoubleClickAction::NoteFromClipboard;
    default:
        return DoubleClickAction::RepeatLast;
    }
}

int ActionToFile(DoubleClickAction action)
{
    switch (action) {
    case DoubleClickAction::Print:
        return 1;
    case DoubleClickAction::Copy:
        return 2;
    case DoubleClickAction::NoteFromClipboard:
        return 3;
    case DoubleClickAction::RepeatLast:
        return 4;
    }
    return 4;
}

// DoubleClickDo: 1 desktop, 2 active window, 3 region, 4 image file, 5 clipboard. Any other
// number reads as Unrecognised: a double-click to print or copy then does nothing, and it is
// written back as 0, which reads as Unrecognised again. The options dialog shows it as the
// desktop, which it becomes once the dialog's choices are applied.
DoubleClickSource SourceFromFile(int16_t value)
{
    switch (value) {
    case 1:
        return DoubleClickSource::Desktop;
    case 2:
        return DoubleClickSource::ActiveWindow;
    case 3:
        return DoubleClickSource::Region;
    case 4:
        return DoubleClickSource::ImageFile;
    case 5:
        return DoubleClickSource::Clipboard;
    default:
        return DoubleClickSource::Unrecognised;
    }
}

int SourceToFile(DoubleClickSource source)
{
    switch (source) {
    case DoubleClickSource::Desktop:
        return 1;
    case DoubleClickSource::ActiveWindow:
        return 2;
    case DoubleClickSource::Region:
        return 3;
    case DoubleClickSource::ImageFile:
        return 4;
    case DoubleClickSource::Clipboard:
        return 5;
    case DoubleClickSource::Unrecognised:
        return 0;
    }
    return 0;
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
