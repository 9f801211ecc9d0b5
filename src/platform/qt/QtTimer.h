#pragma once

#include <QTimer>

#include "platform/Timer.h"

namespace tovrimo {

// A repeating QTimer on the GUI thread.
class QtTimer : public Timer {
public:
    QtTimer();
    void setInterval(int milliseconds) override;
    int interval() const override;
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;
    void setHandler(std::function<void()> onTick) override;

private:
    QTimer timer_;
    std::function<void()> handler_;
};

}  // namespace tovrimo
