#include <gtest/gtest.h>

#include <string>

#include "controls/CommonDlgRules.h"
#include "controls/cCommonDlg.h"

using namespace tovrimo;
using namespace std::string_literals;

TEST(CommonDlgFilter, SystemFormIsNulSeparatedWithOneMoreNul)
{
    // Two pairs ending in a bar: four NUL-terminated items and one more NUL.
    EXPECT_EQ(SystemFilterText("Bitmaps|*.bmp|Pictures|*.jpg;*.jpeg|"),
              "Bitmaps\0*.bmp\0Pictures\0*.jpg;*.jpeg\0\0"s);
    // Without the final bar the text still ends in a double NUL.
    EXPECT_EQ(SystemFilterText("All Files (*.*)|*.*"), "All Files (*.*)\0*.*\0\0"s);
    EXPECT_EQ(SystemFilterText(""), "\0\0"s);
}

TEST(CommonDlgFilter, DialogNameFiltersKeepTheDescriptionAndListThePatterns)
{
    struct Case {
        const char* name;
        std::string filter;
        std::vector<std::string> expected;
    } cases[] = {
        {"image-file dialog",
         "イメージファイル(*.BMP;*.JPG;*.JPEG)|*.bmp;*.jpg;*.jpeg|",
         {"イメージファイル(*.BMP;*.JPG;*.JPEG) (*.bmp *.jpg *.jpeg)"}},
        {"note save dialog",
         "ビットマップファイル(*.BMP)|*.bmp|",
         {"ビットマップファイル(*.BMP) (*.bmp)"}},
        {"two pairs", "A|*.a|B|*.b; *.c", {"A (*.a)", "B (*.b *.c)"}},
        {"the default", "All Files (*.*)|*.*", {"All Files (*.*) (*.*)"}},
        {"description without pattern is dropped", "A|*.a|B", {"A (*.a)"}},
        {"an empty item ends the list", "A|*.a||*.b|C|*.c", {"A (*.a)"}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(DialogNameFilters(c.filter), c.expected) << c.name;
}

TEST(CommonDlgFilter, FilterTextReadsBackUnchanged)
{
    cCommonDlg dlg;
    EXPECT_EQ(dlg.Filter(), "All Files (*.*)|*.*");
    const std::string filter = "イメージファイル(*.BMP;*.JPG;*.JPEG)|*.bmp;*.jpg;*.jpeg|";
    dlg.setFilter(filter);
    EXPECT_EQ(dlg.Filter(), filter);
}

TEST(CommonDlgFilter, FilterIndexIsOneBasedAndZeroPicksTheFirst)
{
    EXPECT_EQ(SelectedFilterPosition(0, 2), 0);
    EXPECT_EQ(SelectedFilterPosition(1, 2), 0);
    EXPECT_EQ(SelectedFilterPosition(2, 2), 1);
    EXPECT_EQ(SelectedFilterPosition(3, 2), 0);
    EXPECT_EQ(SelectedFilterPosition(-1, 2), 0);
}

TEST(CommonDlgProperties, DefaultsAsCreated)
{
    cCommonDlg dlg;
    EXPECT_EQ(dlg.FilterIndex(), 0);
    EXPECT_EQ(dlg.FileName(), "");
    EXPECT_EQ(dlg.FileTitle(), std::string(254, ' '));
    EXPECT_EQ(dlg.DialogTitle(), "Open File");
    EXPECT_FALSE(dlg.InitDir().empty()) << "the current folder";
    EXPECT_EQ(dlg.DefaultExt(), "");
    EXPECT_EQ(dlg.MaxFileSize(), 255);
    EXPECT_EQ(dlg.Flags(), 0);
    EXPECT_FALSE(dlg.CancelError());
    EXPECT_FALSE(dlg.CancelButton());
    EXPECT_EQ(dlg.Action(), 0);
    EXPECT_EQ(dlg.HelpFile(), "");
    EXPECT_EQ(dlg.HelpCommand(), 0);
    EXPECT_EQ(dlg.HelpContext(), 0);
    EXPECT_EQ(dlg.Min(), 0);
    EXPECT_EQ(dlg.Max(), 0);
    EXPECT_EQ(dlg.ErrNumber(), 0);
}

TEST(CommonDlgProperties, HelpKeyIsHeldAsAWholeNumber)
{
    cCommonDlg dlg;
    EXPECT_EQ(dlg.HelpKey(), "0");
    dlg.setHelpKey("42");
    EXPECT_EQ(dlg.HelpKey(), "42");
    dlg.setHelpKey("abc");
    EXPECT_EQ(dlg.HelpKey(), "0");
}

TEST(CommonDlgProperties, ActionOtherThanOpenSaveHelpIsOnlyStored)
{
    cCommonDlg dlg;
    dlg.setAction(4);
    EXPECT_EQ(dlg.Action(), 4);
    // Help without a file or command does nothing, also through Action.
    dlg.setAction(6);
    EXPECT_EQ(dlg.Action(), 6);
}

TEST(CommonDlgFileName, AChosenPathMustFitTheBuffer)
{
    EXPECT_TRUE(FileNameFits(std::u16string(254, u'a'), 255));
    EXPECT_FALSE(FileNameFits(std::u16string(255, u'a'), 255)) << "no room for the NUL";
    EXPECT_TRUE(FileNameFits(u"/tmp/a.bmp", 255));
}

TEST(FontWeightRules, FontDlgCallsEverythingButRegularBold)
{
    struct Case {
        int weight;
        bool fontDlg;
        bool showFont;
    } cases[] = {
        {100, true, false}, {300, true, false}, {400, false, false}, {499, true, false},
        {500, true, true},  {600, true, true},  {700, true, true},   {900, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FontDlgBold(c.weight), c.fontDlg) << c.weight;
        EXPECT_EQ(ShowFontBold(c.weight), c.showFont) << c.weight;
    }
}

TEST(FontSize, HeightRoundTripRoundsToNearestEven)
{
    EXPECT_EQ(LogicalFontHeight(10, 96), 13);  // 13.33
    EXPECT_EQ(LogicalFontHeight(9, 96), 12);
    EXPECT_EQ(LogicalFontHeight(3, 120), 5);     // 5.0
    EXPECT_EQ(LogicalFontHeight(1.5, 96), 2);    // 2.0
    EXPECT_EQ(LogicalFontHeight(0.375, 96), 0);  // 0.5 -> 0, ties to even
    EXPECT_EQ(PointsFromHeight(13, 96), 10);     // 9.75
    EXPECT_EQ(PointsFromHeight(-13, 96), 10) << "the size is the magnitude";
    EXPECT_EQ(PointsFromHeight(14, 96), 10);  // 10.5 -> 10
    for (int points = 8; points <= 24; ++points)
        EXPECT_EQ(PointsFromHeight(LogicalFontHeight(points, 96), 96), points) << points;
}

TEST(CommonDlgErrors, DescriptionsByNumber)
{
    struct Case {
        int number;
        const char* text;
    } cases[] = {
        {32751, "Microsoft Windows のヘルプを呼び出せません。"},
        {32755, "[キャンセル] ボタンが選択されました。"},
        {32760, "関数が指定したリソースをロードできません。"},
        {32761, "関数が指定したリソースをロードできません。"},
        {-32768, "関数がダイアログ ボックスをロードできません。"},
        {24574, "フォントが存在しません。"},
        {20476, "メンバ lpstrFile が指すバッファが小さすぎます。"},
        {28660,
         "WIN.INI ファイル内の [devices] "
         "セクションに、必要なプリンタについてのエントリがありません。"},
        {28668,
         "PDReturnDefault フラグが設定されていますが、hDevMode フィールドまたは hDevNames "
         "フィールドが 0 ではありません。"},
        {28671,
         "PDReturnDefault フラグが設定されていますが、hDevMode フィールドまたは hDevNames "
         "フィールドが 0 ではありません。"},
        {28670, "必要なリソースを読み込めません。"},
        {0, "未知のｴﾗｰです。"},
        {12345, "未知のｴﾗｰです。"},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrDescriptionText(c.number), c.text) << c.number;
    cCommonDlg dlg;
    EXPECT_EQ(dlg.ErrDescription(), "未知のｴﾗｰです。");
}

TEST(CommonDlgCancel, CancelWithCancelErrorEmptiesFileNameAndSetsCancelButton)
{
    cCommonDlg dlg;
    dlg.setFileName("/tmp/earlier.bmp");
    dlg.setCancelError(true);
    dlg.TakeFileDialogResult(std::nullopt);
    EXPECT_TRUE(dlg.CancelButton());
    EXPECT_EQ(dlg.FileName(), "");
}

TEST(CommonDlgCancel, CancelWithoutCancelErrorKeepsTheEarlierName)
{
    cCommonDlg dlg;
    dlg.setFileName("/tmp/earlier.bmp");
    dlg.TakeFileDialogResult(std::nullopt);
    EXPECT_FALSE(dlg.CancelButton());
    EXPECT_EQ(dlg.FileName(), "/tmp/earlier.bmp");
}

TEST(CommonDlgCancel, AChoiceClearsCancelButtonAndFillsNameAndTitle)
{
    cCommonDlg dlg;
    dlg.setCancelError(true);
    dlg.TakeFileDialogResult(std::nullopt);
    ASSERT_TRUE(dlg.CancelButton());
    dlg.TakeFileDialogResult("/tmp/pictures/shot.bmp");
    EXPECT_FALSE(dlg.CancelButton());
    EXPECT_EQ(dlg.FileName(), "/tmp/pictures/shot.bmp");
    EXPECT_EQ(dlg.FileTitle(), "shot.bmp");
}

TEST(CommonDlgCancel, APathThatDoesNotFitCountsAsAFailedDialog)
{
    cCommonDlg dlg;
    dlg.setCancelError(true);
    dlg.setMaxFileSize(10);
    dlg.TakeFileDialogResult("/tmp/far-too-long.bmp");
    EXPECT_TRUE(dlg.CancelButton());
    EXPECT_EQ(dlg.FileName(), "");
}
