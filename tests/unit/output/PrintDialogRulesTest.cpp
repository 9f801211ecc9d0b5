#include <gtest/gtest.h>

#include "core/TitleFields.h"
#include "output/PrintDialogRules.h"

using namespace tovrimo;

TEST(PrintDialogRules, LeadingNumberReadsTheNumberATextStartsWith)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},        {"100", 100}, {"  12abc", 12}, {"-5", -5}, {"+7", 7},
        {"1.5.3", 1.5}, {"abc", 0},   {".", 0},        {"-", 0},   {"007", 7},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(LeadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

TEST(PrintDialogRules, ParseNumberAcceptsOnlyWholeNumbers)
{
    struct Case {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"1.25", 1.25},        {" 2 ", 2.0},          {"0", 0.0},
        {"-0.5", -0.5},        {"", std::nullopt},    {"  ", std::nullopt},
        {"abc", std::nullopt}, {"1,5", std::nullopt}, {"1.5cm", std::nullopt},
        {"inf", std::nullopt}, {"nan", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseNumber(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

TEST(PrintDialogRules, ScaleRangeIsCheckedOnlyInAnEnabledBox)
{
    struct Case {
        double value;
        bool enabled;
        bool refused;
    } cases[] = {
        {201, true, true}, {200, true, false},  {0, true, false},   {1, true, false},
        {-1, true, true},  {350, false, false}, {-4, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleOutOfRange(c.value, c.enabled), c.refused) << c.value << c.enabled;
    }
}

TEST(PrintDialogRules, StepButtonsGoToTheNextMultipleOf25)
{
    struct Case {
        int from, up, down;
    } cases[] = {
        {110, 125, 75}, {190, 200, 150}, {200, 200, 175}, {26, 50, 1}, {30, 50, 1},
        {25, 50, 1},    {50, 75, 25},    {1, 25, 1},      {24, 25, 1}, {175, 200, 150},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleStepUp(c.from), c.up) << c.from;
        EXPECT_EQ(ScaleStepDown(c.from), c.down) << c.from;
    }
}

TEST(PrintDialogRules, ManualScaleCorrection)
{
    EXPECT_EQ(ManualScaleCorrection(350), QString("200"));
    EXPECT_EQ(ManualScaleCorrection(200.5), QString("200"));
    EXPECT_EQ(ManualScaleCorrection(200), std::nullopt);
    EXPECT_EQ(ManualScaleCorrection(0), std::nullopt);
    EXPECT_EQ(ManualScaleCorrection(-1), QString("100"));
}

TEST(PrintDialogRules, StoredScaleRoundsAndStaysInTheField)
{
    EXPECT_EQ(StoredScale(60), 60);
    EXPECT_EQ(StoredScale(150.5), 150);  // tie to even
    EXPECT_EQ(StoredScale(151.5), 152);
    EXPECT_EQ(StoredScale(1e9), 32767);
    EXPECT_EQ(StoredScale(-1e9), -32768);
}

TEST(PrintDialogRules, OnlyDigitsAndBackspaceAreTyped)
{
    for (QChar c : QString("0123456789\b")) EXPECT_TRUE(ScaleKeyPasses(c)) << int(c.unicode());
    for (QChar c : QString::fromUtf8("a-.+ ５%\r"))
        EXPECT_FALSE(ScaleKeyPasses(c)) << int(c.unicode());
}

TEST(PrintDialogRules, PastedTextMustBeDigitsThroughout)
{
    struct Case {
        const char* pasted;
        bool passes;
    } cases[] = {
        {"150", true},  {"0", true},      {"007", true},     {"abc", false}, {"", false},
        {"12a", false}, {"a12", false},   {"1 5", false},    {"-5", false},  {"+5", false},
        {"1.5", false}, {"150\n", false}, {"１５０", false}, {"\b", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScalePastePasses(QString::fromUtf8(c.pasted)), c.passes) << c.pasted;
    }
}

TEST(PrintDialogRules, FitPercentIsTheFittedWidthRoundedDown)
{
    struct Case {
        int64_t fitted, pixels;
        double sx;
        int percent;
    } cases[] = {
        {11184, 200, 15, 372}, {3000, 200, 15, 100}, {2999, 200, 15, 99},
        {5250, 350, 15, 100},  {1000, 0, 15, 0},     {int64_t{1} << 40, 1, 15, 32767},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FitPercent(c.fitted, c.pixels, c.sx), c.percent) << c.fitted;
    }
}

TEST(PrintDialogRules, CentimetresShowTwoDecimals)
{
    EXPECT_EQ(FormatCentimetres(224.0 / 567), "0.40");
    EXPECT_EQ(FormatCentimetres(5263.0 / 567), "9.28");
    EXPECT_EQ(FormatCentimetres(0), "0.00");
    EXPECT_EQ(FormatCentimetres(-0.001), "0.00");
    EXPECT_EQ(FormatCentimetres(-1.5), "-1.50");
}

TEST(PrintDialogRules, FieldsAreInsertedAtTheCaret)
{
    const QString date = QString::fromUtf8(kDateField);
    ASSERT_EQ(date.size(), 5);
    struct Case {
        const char* why;
        const char* text;
        int position;
        const char* result;
        int caret;
    } cases[] = {
        {"after the third of six", "abcdef", 3, "abc&[日付]def", 8},
        {"at the start", "abcdef", 0, "&[日付]abcdef", 5},
        {"at the end", "abc", 3, "abc&[日付]", 8},
        {"empty title", "", 0, "&[日付]", 5},
        {"caret past the end", "abc", 9, "abc&[日付]", 8},
        {"negative caret", "abc", -2, "&[日付]abc", 5},
        {"japanese text counts characters", "日本語の題", 2, "日本&[日付]語の題", 7},
    };
    for (const auto& c : cases) {
        const TitleEdit e = InsertField(QString::fromUtf8(c.text), c.position, date);
        EXPECT_EQ(e.text, QString::fromUtf8(c.result)) << c.why;
        EXPECT_EQ(e.caret, c.caret) << c.why;
    }
}
