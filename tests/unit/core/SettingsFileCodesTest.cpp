#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "core/SettingsFileCodes.h"

using namespace tovrimo;

namespace {

using D = CaptureDestination;
using S = CaptureSource;

CaptureRequest Print(S from)
{
    return {from, D::Printer};
}

CaptureRequest Copy(S from)
{
    return {from, D::Clipboard};
}

}  // namespace

TEST(SettingsFileCodes, DoubleClickNumbersBothWays)
{
    // The numbers the options dialog has always written, and what they mean.
    struct Case {
        int16_t number;
        std::optional<D> destination;  // nothing: repeat the last capture
    };
    const Case cases[] = {
        {1, D::Printer}, {2, D::Clipboard}, {3, D::StickyNote}, {4, std::nullopt}};
    for (const Case& c : cases) {
        EXPECT_EQ(DoubleClickDestinationFromFile(c.number), c.destination) << c.number;
        EXPECT_EQ(DoubleClickDestinationToFile(c.destination), c.number) << c.number;
    }
    // Any other number a hand-edited file holds has always repeated the last capture.
    for (int16_t stray : {0, -1, 5, 100, 32767})
        EXPECT_EQ(DoubleClickDestinationFromFile(stray), std::nullopt) << stray;
}

TEST(SettingsFileCodes, DoubleClickSourceNumbersBothWays)
{
    struct Case {
        int16_t number;
        std::optional<S> source;
    };
    const Case cases[] = {{1, S::Desktop},   {2, S::ActiveWindow}, {3, S::Region},
                          {4, S::ImageFile}, {5, S::Clipboard},    {0, std::nullopt}};
    for (const Case& c : cases) {
        EXPECT_EQ(DoubleClickSourceFromFile(c.number), c.source) << c.number;
        EXPECT_EQ(DoubleClickSourceToFile(c.source), c.number) << c.number;
    }
    // A number no source stands for reads as none and goes back as 0, which reads as none.
    for (int16_t stray : {-1, 6, 9, 255}) {
        EXPECT_EQ(DoubleClickSourceFromFile(stray), std::nullopt) << stray;
        EXPECT_EQ(DoubleClickSourceToFile(DoubleClickSourceFromFile(stray)), 0) << stray;
    }
}

TEST(SettingsFileCodes, EachHotKeySlotHasItsFixedCommand)
{
    const std::vector<Command> expected = {
        Print(S::Desktop),
        Print(S::ActiveWindow),
        Print(S::Region),
        Print(S::ImageFile),
        Copy(S::Desktop),
        // The window that is active at the key press, without a timer.
        CaptureRequest{S::ActiveWindow, D::Clipboard, true},
        Copy(S::Region),
        Copy(S::ImageFile),
        ProgramAction::OpenOptions,
        CaptureRequest{S::Clipboard, D::StickyNote},
    };
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        ASSERT_TRUE(HotKeySlotCommand(slot).has_value()) << slot;
        EXPECT_TRUE(*HotKeySlotCommand(slot) == expected[static_cast<size_t>(slot)]) << slot;
    }
    for (int slot : {-1, 10, 11, 255}) EXPECT_FALSE(HotKeySlotCommand(slot).has_value()) << slot;
}

