#include "platform/KeySyms.h"

namespace tovrimo {

std::optional<uint32_t> KeysymForKey(Qt::Key key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return keysym::kLetterA + static_cast<uint32_t>(key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keysym::kDigit0 + static_cast<uint32_t>(key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return keysym::kF1 + static_cast<uint32_t>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Space:
        return keysym::kSpace;
    case Qt::Key_Return:
        return keysym::kReturn;
    case Qt::Key_Print:
        return keysym::kPrint;
    default:
        return std::nullopt;
    }
}

}  // namespace tovrimo
