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

std::vector<int> SlotsToRegister(const Settings& settings, AppState state)
{
    std::vector<int> slots;
    if (state == AppState::CommandLine) return slots;
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        if (settings.HotKeyOn[slot] == 1) slots.push_back(slot);
    }
    return slots;
}

}  // namespace tovrimo
