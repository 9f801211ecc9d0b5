#include <gtest/gtest.h>

#include <string>

#include "core/SettingsNotice.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/ShownSettingsStore.h"
#include "platform/SettingsNoticeBoxes.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

// The settings store over files in memory, asking a printing system for the first run's printer
// and showing what it has to say as message boxes, as the program does.
class SettingsFirstRun : public testing::Test {
protected:
    const std::string folder = "/home/u/.config/tovrimo/";
    MemoryFileSystem fs;
    RecordingMessageBoxes boxes;
};

// A printing system that has printers but no default one.
class NoDefaultPrinter : public FakePrinterBackend {
public:
    std::optional<PrinterDefaults> defaultPrinter() override { return std::nullopt; }
};

}  // namespace

TEST_F(SettingsFirstRun, WithoutADefaultPrinterTheFirstPrinterIsUsed)
{
    NoDefaultPrinter noDefault;
    noDefault.printers = {FakePrinterBackend::a4("First"), FakePrinterBackend::a4("Second")};
    noDefault.printers[0].defaultSize = QPageSize::JisB5;  // 13
    noDefault.printers[0].defaultOrientation = QPageLayout::Landscape;
    ShownSettingsStore store(fs, noDefault, boxes, folder);
    SettingsData data;
    ASSERT_EQ(store.loadSettings(data), LoadResult::Loaded);
    EXPECT_EQ(data.current.printerName, "First");
    EXPECT_EQ(data.current.paperSize, 13);
    EXPECT_EQ(data.current.orientation, PageOrientation::Portrait)
        << "a printer that is not the default is laid out upright";
    EXPECT_EQ(data.current.paperSource, 0);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SettingsFirstRun, TheDefaultPrinterIsAskedOnceAndWins)
{
    FakePrinterBackend printers;
    printers.printers = {FakePrinterBackend::a4("First"), FakePrinterBackend::a4("Office")};
    printers.printers[1].defaultSize = QPageSize::Letter;
    printers.printers[1].defaultOrientation = QPageLayout::Landscape;
    printers.defaultName = "Office";
    ShownSettingsStore store(fs, printers, boxes, folder);
    SettingsData data;
    ASSERT_EQ(store.loadSettings(data), LoadResult::Loaded);
    EXPECT_EQ(data.current.printerName, "Office");
    EXPECT_EQ(data.current.paperSize, 1);
    EXPECT_EQ(data.current.orientation, PageOrientation::Landscape);
    EXPECT_EQ(printers.defaultQueries, 1);
    EXPECT_EQ(printers.nameQueries, 0) << "the printer list is not needed when there is a default";
}

TEST(SettingsNoticeBoxes, EachNoticeIsOneOkBoxInOrderWithTheIconOfItsSeverity)
{
    RecordingMessageBoxes boxes;
    ShowSettingsNotices(boxes, {{"トヴリモ", "読めません", SettingsNotice::Severity::Critical},
                                {"エラー番号：5", "写せません", SettingsNotice::Severity::Plain}});
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].caption, "トヴリモ");
    EXPECT_EQ(boxes.shown[0].text, "読めません");
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.shown[1].caption, "エラー番号：5");
    EXPECT_EQ(boxes.shown[1].buttons, MsgButtons::Ok);
    EXPECT_EQ(boxes.shown[1].icon, MsgIcon::None);

    ShowSettingsNotices(boxes, {});
    EXPECT_EQ(boxes.shown.size(), 2u) << "nothing to say shows nothing";
}
