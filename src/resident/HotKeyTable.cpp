#include "resident/HotKeyTable.h"

namespace tovrimo {

namespace {

bool ValidSlot(int slot)
{
    return slot >= 0 && slot < kHotKeySlots;
}

}  // namespace

HotKeyModifiers ModifiersForSlot(const Settings& settings, int slot)
{
    if (!ValidSlot(slot)) return HotKeyModNone;
    HotKeyModifiers mask = HotKeyModNone;
    if (settings.hotKeyAlt[slot]) mask |= HotKeyModAlt;
    if (settings.hotKeyCtrl[slot]) mask |= HotKeyModControl;
    if (settings.hotKeyShift[slot]) mask |= HotKeyModShift;
    return mask;
}

std::vector<int> SlotsToRegister(const Settings& settings, AppState state)
{
    std::vector<int> slots;
    if (state == AppState::CommandLine) return slots;
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        if (settings.hotKeyOn[slot]) slots.push_back(slot);
    }
    return slots;
}

}  // namespace tovrimo