TEST(SettingsFileCodes, TheSlotOfACommand)
{
    struct Case {
        Command command;
        std::optional<int> slot;
    };
    const Case cases[] = {
        {Print(S::Desktop), 0},
        {Print(S::ImageFile), 3},
        {Copy(S::Desktop), 4},
        {CaptureRequest{S::ActiveWindow, D::Clipboard, true}, 5},
        {Copy(S::ImageFile), 7},
        {ProgramAction::OpenOptions, 8},
        {CaptureRequest{S::Clipboard, D::StickyNote}, 9},
        // The tray's active-window copy waits for its delay: it has no key of its own.
        {Copy(S::ActiveWindow), std::nullopt},
        {Print(S::Clipboard), std::nullopt},
        {ProgramAction::Quit, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(HotKeySlotOf(c.command), c.slot);
}

TEST(SettingsFileCodes, PaperSizeNumbersAndQtPageSizesBothWays)
{
    // The sheet numbers the print dialog lists, and Qt's name for each.
    struct Case {
        int16_t code;
        QPageSize::PageSizeId id;
    };
    const Case cases[] = {
        {1, QPageSize::Letter},
        {2, QPageSize::LetterSmall},
        {3, QPageSize::Tabloid},
        {4, QPageSize::Ledger},
        {5, QPageSize::Legal},
        {6, QPageSize::Statement},
        {7, QPageSize::ExecutiveStandard},  // 7 1/4 x 10 1/2 in
        {8, QPageSize::A3},
        {9, QPageSize::A4},
        {10, QPageSize::A4Small},
        {11, QPageSize::A5},
        {12, QPageSize::JisB4},
        {13, QPageSize::JisB5},
        {15, QPageSize::Quarto},
        {16, QPageSize::Imperial10x14},
        {18, QPageSize::Note},
        {19, QPageSize::Envelope9},
        {20, QPageSize::Envelope10},
        {27, QPageSize::EnvelopeDL},
        {28, QPageSize::EnvelopeC5},
        {33, QPageSize::EnvelopeB4},
        {37, QPageSize::EnvelopeMonarch},
        {41, QPageSize::FanFoldGermanLegal},
        {42, QPageSize::B4},
        {43, QPageSize::Postcard},  // the Japanese postcard, 100 x 148 mm
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PageSizeFromFile(c.code), std::optional<QPageSize::PageSizeId>(c.id)) << c.code;
        EXPECT_EQ(PageSizeToFile(c.id), c.code) << c.code;
    }
}

TEST(SettingsFileCodes, PaperSizeNumbersWithoutAQtSizeOfTheirOwnNameNone)
{
    // 0 leaves the printer its own sheet; 14 (Folio, 8 1/2 x 13 in) is no size Qt knows; 17
    // (11 x 17 in) and 77 (A4 turned) are second numbers of Tabloid and A4, which keep their
    // first ones; 256 is a size of the user's own; the rest are out of range. None of them is
    // a sheet a printer offers, so a layout holding one falls back as before; the file keeps
    // the number (see SettingsSave).
    for (int16_t code : {0, 14, 17, 54, 77, 256, -1, 119, 32767}) {
        EXPECT_EQ(PageSizeFromFile(code), std::nullopt) << code;
    }
    EXPECT_EQ(PageSizeToFile(QPageSize::Tabloid), 3);
    EXPECT_EQ(PageSizeToFile(QPageSize::A4), 9);
    // Qt sizes the file has no number for are written as 0, the printer's own sheet.
    for (QPageSize::PageSizeId id : {QPageSize::Custom, QPageSize::A10, QPageSize::Folio,
                                     QPageSize::AnsiC, QPageSize::Imperial7x9})
        EXPECT_EQ(PageSizeToFile(id), 0) << id;
}

TEST(SettingsFileCodes, SizesInFileOrderPutTheFirstNameOfASheetFirst)
{
    const std::vector<QPageSize::PageSizeId>& sizes = PageSizesInFileOrder();
    ASSERT_GE(sizes.size(), 4u);
    EXPECT_EQ(sizes[0], QPageSize::Letter);
    EXPECT_EQ(sizes[1], QPageSize::LetterSmall);
    EXPECT_EQ(sizes[2], QPageSize::Tabloid);
    const auto position = [&](QPageSize::PageSizeId id) {
        return std::find(sizes.begin(), sizes.end(), id) - sizes.begin();
    };
    // Sheets of the same size: the one a printer's sheet is called comes first.
    EXPECT_LT(position(QPageSize::A4), position(QPageSize::A4Small));
    EXPECT_LT(position(QPageSize::Letter), position(QPageSize::Note));
    EXPECT_LT(position(QPageSize::EnvelopeB4), position(QPageSize::B4));
    // Every size is listed once, and only sizes with a number.
    for (QPageSize::PageSizeId id : sizes) {
        EXPECT_EQ(std::count(sizes.begin(), sizes.end(), id), 1) << id;
        EXPECT_NE(PageSizeToFile(id), 0) << id;
    }
    EXPECT_EQ(std::count(sizes.begin(), sizes.end(), QPageSize::Folio), 0);
}

TEST(SettingsFileCodes, PaperBinNumbersAndPaperSourcesBothWays)
{
    // The trays and feeds the print dialog names, by their numbers in the file.
    struct Case {
        int16_t code;
        PaperSource source;
    };
    const Case cases[] = {
        {1, PaperSource::Upper},          {2, PaperSource::Lower},
        {3, PaperSource::Middle},         {4, PaperSource::Manual},
        {5, PaperSource::Envelope},       {6, PaperSource::EnvelopeManual},
        {7, PaperSource::Auto},           {8, PaperSource::Tractor},
        {9, PaperSource::SmallFormat},    {10, PaperSource::LargeFormat},
        {11, PaperSource::LargeCapacity}, {14, PaperSource::Cassette},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PaperSourceFromFile(c.code), std::optional<PaperSource>(c.source)) << c.code;
        EXPECT_EQ(PaperSourceToFile(c.source), c.code) << c.code;
    }
    // 0 is the printer's own source; 12, 13 and 15 name none, nor do a printer's own numbers
    // (256 and up) or anything out of range: the file keeps them, and no printer offers them.
    for (int16_t code : {0, 12, 13, 15, 100, 256, 257, -1, 32767})
        EXPECT_EQ(PaperSourceFromFile(code), std::nullopt) << code;
}

