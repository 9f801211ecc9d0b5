#include <gtest/gtest.h>

#include <vector>

#include "platform/TrayClickSequence.h"

using namespace tovrimo;
using Act = TrayClickSequence::Activation;
using N = TrayNotification;

namespace {

struct Step {
    Act activation;
    int64_t atMs;
    N expected;
};

void Play(const char* name, int intervalMs, const std::vector<Step>& steps)
{
    TrayClickSequence sequence(intervalMs);
    for (size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(sequence.interpret(steps[i].activation, steps[i].atMs), steps[i].expected)
            << name << ", step " << i;
}

}  // namespace

TEST(TrayClickSequence, ActivationsBecomeTheMouseMessagesOfTheIcon)
{
    // A StatusNotifierItem host: one Activate per click (81 ms apart measured on XFCE).
    Play("two activations within the interval", 400,
         {{Act::Click, 1000, N::LeftDown}, {Act::Click, 1081, N::DoubleClick}});
    Play("exactly at the interval", 400,
         {{Act::Click, 1000, N::LeftDown}, {Act::Click, 1400, N::DoubleClick}});
    Play("just beyond the interval", 400,
         {{Act::Click, 1000, N::LeftDown}, {Act::Click, 1401, N::LeftDown}});
    Play("a longer desktop interval", 900,
         {{Act::Click, 0, N::LeftDown}, {Act::Click, 850, N::DoubleClick}});
    Play("three quick clicks: a double click, then a new first click", 400,
         {{Act::Click, 0, N::LeftDown},
          {Act::Click, 100, N::DoubleClick},
          {Act::Click, 200, N::LeftDown},
          {Act::Click, 300, N::DoubleClick}});
    Play("a slow click after a fast pair", 400,
         {{Act::Click, 0, N::LeftDown},
          {Act::Click, 100, N::DoubleClick},
          {Act::Click, 2000, N::LeftDown}});
    // An XEmbed tray: Qt reports the second press as a double click itself.
    Play("press then double click", 400,
         {{Act::Click, 0, N::LeftDown},
          {Act::DoubleClick, 90, N::DoubleClick},
          {Act::Click, 180, N::LeftDown}});
    Play("a right click between two clicks breaks the pair", 400,
         {{Act::Click, 0, N::LeftDown},
          {Act::Context, 50, N::RightDown},
          {Act::Click, 100, N::LeftDown}});
    Play("the middle button and the like", 400,
         {{Act::Other, 0, N::Other}, {Act::Click, 10, N::LeftDown}});
    Play("a clock that goes back does not make a double click", 400,
         {{Act::Click, 5000, N::LeftDown}, {Act::Click, 4000, N::LeftDown}});
}
