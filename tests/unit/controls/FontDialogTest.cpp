#include <gtest/gtest.h>

#include "controls/FontDialog.h"

using namespace tovrimo;

TEST(FontWeightRules, AnythingButRegularIsBold)
{
    struct Case {
        int weight;
        bool bold;
    } cases[] = {
        {100, true}, {300, true}, {400, false}, {499, true},
        {500, true}, {600, true}, {700, true},  {900, true},
    };
    for (const auto& c : cases) EXPECT_EQ(FontDialog::countsAsBold(c.weight), c.bold) << c.weight;
}

TEST(FontSize, HeightRoundTripRoundsToNearestEven)
{
    EXPECT_EQ(FontDialog::pixelHeight(10, 96), 13);  // 13.33
    EXPECT_EQ(FontDialog::pixelHeight(9, 96), 12);
    EXPECT_EQ(FontDialog::pixelHeight(3, 120), 5);             // 5.0
    EXPECT_EQ(FontDialog::pixelHeight(1.5, 96), 2);            // 2.0
    EXPECT_EQ(FontDialog::pixelHeight(0.375, 96), 0);          // 0.5 -> 0, ties to even
    EXPECT_EQ(FontDialog::pointsFromPixelHeight(13, 96), 10);  // 9.75
    EXPECT_EQ(FontDialog::pointsFromPixelHeight(-13, 96), 10) << "the size is the magnitude";
    EXPECT_EQ(FontDialog::pointsFromPixelHeight(14, 96), 10);  // 10.5 -> 10
    for (int points = 8; points <= 24; ++points)
        EXPECT_EQ(FontDialog::pointsFromPixelHeight(FontDialog::pixelHeight(points, 96), 96),
                  points)
            << points;
}
