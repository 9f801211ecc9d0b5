#pragma once

#include <cstdint>
#include <optional>

#include "platform/TrayIcon.h"

namespace tovrimo {

// Turns the activations a tray host reports into the clicks the resident window reacts to.
// An XEmbed tray reports a press and, for the second press of a double click, a double click.
// A StatusNotifierItem host calls Activate once per click, so there a double click is two
// activations within the desktop's double-click interval. Either way the first click of a double
// click is a left press of its own, and the second one is the double click.
class TrayClickSequence {
public:
    enum class Activation { Click, DoubleClick, Context, Other };

    explicit TrayClickSequence(int doubleClickIntervalMs) : intervalMs_(doubleClickIntervalMs) {}

    // The click an activation stands for; nothing for activations that are no click.
    std::optional<TrayClick> interpret(Activation activation, int64_t nowMs);

private:
    int intervalMs_;
    bool pendingFirstClick_ = false;
    int64_t firstClickMs_ = 0;
};

}  // namespace tovrimo
