#include <gtest/gtest.h>

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
