#include "core/SettingsFileCodes.h"

#include <array>
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

namespace {

// Qt knows the printing system's old sheet numbers; a number is the file's name for a Qt size
// only when Qt gives that very number back for it. The others are second names of a sheet that
// has a first one (17 is 11 x 17 in, which is Tabloid, 3), or name no sheet of Qt's at all.
constexpr int kLastPageSizeCode = 118;

}  // namespace

std::optional<QPageSize::PageSizeId> PageSizeFromFile(int16_t code)
{
    if (code < 1 || code > kLastPageSizeCode) return std::nullopt;
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom || QPageSize::windowsId(id) != code) return std::nullopt;
    return id;
}

int16_t PageSizeToFile(QPageSize::PageSizeId id)
{
    if (id == QPageSize::Custom) return 0;
    const int code = QPageSize::windowsId(id);
    if (code < 1 || code > kLastPageSizeCode || PageSizeFromFile(static_cast<int16_t>(code)) != id)
        return 0;
    return static_cast<int16_t>(code);
}

const std::vector<QPageSize::PageSizeId>& PageSizesInFileOrder()
{
    static const std::vector<QPageSize::PageSizeId> kSizes = [] {
        std::vector<QPageSize::PageSizeId> sizes;
        for (int code = 1; code <= kLastPageSizeCode; ++code)
            if (const auto id = PageSizeFromFile(static_cast<int16_t>(code))) sizes.push_back(*id);
        return sizes;
    }();
    return kSizes;
}

namespace {

struct PaperBinNumber {
    PaperSource source;
    int16_t code;
};

// The paper-source numbers of the printing system of old; 12 and 13 name nothing.
constexpr std::array kPaperBinNumbers = {
    PaperBinNumber{PaperSource::Upper, 1},          PaperBinNumber{PaperSource::Lower, 2},
    PaperBinNumber{PaperSource::Middle, 3},         PaperBinNumber{PaperSource::Manual, 4},
    PaperBinNumber{PaperSource::Envelope, 5},       PaperBinNumber{PaperSource::EnvelopeManual, 6},
    PaperBinNumber{PaperSource::Auto, 7},           PaperBinNumber{PaperSource::Tractor, 8},
    PaperBinNumber{PaperSource::SmallFormat, 9},    PaperBinNumber{PaperSource::LargeFormat, 10},
    PaperBinNumber{PaperSource::LargeCapacity, 11}, PaperBinNumber{PaperSource::Cassette, 14},
};

}  // namespace

std::optional<PaperSource> PaperSourceFromFile(int16_t code)
{
    for (const PaperBinNumber& entry : kPaperBinNumbers)
        if (entry.code == code) return entry.source;
    return std::nullopt;
}

int16_t PaperSourceToFile(PaperSource source)
{
    for (const PaperBinNumber& entry : kPaperBinNumbers)
        if (entry.source == source) return entry.code;
    return 0;
}

QPageLayout::Orientation PageLayoutOrientation(PageOrientation orientation)
{
    return orientation == PageOrientation::Landscape ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait;
}

PageOrientation PageOrientationOf(QPageLayout::Orientation orientation)
{
    return orientation == QPageLayout::Landscape ? PageOrientation::Landscape
                                                 : PageOrientation::Portrait;
}

namespace {

// The virtual-key codes of the keys the options offer. Letters and digits are their upper-case
// characters on both sides.
struct KeyNumber {
    Qt::Key key;
    int16_t virtualKey;
};
constexpr KeyNumber kKeyNumbers[] = {
    {Qt::Key_Space, 32}, {Qt::Key_Return, 13}, {Qt::Key_Print, 44}, {Qt::Key_F1, 112},
    {Qt::Key_F2, 113},   {Qt::Key_F3, 114},    {Qt::Key_F4, 115},   {Qt::Key_F5, 116},
    {Qt::Key_F6, 117},   {Qt::Key_F7, 118},    {Qt::Key_F8, 119},   {Qt::Key_F9, 120},
    {Qt::Key_F10, 121},  {Qt::Key_F11, 122},   {Qt::Key_F12, 123},
};

bool LetterOrDigit(int code)
{
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

}  // namespace

std::optional<Qt::Key> KeyFromFile(int16_t virtualKey)
{
    if (LetterOrDigit(virtualKey)) return static_cast<Qt::Key>(virtualKey);
    for (const auto& entry : kKeyNumbers)
        if (entry.virtualKey == virtualKey) return entry.key;
    return std::nullopt;
}

std::optional<int16_t> KeyToFile(Qt::Key key)
{
    if (LetterOrDigit(key)) return static_cast<int16_t>(key);
    for (const auto& entry : kKeyNumbers)
        if (entry.key == key) return entry.virtualKey;
    return std::nullopt;
}

Qt::KeyboardModifiers ModifiersFromFile(bool alt, bool control, bool shift)
{
    Qt::KeyboardModifiers modifiers;
    if (alt) modifiers |= Qt::AltModifier;
    if (control) modifiers |= Qt::ControlModifier;
    if (shift) modifiers |= Qt::ShiftModifier;
    return modifiers;
}

std::optional<QKeyCombination> HotKeyFromFile(const HotKeyInFile& entry)
{
    const std::optional<Qt::Key> key = KeyFromFile(entry.virtualKey);
    if (!key) return std::nullopt;
    return QKeyCombination(ModifiersFromFile(entry.alt, entry.control, entry.shift), *key);
}

std::optional<HotKeyInFile> HotKeyToFile(QKeyCombination keys)
{
    const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
    constexpr Qt::KeyboardModifiers kStored =
        Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier;
    if (modifiers & ~kStored) return std::nullopt;
    const std::optional<int16_t> virtualKey = KeyToFile(keys.key());
    if (!virtualKey) return std::nullopt;
    return HotKeyInFile{*virtualKey, modifiers.testFlag(Qt::AltModifier),
                        modifiers.testFlag(Qt::ControlModifier),
                        modifiers.testFlag(Qt::ShiftModifier)};
}

}  // namespace tovrimo
