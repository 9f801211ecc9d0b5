#pragma once

#include <memory>

#include "platform/Timer.h"

namespace tovrimo {

class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    // A new timer, disabled.
    virtual std::unique_ptr<Timer> createTimer() = 0;
};

}  // namespace tovrimo
