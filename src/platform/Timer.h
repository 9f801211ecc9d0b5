#pragma once

#include <functional>

namespace tovrimo {

// A repeating timer on the program's one thread. It ticks every interval while enabled;
// enabling it (again) starts a fresh interval.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setHandler(std::function<void()> onTick) = 0;
};

}  // namespace tovrimo
