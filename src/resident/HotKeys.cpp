#include "resident/HotKeys.h"

#include "core/SettingsFileCodes.h"

namespace tovrimo {

HotKeys::HotKeys(HotKeyRegistrar& registrar) : registrar_(registrar)
{
    connect(&registrar_, &HotKeyRegistrar::pressed, this, &HotKeys::runSlot);
}

HotKeys::~HotKeys()
{
    unregisterKeys();
}

void HotKeys::registerKeys(const Settings& settings, AppState state)
{
    for (int slot : SlotsToRegister(settings, state)) {
        wanted_[slot] = true;
        if (registered_[slot]) {
            registrar_.unregisterHotKey(slot);
            registered_[slot] = false;
        }
        registered_[slot] = registrar_.registerHotKey(slot, KeysForSlot(settings, slot));
    }
}

void HotKeys::unregisterKeys()
{
    wanted_ = {};
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        if (!registered_[slot]) continue;
        registrar_.unregisterHotKey(slot);
        registered_[slot] = false;
    }
}

void HotKeys::reregisterKeys(const Settings& settings, AppState state)
{
    unregisterKeys();
    registerKeys(settings, state);
}

bool HotKeys::offeredBySession() const
{
    return registrar_.offersGlobalHotKeys();
}

bool HotKeys::isBound(int slot) const
{
    return isRegistered(slot) && registrar_.isBound(slot);
}

HotKeyAvailability HotKeys::availability() const
{
    if (!offeredBySession()) return HotKeyAvailability::NotOffered;
    bool wanted = false;
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        if (isBound(slot)) return HotKeyAvailability::Working;
        wanted = wanted || wanted_[slot];
    }
    return wanted ? HotKeyAvailability::NoneBound : HotKeyAvailability::NoneEnabled;
}

bool HotKeys::isRegistered(int slot) const
{
    return slot >= 0 && slot < kHotKeySlots && registered_[slot];
}

void HotKeys::runSlot(int slot)
{
    const std::optional<Command> command = HotKeySlotCommand(slot);
    if (command) emit commandPressed(*command);
}

}  // namespace tovrimo
