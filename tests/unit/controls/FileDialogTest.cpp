#include <gtest/gtest.h>

#include <string>

#include "controls/FileDialog.h"

using namespace tovrimo;

TEST(FileDialogFilter, PairsAreReadInOrderWhetherOrNotTheTextEndsInABar)
{
    // Two pairs ending in a bar: four items, the last bar ends the list.
    EXPECT_EQ(FileDialog::filterPairs("Bitmaps|*.bmp|Pictures|*.jpg;*.jpeg|"),
              (std::vector<FilterPair>{{"Bitmaps", "*.bmp"}, {"Pictures", "*.jpg;*.jpeg"}}));
    // Without the final bar the last pair is read all the same.
    EXPECT_EQ(FileDialog::filterPairs("All Files (*.*)|*.*"),
              (std::vector<FilterPair>{{"All Files (*.*)", "*.*"}}));
    EXPECT_TRUE(FileDialog::filterPairs("").empty());
}

TEST(FileDialogFilter, NameFiltersKeepTheDescriptionAndListThePatterns)
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
    for (const auto& c : cases) EXPECT_EQ(FileDialog::nameFilters(c.filter), c.expected) << c.name;
}

TEST(FileDialogFilter, FilterTextIsCarriedUnchanged)
{
    FileDialogRequest request;
    EXPECT_EQ(request.filter, "All Files (*.*)|*.*");
    const std::string filter = "イメージファイル(*.BMP;*.JPG;*.JPEG)|*.bmp;*.jpg;*.jpeg|";
    request.filter = filter;
    EXPECT_EQ(request.filter, filter);
}

TEST(FileDialogFilter, SelectedFilterIsOneBasedAndZeroPicksTheFirst)
{
    EXPECT_EQ(FileDialog::selectedFilterPosition(0, 2), 0);
    EXPECT_EQ(FileDialog::selectedFilterPosition(1, 2), 0);
    EXPECT_EQ(FileDialog::selectedFilterPosition(2, 2), 1);
    EXPECT_EQ(FileDialog::selectedFilterPosition(3, 2), 0);
    EXPECT_EQ(FileDialog::selectedFilterPosition(-1, 2), 0);
}

TEST(FileDialogRequestDefaults, AsCreated)
{
    FileDialogRequest request;
    EXPECT_EQ(request.acceptMode, FileDialogRequest::AcceptMode::Open);
    EXPECT_EQ(request.parent, nullptr);
    EXPECT_EQ(request.selectedFilter, 0);
    EXPECT_EQ(request.caption, "Open File");
    EXPECT_EQ(request.dir, "") << "the current folder";
    EXPECT_EQ(request.defaultSuffix, "");
    EXPECT_EQ(request.maxPathLength, 254);
    EXPECT_FALSE(request.fileMustExist);
    EXPECT_FALSE(request.confirmOverwrite);
}

TEST(FileDialogResult, AChosenPathMustFitTheLimit)
{
    EXPECT_TRUE(FileDialog::acceptedPath(std::string(254, 'a'), 254).has_value());
    EXPECT_FALSE(FileDialog::acceptedPath(std::string(255, 'a'), 254).has_value());
    EXPECT_TRUE(FileDialog::acceptedPath("/tmp/a.bmp", 254).has_value());
    // Counted in characters, not bytes: 200 kana are 600 bytes of UTF-8.
    std::string kana;
    for (int i = 0; i < 200; ++i) kana += "あ";
    EXPECT_TRUE(FileDialog::acceptedPath("/" + kana, 254).has_value());
}

TEST(FileDialogResult, ACancelGivesNoName)
{
    EXPECT_EQ(FileDialog::acceptedPath(std::nullopt, 254), std::nullopt);
    EXPECT_EQ(FileDialog::acceptedPath(std::string(), 254), std::nullopt)
        << "an empty name counts as a cancel";
}

TEST(FileDialogResult, AChoiceComesBackUnchanged)
{
    EXPECT_EQ(FileDialog::acceptedPath("/tmp/pictures/shot.bmp", 254),
              std::optional<std::string>("/tmp/pictures/shot.bmp"));
}

TEST(FileDialogResult, APathThatDoesNotFitCountsAsAFailedDialog)
{
    EXPECT_EQ(FileDialog::acceptedPath("/tmp/far-too-long.bmp", 9), std::nullopt);
}

TEST(FileDialogTestHook, TheNextFileNameAnswersOneCallWithoutADialog)
{
    FileDialog dialog;
    dialog.setNextFileName("/tmp/picked.bmp");
    EXPECT_EQ(dialog.getOpenFileName(nullptr, "t", "/tmp", "A|*.a|"),
              std::optional<std::string>("/tmp/picked.bmp"));
    dialog.setNextFileName(std::nullopt);
    EXPECT_EQ(dialog.getSaveFileName(nullptr, "t", "/tmp", "A|*.a|"), std::nullopt);
}

TEST(FileDialogFilter, FormatOfTheChosenPairComesFromItsFirstPattern)
{
    const std::string save = "ビットマップファイル(*.BMP)|*.bmp|PNGファイル(*.png)|*.png|";
    const struct {
        const char* name;
        std::string filter;
        int chosen;
        std::string expected;
    } cases[] = {
        {"bitmap, the first pair", save, 1, "BMP"},
        {"PNG, the second pair", save, 2, "PNG"},
        {"no such pair", save, 3, ""},
        {"none chosen", save, 0, ""},
        {"the first of several patterns", "Pictures|*.jpeg;*.jpg|", 1, "JPEG"},
        {"a pattern without extension", "All|*|", 1, ""},
        {"every file", "All Files (*.*)|*.*", 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileDialog::formatOfFilter(c.filter, c.chosen), c.expected);
    }
}
