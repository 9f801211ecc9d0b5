#include "resident/HotKeyTable.h"

namespace tovrimo {

namespace {

bool ValidSlot(int slot)
{
    return slot >= 0 && slot < kHotKeySlots;
}

}  // namespace

std::optional<HotKeyCommand> CommandForSlot(int slot)
{
    if (!ValidSlot(slot)) return std::nullopt;
    return static_cast<HotKeyCommand>(slot);
}

HotKeyModifiers ModifiersForSlot(const Settings& settings, int slot)
{
    if (!ValidSlot(slot)) return HotKeyModNone;
    HotKeyModifiers mask = HotKeyModNone;
    if (settings.HotKeyALT[slot] == 1) mask |= HotKeyModAlt;
    if (settings.HotKeyCTRL[slot] == 1) mask |= HotKeyModControl;
    if (settings.HotKeySHIFT[slot] == 1) mask |= HotKeyModShift;
    return mask;
}

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

std::vector<int> SlotsToRegister(const Settings& settings, AppState state)
{
    std::vector<int> slots;
    if (state == AppState::CommandLine) return slots;
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        if (settings.HotKeyOn[slot] == 1) slots.push_back(slot);
    }
    return slots;
}

std::string HotKeyAtomName(int slot)
{
    return "TVRMHOTKEY" + std::to_string(slot);
}

}  // namespace tovrimo
