#include <gtest/gtest.h>

#include <utility>

#include "resident/TrayCommands.h"

using namespace tovrimo;
using D = CaptureDestination;
using S = CaptureSource;

TEST(TrayCommands, ClicksAreTakenOnlyWhenIdleDesktopPendingOrCommandLine)
{
    for (int s = 1; s <= 11; ++s) {
        const bool expected = s == 1 || s == 5 || s == 7;
        EXPECT_EQ(TrayClickAccepted(static_cast<AppState>(s)), expected) << "state " << s;
    }
}

TEST(TrayCommands, RepeatCaptionForEveryDestinationAndSource)
{
    const std::pair<D, const char*> destinations[] = {{D::Printer, "ハードコピー"},
                                                      {D::Clipboard, "コピー"}};
    const std::pair<S, const char*> sources[] = {{S::Desktop, "デスクトップ"},
                                                 {S::ActiveWindow, "アクティブなウィンドウ"},
                                                 {S::Region, "領域指定"},
                                                 {S::ImageFile, "ファイルから"},
                                                 {S::Clipboard, "クリップボードから"}};
    for (const auto& [destination, action] : destinations) {
        for (const auto& [source, from] : sources) {
            const RepeatItem item = RepeatCaption(CaptureRequest{source, destination});
            EXPECT_EQ(item.caption, std::string("繰り返し - ") + action + " ＞ " + from);
            EXPECT_TRUE(item.enabled);
        }
    }
    EXPECT_EQ(RepeatCaption(CaptureRequest{S::Region, D::Clipboard}).caption,
              "繰り返し - コピー ＞ 領域指定");
    // A note always comes from the clipboard: no source is named.
    const RepeatItem note = RepeatCaption(CaptureRequest{S::Clipboard, D::StickyNote});
    EXPECT_EQ(note.caption, "繰り返し - 付せん作成");
    EXPECT_TRUE(note.enabled);
    // Before the first capture there is nothing to repeat.
    const RepeatItem none = RepeatCaption(std::nullopt);
    EXPECT_EQ(none.caption, "繰り返し");
    EXPECT_FALSE(none.enabled);
}

TEST(TrayCommands, DoubleClickTableWithItsDoNothingCell)
{
    const std::optional<CaptureRequest> last = CaptureRequest{S::Region, D::Clipboard};
    const std::optional<CaptureRequest> nothing;
    const CaptureRequest note{S::Clipboard, D::StickyNote};
    constexpr std::nullopt_t kRepeat = std::nullopt;
    constexpr std::nullopt_t kNoSource = std::nullopt;
    struct Case {
        std::optional<D> destination;
        std::optional<S> source;
        std::optional<CaptureRequest> last;
        std::optional<CaptureRequest> expected;
    } cases[] = {
        {D::Printer, S::Desktop, last, CaptureRequest{S::Desktop, D::Printer}},
        {D::Printer, S::ActiveWindow, last, CaptureRequest{S::ActiveWindow, D::Printer}},
        {D::Printer, S::Region, last, CaptureRequest{S::Region, D::Printer}},
        {D::Printer, S::ImageFile, last, CaptureRequest{S::ImageFile, D::Printer}},
        {D::Printer, S::Clipboard, last, CaptureRequest{S::Clipboard, D::Printer}},
        {D::Clipboard, S::Desktop, last, CaptureRequest{S::Desktop, D::Clipboard}},
        {D::Clipboard, S::ActiveWindow, last, CaptureRequest{S::ActiveWindow, D::Clipboard}},
        {D::Clipboard, S::Region, last, CaptureRequest{S::Region, D::Clipboard}},
        {D::Clipboard, S::ImageFile, last, CaptureRequest{S::ImageFile, D::Clipboard}},
        // Copying the clipboard onto itself does nothing.
        {D::Clipboard, S::Clipboard, last, std::nullopt},
        {D::StickyNote, S::Desktop, last, note},
        {D::StickyNote, S::Clipboard, nothing, note},
        {kRepeat, S::Desktop, last, last},
        {kRepeat, S::Region, CaptureRequest{S::ImageFile, D::Printer},
         CaptureRequest{S::ImageFile, D::Printer}},
        // Repeat before the first capture: nothing.
        {kRepeat, S::Desktop, nothing, std::nullopt},
        // A source number outside 1..5: printing and copying do nothing, the other two
        // actions do not look at the source.
        {D::Printer, kNoSource, last, std::nullopt},
        {D::Clipboard, kNoSource, last, std::nullopt},
        {D::StickyNote, kNoSource, last, note},
        {kRepeat, kNoSource, last, last},
    };
    for (const auto& c : cases) {
        const auto got = DoubleClickRequest(c.destination, c.source, c.last);
        EXPECT_EQ(got.has_value(), c.expected.has_value());
        if (got && c.expected) {
            EXPECT_TRUE(*got == *c.expected)
                << static_cast<int>(got->source) << "," << static_cast<int>(got->destination);
        }
    }
}

TEST(TrayCommands, TheMenuOfTheMomentFollowsTheStateAndTheCaptureDelay)
{
    using K = TrayMenuKind;
    // state, capture delay running, what a right click shows
    const struct {
        int state;
        bool delay;
        K kind;
    } cases[] = {
        {1, false, K::Commands}, {1, true, K::Cancel}, {5, true, K::Cancel},
        {5, false, K::Commands}, {7, true, K::Cancel}, {7, false, K::Commands},
        {2, false, K::None},     {3, false, K::None},  {4, true, K::None},
        {6, false, K::None},     {8, true, K::None},   {9, true, K::None},
        {10, true, K::None},     {11, true, K::None},  {11, false, K::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrayMenuFor(static_cast<AppState>(c.state), c.delay), c.kind)
            << "state " << c.state << " delay " << c.delay;
}
