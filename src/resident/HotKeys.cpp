#include "resident/HotKeys.h"

namespace tovrimo {

HotKeys::HotKeys(HotKeyRegistrar& registrar, Commands commands)
    : registrar_(registrar), commands_(std::move(commands))
{
    registrar_.onPressed = [this](int slot) { RunHotKeyCommand(slot); };
}

HotKeys::~HotKeys()
{
    UnregisterHotKeys();
    registrar_.onPressed = nullptr;
}

void HotKeys::RegisterHotKeys(const Settings& settings, AppState state)
{
    for (int slot : SlotsToRegister(settings, state)) {
        if (registered_[slot]) {
            registrar_.unregisterHotKey(slot);
            registered_[slot] = false;
        }
        registered_[slot] = registrar_.registerHotKey(slot, ModifiersForSlot(settings, slot),
                                                      settings.hotKeyCode[slot]);
    }
}

void HotKeys::UnregisterHotKeys()
{
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        if (!registered_[slot]) continue;
        registrar_.unregisterHotKey(slot);
        registered_[slot] = false;
    }
}

void HotKeys::ReRegisterHotKeys(const Settings& settings, AppState state)
{
    UnregisterHotKeys();
    RegisterHotKeys(settings, state);
}

bool HotKeys::isRegistered(int slot) const
{
    return slot >= 0 && slot < kHotKeySlots && registered_[slot];
}

void HotKeys::RunHotKeyCommand(int slot)
{
    const auto command = CommandForSlot(slot);
    if (!command) return;
    if (*command == HotKeyCommand::CopyActiveWindowNow) {
        if (commands_.copyActiveWindowNow) commands_.copyActiveWindowNow();
        return;
    }
    if (commands_.runMenuCommand) commands_.runMenuCommand(*command);
}

}  // namespace tovrimo
