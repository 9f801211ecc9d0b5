#pragma once

#include <QKeyCombination>
#include <QObject>

namespace tovrimo {

// System-wide key combinations, one per hot-key slot.
class HotKeyRegistrar : public QObject {
    Q_OBJECT
public:
    ~HotKeyRegistrar() override = default;
    // Claims the combination (a key with any of Alt, Control and Shift) for the slot. False
    // when the key cannot be expressed on this system, or another program (or another slot)
    // holds the combination already; nothing stays claimed then.
    virtual bool registerHotKey(int slot, QKeyCombination keys) = 0;
    // Releases the slot's combination; a slot that holds none is left alone.
    virtual void unregisterHotKey(int slot) = 0;
    // False when this session offers no system-wide key combinations at all (a Wayland desktop
    // without a global-shortcuts service), so that the options can say so.
    virtual bool offersGlobalHotKeys() const { return true; }
    // Whether a claimed slot's combination is really in force. A desktop may take a claim and
    // bind it later, or never (KDE Plasma 5.27's portal binds nothing); where a claim is
    // decided at once, every claimed slot is bound.
    virtual bool isBound(int slot) const
    {
        (void)slot;
        return true;
    }

signals:
    // A slot's combination was pressed. Sent from the event loop, never inside the platform's
    // event dispatch, so a command it starts may open dialogs.
    void pressed(int slot);
};

}  // namespace tovrimo
