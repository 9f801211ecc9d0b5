#include <gtest/gtest.h>

#include "resident/CountdownTexts.h"
#include "resident/CountdownWindow.h"
#include "resident/NoteTable.h"

using namespace tovrimo;

TEST(NoteZoom, WheelStepsMoveAlongTheStepsAndStopAtTheEnds)
{
    const struct {
        int current;
        int steps;
        int expected;
    } cases[] = {
        {100, 1, 125},
        {100, -1, 75},
        {100, 2, 150},
        {100, -3, 25},
        {25, -1, 25},
        {400, 1, 400},
        {300, 1, 400},
        {100, 20, 400},
        {100, -20, 25},
        {50, 1, 75},
        // Between two steps: up goes to the next step above, down to the next one below.
        {110, 1, 125},
        {110, -1, 100},
        {10, 1, 50},
        {10, -1, 25},
        {900, -1, 300},
        {900, 1, 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.current << " by " << c.steps);
        EXPECT_EQ(NextNoteZoom(c.current, c.steps), c.expected);
    }
}

TEST(NoteZoom, ZoomedSizeRoundsEachSideAndNeverVanishes)
{
    const struct {
        QSize picture;
        int percent;
        QSize expected;
    } cases[] = {
        {{80, 40}, 100, {80, 40}}, {{80, 40}, 25, {20, 10}}, {{80, 40}, 400, {320, 160}},
        {{77, 33}, 125, {96, 41}}, {{77, 33}, 75, {58, 25}}, {{3, 1}, 25, {1, 1}},
        {{2, 2}, 25, {1, 1}},      {{77, 33}, 50, {39, 17}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        EXPECT_EQ(ZoomedPictureSize(c.picture, c.percent), c.expected);
    }
}

TEST(CountdownPlace, TheCornerNearestThePointerWithAMargin)
{
    const QSize size(100, 60);
    const QRect screen(0, 0, 1920, 1080);
    const QRect second(1920, 0, 1280, 1024);  // a second screen to the right
    const struct {
        const char* name;
        QPoint pointer;
        QRect screen;
        QPoint expected;
    } cases[] = {
        {"top left", {10, 10}, screen, {24, 24}},
        {"top right", {1900, 5}, screen, {1920 - 24 - 100, 24}},
        {"bottom left", {3, 1000}, screen, {24, 1080 - 24 - 60}},
        {"bottom right", {1919, 1079}, screen, {1796, 996}},
        {"just right of the middle", {960, 539}, screen, {1796, 24}},
        {"just left of the middle", {959, 540}, screen, {24, 996}},
        {"the second screen's bottom right", {3000, 900}, second, {1920 + 1280 - 124, 940}},
        {"the second screen's top left", {1930, 10}, second, {1944, 24}},
        {"a screen too small for the margins keeps it inside",
         {0, 0},
         QRect(0, 0, 120, 70),
         {20, 10}},
        {"no screen: at the pointer", {5, 6}, QRect(), {5, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CountdownTopLeft(c.pointer, size, c.screen), c.expected);
    }
}

TEST(CountdownPlace, TooltipSaysTheSecondsLeft)
{
    EXPECT_EQ(texts::CountdownTooltip(3), "あと 3 秒でキャプチャします");
    EXPECT_EQ(texts::CountdownTooltip(20), "あと 20 秒でキャプチャします");
}
