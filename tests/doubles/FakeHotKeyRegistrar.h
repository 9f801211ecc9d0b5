#pragma once

#include <QKeySequence>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/HotKeyRegistrar.h"

namespace tovrimo::test {

// Logs "register:<slot>:<keys>" (keys as "Ctrl+Alt+P", "Shift+F5", "none" for Qt::Key_unknown)
// and "unregister:<slot>" in order. A slot in `refuse` fails to register, as a combination
// owned by another program would. press() plays a key press of a held slot. A slot in
// `unbound` is taken but not bound, as by a desktop that accepts a claim and binds nothing.
class FakeHotKeyRegistrar : public HotKeyRegistrar {
public:
    bool registerHotKey(int slot, QKeyCombination keys) override
    {
        calls.push_back("register:" + std::to_string(slot) + ":" + Describe(keys));
        if (refuse.count(slot)) return false;
        held[slot] = keys;
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
        if (!held.count(slot) || pressListeners() == 0) return false;
        emit pressed(slot);
        return true;
    }
    // How many listen to the presses.
    int pressListeners() const { return receivers(SIGNAL(pressed(int))); }

    static std::string Describe(QKeyCombination keys)
    {
        std::string text;
        const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
        if (modifiers & Qt::ControlModifier) text += "Ctrl+";
        if (modifiers & Qt::AltModifier) text += "Alt+";
        if (modifiers & Qt::ShiftModifier) text += "Shift+";
        if (modifiers & Qt::MetaModifier) text += "Meta+";
        if (keys.key() == Qt::Key_unknown) return text + "none";
        return text + QKeySequence(QKeyCombination(keys.key()))
                          .toString(QKeySequence::PortableText)
                          .toStdString();
    }

    std::vector<std::string> calls;
    std::map<int, QKeyCombination> held;
    std::set<int> refuse;
    // Claimed but never bound by the desktop, as a portal that binds nothing.
    std::set<int> unbound;
    bool offered = true;
};

}  // namespace tovrimo::test
