#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/HotKeyRegistrar.h"

namespace tovrimo::test {

// Logs "register:<slot>:<modifiers>:<virtual key>" and "unregister:<slot>" in order. A slot in
// `refuse` fails to register, as a combination owned by another program would. press() plays
// a key press of a held slot. A slot in `unbound` is taken but not bound, as by a desktop
// that accepts a claim and binds nothing.
class FakeHotKeyRegistrar : public HotKeyRegistrar {
public:
    bool registerHotKey(int slot, HotKeyModifiers modifiers, int virtualKey) override
    {
        calls.push_back("register:" + std::to_string(slot) + ":" + std::to_string(modifiers) + ":" +
                        std::to_string(virtualKey));
        if (refuse.count(slot)) return false;
        held[slot] = {modifiers, virtualKey};
        return true;
    }
    void unregisterHotKey(int slot) override
    {
        calls.push_back("unregister:" + std::to_string(slot));
        held.erase(slot);
    }

    bool offersGlobalHotKeys() const override { return offered; }
    bool isBound(int slot) const override { return held.count(slot) && !unbound.count(slot); }

    // Only a held slot reaches the program, the way an unclaimed key never arrives.
    bool press(int slot)
    {
        if (!held.count(slot) || !onPressed) return false;
        onPressed(slot);
        return true;
    }

    struct Combination {
        HotKeyModifiers modifiers;
        int virtualKey;
    };
    std::vector<std::string> calls;
    std::map<int, Combination> held;
    std::set<int> refuse;
    // Claimed but never bound by the desktop, as a portal that binds nothing.
    std::set<int> unbound;
    bool offered = true;
};

}  // namespace tovrimo::test
