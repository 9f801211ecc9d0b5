#include "resident/HotKeyTable.h"

#include "core/SettingsFileCodes.h"

namespace tovrimo {

namespace {

bool ValidSlot(int slot)
{
    return slot >= 0 && slot < kHotKeySlots;
}

}  // namespace

QKeyCombination KeysForSlot(const Settings& settings, int slot)
{
    if (!ValidSlot(slot)) return QKeyCombination(Qt::Key_unknown);
    const auto index = static_cast<size_t>(slot);
    const HotKeyInFile entry{settings.hotKeyCode[index], settings.hotKeyAlt[index],
                             settings.hotKeyCtrl[index], settings.hotKeyShift[index]};
    if (const std::optional<QKeyCombination> keys = HotKeyFromFile(entry)) return *keys;
    return QKeyCombination(ModifiersFromFile(entry.alt, entry.control, entry.shift),
                           Qt::Key_unknown);
}

std::vector<int> SlotsToRegister(const Settings& settings, AppState state)
{
    std::vector<int> enabled;
    if (state == AppState::CommandLine) return enabled;
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        if (settings.hotKeyOn[slot]) enabled.push_back(slot);
    }
    return enabled;
}

}  // namespace tovrimo
