#pragma once

#include "platform/TimerFactory.h"

namespace tovrimo {

class QtTimerFactory : public TimerFactory {
public:
    std::unique_ptr<Timer> createTimer() override;
};

}  // namespace tovrimo
