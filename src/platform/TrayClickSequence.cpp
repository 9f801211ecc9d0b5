#include "platform/TrayClickSequence.h"

namespace tovrimo {

TrayNotification TrayClickSequence::interpret(Activation activation, int64_t nowMs)
{
    switch (activation) {
    case Activation::Click:
        if (pendingFirstClick_ && nowMs - firstClickMs_ >= 0 &&
            nowMs - firstClickMs_ <= intervalMs_) {
            // A third click starts a new pair rather than making a second double click.
            pendingFirstClick_ = false;
            return TrayNotification::DoubleClick;
        }
        pendingFirstClick_ = true;
        firstClickMs_ = nowMs;
        return TrayNotification::LeftDown;
    case Activation::DoubleClick:
        pendingFirstClick_ = false;
        return TrayNotification::DoubleClick;
    case Activation::Context:
        pendingFirstClick_ = false;
        return TrayNotification::RightDown;
    case Activation::Other:
        break;
    }
    return TrayNotification::Other;
}

}  // namespace tovrimo
