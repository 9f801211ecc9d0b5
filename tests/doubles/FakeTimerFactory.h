#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/TimerFactory.h"

namespace tovrimo::test {

// Timers on a simulated clock: nothing fires until the test advances time, so the order and
// the delays of ticks are exact.
class FakeTimer : public Timer {
public:
    void setInterval(int milliseconds) override
    {
        interval_ = milliseconds;
        if (enabled_) remaining_ = interval_;  // like a running QTimer: a new interval restarts
    }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override
    {
        enabled_ = enabled;
        if (enabled) {
            remaining_ = interval_;
            ++timesArmed;
        }
    }
    bool isEnabled() const override { return enabled_; }
    void setHandler(std::function<void()> onTick) override { handler_ = std::move(onTick); }

    // Runs the tick handler as the timer would; false (and nothing happens) while disabled.
    bool fire()
    {
        if (!enabled_) return false;
        remaining_ = interval_;
        ++ticks;
        if (handler_) handler_();
        return true;
    }

    int remaining() const { return remaining_; }
    void elapse(int ms) { remaining_ -= ms; }

    int timesArmed = 0;
    int ticks = 0;

private:
    int interval_ = 0;
    int remaining_ = 0;
    bool enabled_ = false;
    std::function<void()> handler_;
};

class FakeTimerFactory : public TimerFactory {
public:
    std::unique_ptr<Timer> createTimer() override
    {
        auto timer = std::make_unique<FakeTimer>();
        created.push_back(timer.get());
        return timer;
    }

    // Moves the clock forward, firing every timer that comes due on the way, earliest first.
    // A timer with a non-positive interval never comes due, as with a real window timer.
    void advance(int ms)
    {
        for (;;) {
            FakeTimer* next = nullptr;
            for (FakeTimer* t : created)
                if (t->isEnabled() && t->interval() > 0 &&
                    (!next || t->remaining() < next->remaining()))
                    next = t;
            if (!next || next->remaining() > ms) break;
            const int step = std::max(next->remaining(), 0);
            for (FakeTimer* t : created)
                if (t->isEnabled()) t->elapse(step);
            ms -= step;
            now += step;
            next->fire();
        }
        for (FakeTimer* t : created)
            if (t->isEnabled()) t->elapse(ms);
        now += ms;
    }

    std::vector<FakeTimer*> created;
    int now = 0;
};

}  // namespace tovrimo::test
