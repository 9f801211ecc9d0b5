#include "platform/qt/QtTimer.h"

namespace tovrimo {

QtTimer::QtTimer()
{
    timer_.setSingleShot(false);
    // Precise, because a coarse timer may fire up to 5% early and the capture delay exists so
    // the closing menu has repainted before the screen is read.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (handler_) handler_();
    });
}

void QtTimer::setInterval(int milliseconds)
{
    timer_.setInterval(milliseconds);  // restarts the interval when running
}

int QtTimer::interval() const
{
    return timer_.interval();
}

void QtTimer::setEnabled(bool enabled)
{
    if (enabled) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

bool QtTimer::isEnabled() const
{
    return timer_.isActive();
}

void QtTimer::setHandler(std::function<void()> onTick)
{
    handler_ = std::move(onTick);
}

}  // namespace tovrimo
