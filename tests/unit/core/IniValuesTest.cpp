#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/IniValues.h"

using namespace tovrimo;

TEST(IniValues, NumberIsTheLongestLeadingDecimal)
{
    const double max = std::numeric_limits<double>::max();
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},       {"abc", 0},         {"  12abc", 12},
        {"\t-3", -3},  {"+4", 4},          {"2.5", 2.5},
        {".5", 0.5},   {"-.25", -0.25},    {"1.", 1},
        {".", 0},      {"-", 0},           {"- 5", 0},
        {"1,5", 1},    {"0x10", 0},        {"&H10", 0},
        {"1e3", 1000}, {"1E-2", 0.01},     {"2.5e+1x", 25},
        {"1e", 1},     {"1e+", 1},         {"1 2", 1},
        {"007", 7},    {"1e400", max},     {"-1e400", -max},
        {"1e-400", 0}, {"0.0001e-400", 0}, {"12345678901234567890", 12345678901234567890.0},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseIniNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(IniValues, WholeNumberRefusesTrailingText)
{
    EXPECT_EQ(ParseWholeIniNumber(" 12 "), 12);
    EXPECT_EQ(ParseWholeIniNumber("-1.5e1"), -15);
    EXPECT_FALSE(ParseWholeIniNumber("12a"));
    EXPECT_FALSE(ParseWholeIniNumber(""));
    EXPECT_FALSE(ParseWholeIniNumber("x"));
    EXPECT_FALSE(ParseWholeIniNumber("1e"));
}

TEST(IniValues, IntegersRoundHalvesToEvenAndClampToTheirField)
{
    const struct {
        const char* text;
        int16_t value;
    } cases[] = {
        {"2.5", 2},       {"3.5", 4},         {"-2.5", -2},       {"2.4999", 2},
        {"70000", 32767}, {"-70000", -32768}, {"32767.5", 32767}, {"-32768.5", -32768},
        {"1e10", 32767},  {"1e400", 32767},   {"-1", -1},         {"abc", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadIniInt16(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(ReadIniInt32("3000000000"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ReadIniInt32("70000"), 70000);
}

TEST(IniValues, FlagIsTheRoundedNumberNotZero)
{
    EXPECT_TRUE(ReadIniFlag("-1"));
    EXPECT_TRUE(ReadIniFlag("1"));
    EXPECT_TRUE(ReadIniFlag("0.6"));
    EXPECT_TRUE(ReadIniFlag("1e10"));  // clamped, not wrapped to 0
    EXPECT_FALSE(ReadIniFlag("0"));
    EXPECT_FALSE(ReadIniFlag("0.5"));  // ties to even: 0
    EXPECT_FALSE(ReadIniFlag(""));
    EXPECT_FALSE(ReadIniFlag("True"));
}

TEST(IniValues, WritesIntegersAndFlagsPlainly)
{
    EXPECT_EQ(WriteIniInt(-1), "-1");
    EXPECT_EQ(WriteIniInt(0), "0");
    EXPECT_EQ(WriteIniInt(100), "100");
    EXPECT_EQ(WriteIniFlag(true), "-1");
    EXPECT_EQ(WriteIniFlag(false), "0");
}

TEST(IniValues, RealsAreShortestUpTo15DigitsWithoutLeadingZero)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {0.5, ".5"},
        {-0.25, "-.25"},
        {1.5, "1.5"},
        {-12.75, "-12.75"},
        {100, "100"},
        {2.8, "2.8"},
        {0.1 + 0.2, ".3"},
        {1.0 / 3, ".333333333333333"},
        {123456789012345, "123456789012345"},
        {1e15, "1E+15"},
        {0.0001, ".0001"},
        {0.00001, "1E-05"},
        {-1.5e-7, "-1.5E-07"},
        {std::nan(""), "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(WriteIniReal(c.value), c.text) << c.value;
}

TEST(IniValues, RealsSurviveWritingAndReading)
{
    for (double v : {0.5, -0.25, 1.27, 29.7, -3.14159265358979, 1e15, 1.5e-7, 12345.6789})
        EXPECT_EQ(ReadIniReal(WriteIniReal(v)), v) << WriteIniReal(v);
}