TEST(SettingsFileCodes, OrientationsAsThePrintersTakeThem)
{
    EXPECT_EQ(PageLayoutOrientation(OrientationFromFile(1)), QPageLayout::Portrait);
    EXPECT_EQ(PageLayoutOrientation(OrientationFromFile(2)), QPageLayout::Landscape);
    // A number without a meaning prints upright, as it always has.
    EXPECT_EQ(PageLayoutOrientation(OrientationFromFile(7)), QPageLayout::Portrait);
    EXPECT_EQ(OrientationToFile(PageOrientationOf(QPageLayout::Portrait)), 1);
    EXPECT_EQ(OrientationToFile(PageOrientationOf(QPageLayout::Landscape)), 2);
}

TEST(SettingsFileCodes, VirtualKeyCodesAndQtKeysBothWays)
{
    struct Case {
        int16_t virtualKey;
        Qt::Key key;
    };
    const Case cases[] = {
        {0x41, Qt::Key_A},     {0x50, Qt::Key_P},      {0x5A, Qt::Key_Z},     {0x30, Qt::Key_0},
        {0x39, Qt::Key_9},     {0x70, Qt::Key_F1},     {0x74, Qt::Key_F5},    {0x7B, Qt::Key_F12},
        {0x20, Qt::Key_Space}, {0x0D, Qt::Key_Return}, {0x2C, Qt::Key_Print},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyFromFile(c.virtualKey), std::optional<Qt::Key>(c.key)) << c.virtualKey;
        EXPECT_EQ(KeyToFile(c.key), std::optional<int16_t>(c.virtualKey)) << c.virtualKey;
    }
}

TEST(SettingsFileCodes, KeysOutsideTheOptionsListHaveNoCounterpart)
{
    // No key chosen, the keypad digits (0x60..0x69), lower-case letters (the keypad's codes),
    // F13 and Scroll Lock, and nonsense: nothing on the Qt side, and the file keeps the code.
    for (int16_t code : {0, 0x61, 0x60, 0x69, 0x7C, 0x91, 0x2F, 0x3A, 0x40, 0x5B, -1, 255})
        EXPECT_EQ(KeyFromFile(code), std::nullopt) << code;
    for (Qt::Key key : {Qt::Key_unknown, Qt::Key_Escape, Qt::Key_Enter, Qt::Key_F13, Qt::Key_Exclam,
                        Qt::Key_Slash, Qt::Key_Tab})
        EXPECT_EQ(KeyToFile(key), std::nullopt) << key;
}

TEST(SettingsFileCodes, HotKeyCombinationsBothWays)
{
    struct Case {
        HotKeyInFile entry;
        QKeyCombination keys;
    };
    const Case cases[] = {
        {{0x50, true, true, false}, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P},
        {{0x70, false, false, false}, QKeyCombination(Qt::Key_F1)},
        {{0x74, false, false, true}, Qt::ShiftModifier | Qt::Key_F5},
        {{0x37, false, true, false}, Qt::ControlModifier | Qt::Key_7},
        {{0x20, true, true, true},
         Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Space},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotKeyFromFile(c.entry), std::optional<QKeyCombination>(c.keys))
            << c.entry.virtualKey;
        EXPECT_EQ(HotKeyToFile(c.keys), std::optional<HotKeyInFile>(c.entry)) << c.entry.virtualKey;
    }
    // A code without a key makes no combination, whatever the modifiers.
    EXPECT_EQ(HotKeyFromFile({0x91, true, false, false}), std::nullopt);
    // The file has no place for Meta or a keypad modifier, nor for a key it cannot name.
    EXPECT_EQ(HotKeyToFile(Qt::MetaModifier | Qt::Key_P), std::nullopt);
    EXPECT_EQ(HotKeyToFile(Qt::KeypadModifier | Qt::Key_1), std::nullopt);
    EXPECT_EQ(HotKeyToFile(Qt::ControlModifier | Qt::Key_Escape), std::nullopt);
}
