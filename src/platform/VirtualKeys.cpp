#include "platform/VirtualKeys.h"

namespace tovrimo {

std::optional<uint32_t> KeysymForVirtualKey(int virtualKey)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return keysym::kLetterA + static_cast<uint32_t>(virtualKey - 'A');
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        return keysym::kDigit0 + static_cast<uint32_t>(virtualKey - '0');
    }
    if (virtualKey >= 112 && virtualKey <= 123) {
        return keysym::kF1 + static_cast<uint32_t>(virtualKey - 112);
    }
    switch (virtualKey) {
    case 32:
        return keysym::kSpace;
    case 13:
        return keysym::kReturn;
    case 44:
        return keysym::kPrint;
    default:
        return std::nullopt;
    }
}

}  // namespace tovrimo
