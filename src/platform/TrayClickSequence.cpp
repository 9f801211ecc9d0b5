#include "platform/TrayClickSequence.h"

namespace tovrimo {

std::optional<TrayClick> TrayClickSequence::interpret(Activation activation, int64_t nowMs)
{
    switch (activation) {
    case Activation::Click:
        if (pendingFirstClick_ && nowMs - firstClickMs_ >= 0 &&
            nowMs - firstClickMs_ <= intervalMs_) {
            // A third click starts a new pair rather than making a second double click.
            pendingFirstClick_ = false;
            return TrayClick::Double;
        }
        pendingFirstClick_ = true;
        firstClickMs_ = nowMs;
        return TrayClick::Left;
    case Activation::DoubleClick:
        pendingFirstClick_ = false;
        return TrayClick::Double;
    case Activation::Context:
        pendingFirstClick_ = false;
        return TrayClick::Right;
    case Activation::Other:
        break;
    }
    return std::nullopt;
}

}  // namespace tovrimo
