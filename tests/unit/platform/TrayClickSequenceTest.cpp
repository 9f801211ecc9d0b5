#include <gtest/gtest.h>

#include <vector>

#include "platform/TrayClickSequence.h"

using namespace tovrimo;
using Act = TrayClickSequence::Activation;
using N = TrayClick;

namespace {

struct Step {
    Act activation;
    int64_t atMs;
    std::optional<TrayClick> expected;
};

void Play(const char* name, int intervalMs, const std::vector<Step>& steps)
{
    TrayClickSequence sequence(intervalMs);
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(sequence.interpret(steps[i].activation, steps[i].atMs), steps[i].expected)
            << name << ", step " << i;
}

}  // namespace

TEST(TrayClickSequence, ActivationsBecomeClicksOnTheIcon)
{
    // A StatusNotifierItem host: one Activate per click (81 ms apart measured on XFCE).
    Play("two activations within the interval", 400,
         {{Act::Click, 1000, N::Left}, {Act::Click, 1081, N::Double}});
    Play("exactly at the interval", 400,
         {{Act::Click, 1000, N::Left}, {Act::Click, 1400, N::Double}});
    Play("just beyond the interval", 400,
         {{Act::Click, 1000, N::Left}, {Act::Click, 1401, N::Left}});
    Play("a longer desktop interval", 900,
         {{Act::Click, 0, N::Left}, {Act::Click, 850, N::Double}});
    Play("three quick clicks: a double click, then a new first click", 400,
         {{Act::Click, 0, N::Left},
          {Act::Click, 100, N::Double},
          {Act::Click, 200, N::Left},
          {Act::Click, 300, N::Double}});
    Play("a slow click after a fast pair", 400,
         {{Act::Click, 0, N::Left}, {Act::Click, 100, N::Double}, {Act::Click, 2000, N::Left}});
    // An XEmbed tray: Qt reports the second press as a double click itself.
    Play("press then double click", 400,
         {{Act::Click, 0, N::Left}, {Act::DoubleClick, 90, N::Double}, {Act::Click, 180, N::Left}});
    Play("a right click between two clicks breaks the pair", 400,
         {{Act::Click, 0, N::Left}, {Act::Context, 50, N::Right}, {Act::Click, 100, N::Left}});
    Play("the middle button and the like", 400,
         {{Act::Other, 0, std::nullopt}, {Act::Click, 10, N::Left}});
    Play("a clock that goes back does not make a double click", 400,
         {{Act::Click, 5000, N::Left}, {Act::Click, 4000, N::Left}});
}
