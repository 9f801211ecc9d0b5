#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <array>
#include <vector>

#include "core/Settings.h"
#include "platform/HotKeyRegistrar.h"

namespace tovrimo {

// Global hot keys as passive key grabs on the root window of the application's own X
// connection. X compares the lock modifiers too, so each combination is grabbed once for
// every state of CapsLock and NumLock; otherwise a key would go dead whenever NumLock is on.
// The grabs name key codes, so they are made again whenever the keyboard mapping changes.
class X11HotKeyRegistrar : public HotKeyRegistrar, public QAbstractNativeEventFilter {
public:
    X11HotKeyRegistrar();
    ~X11HotKeyRegistrar() override;
    X11HotKeyRegistrar(const X11HotKeyRegistrar&) = delete;
    X11HotKeyRegistrar& operator=(const X11HotKeyRegistrar&) = delete;

    bool registerHotKey(int slot, QKeyCombination keys) override;
    void unregisterHotKey(int slot) override;

    // The atom that identifies the slot's grab while it is held; 0 when it holds none.
    xcb_atom_t identifier(int slot) const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        xcb_atom_t identifier = 0;
        // As asked for: what the grab is made again from after a keyboard mapping change.
        QKeyCombination requested;
        uint16_t modifiers = 0;  // X modifier bits without the lock bits
        std::vector<xcb_keycode_t> keycodes;
        std::vector<uint16_t> locks;  // the lock states grabbed, to release exactly those
    };

    // The grab the combination needs on the keyboard as it is now; no key codes when the
    // keyboard has no such key.
    Grab planGrab(QKeyCombination keys);
    std::vector<uint16_t> lockCombinations() const;
    uint16_t modifierMaskOf(uint32_t keysym) const;
    uint16_t lockBits() const;
    void ungrab(const Grab& grab);
    bool isKeyboardMappingChange(const xcb_generic_event_t* event) const;
    bool dispatchPress(const xcb_key_press_event_t* press);
    void regrabAfterMappingChange();

    xcb_connection_t* connection_ = nullptr;
    uint16_t numLockMask_ = 0;
    // Receiver of the queued press notifications; they die with it.
    QObject context_;
    xcb_window_t root_ = 0;
    // First event code of the XKEYBOARD extension, 0 when the server has none. Qt speaks XKB
    // on this connection, and the server then tells it of a new keymap with XKB's own events
    // instead of the core MappingNotify.
    uint8_t xkbFirstEvent_ = 0;
    bool regrabPending_ = false;
    std::array<Grab, kHotKeySlots> grabs_{};
};

}  // namespace tovrimo
