#include "platform/x11/X11HotKeyRegistrar.h"

#include <xcb/xcb_keysyms.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/x11/X11KeyCodes.h"

// Xlib last: its macros (None, Bool, Status) would otherwise collide with Qt's headers.
#include <X11/Xlib.h>

namespace tovrimo {

namespace {

constexpr uint32_t kKeysymAltL = 0xffe9;
constexpr uint32_t kKeysymNumLock = 0xff7f;
// The eight modifier bits of a key event's state; the rest are pointer buttons.
constexpr uint16_t kModifierBits = 0x00ff;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

std::vector<xcb_keycode_t> KeycodesOf(xcb_connection_t* connection, uint32_t keysym)
{
    std::vector<xcb_keycode_t> codes;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    if (!symbols) return codes;
    if (xcb_keycode_t* list = xcb_key_symbols_get_keycode(symbols, keysym)) {
        for (xcb_keycode_t* p = list; *p != XCB_NO_SYMBOL; ++p) {
            if (std::find(codes.begin(), codes.end(), *p) == codes.end()) codes.push_back(*p);
        }
        std::free(list);
    }
    xcb_key_symbols_free(symbols);
    return codes;
}

bool SlotInRange(int slot)
{
    return slot >= 0 && slot < kHotKeySlots;
}

}  // namespace

X11HotKeyRegistrar::X11HotKeyRegistrar()
{
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        connection_ = x11->connection();
        root_ = static_cast<xcb_window_t>(DefaultRootWindow(x11->display()));
    }
    if (!connection_) return;
    const char xkb[] = "XKEYBOARD";
    XcbReply<xcb_query_extension_reply_t> extension(xcb_query_extension_reply(
        connection_, xcb_query_extension(connection_, sizeof xkb - 1, xkb), nullptr));
    if (extension && extension->present) xkbFirstEvent_ = extension->first_event;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKeyRegistrar::~X11HotKeyRegistrar()
{
    if (!connection_) return;
    for (int slot = 0; slot < kHotKeySlots; ++slot) unregisterHotKey(slot);
    if (auto* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
}

uint16_t X11HotKeyRegistrar::modifierMaskOf(uint32_t keysym) const
{
    const std::vector<xcb_keycode_t> wanted = KeycodesOf(connection_, keysym);
    XcbReply<xcb_get_modifier_mapping_reply_t> reply(xcb_get_modifier_mapping_reply(
        connection_, xcb_get_modifier_mapping(connection_), nullptr));
    if (!reply || wanted.empty()) return 0;
    const xcb_keycode_t* table = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    uint16_t mask = 0;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = table[modifier * perModifier + i];
            if (code != 0 && std::find(wanted.begin(), wanted.end(), code) != wanted.end()) {
                mask |= static_cast<uint16_t>(1u << modifier);
            }
        }
    }
    return mask;
}

uint16_t X11HotKeyRegistrar::lockBits() const
{
    return static_cast<uint16_t>(XCB_MOD_MASK_LOCK | numLockMask_);
}

std::vector<uint16_t> X11HotKeyRegistrar::lockCombinations() const
{
    std::vector<uint16_t> combinations{0, XCB_MOD_MASK_LOCK};
    // Without a NumLock modifier the other two states are the same as the first two.
    if (numLockMask_ != 0 && numLockMask_ != XCB_MOD_MASK_LOCK) {
        combinations.push_back(numLockMask_);
        combinations.push_back(static_cast<uint16_t>(numLockMask_ | XCB_MOD_MASK_LOCK));
    }
    return combinations;
}

X11HotKeyRegistrar::Grab X11HotKeyRegistrar::planGrab(QKeyCombination keys)
{
    Grab grab;
    grab.requested = keys;
    const auto keysym = KeysymForKey(keys.key());
    if (!keysym) return grab;
    grab.keycodes = KeycodesOf(connection_, *keysym);

    // Read the keyboard's modifier layout afresh: it may have changed since the last grab.
    numLockMask_ = modifierMaskOf(kKeysymNumLock);
    uint16_t altMask = modifierMaskOf(kKeysymAltL);
    if (altMask == 0) altMask = XCB_MOD_MASK_1;
    const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
    if (modifiers & Qt::AltModifier) grab.modifiers |= altMask;
    if (modifiers & Qt::ControlModifier) grab.modifiers |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::ShiftModifier) grab.modifiers |= XCB_MOD_MASK_SHIFT;
    grab.modifiers &= static_cast<uint16_t>(~lockBits());
    grab.locks = lockCombinations();
    return grab;
}

bool X11HotKeyRegistrar::registerHotKey(int slot, QKeyCombination keys)
{
    if (!connection_ || !SlotInRange(slot)) return false;
    unregisterHotKey(slot);

    Grab grab = planGrab(keys);
    if (grab.keycodes.empty()) return false;

    // X lets a client grab the same combination twice without complaint; the second slot
    // would then fire together with the first. Refuse it, as a taken combination.
    for (const Grab& other : grabs_) {
        if (other.identifier == 0 || other.modifiers != grab.modifiers) continue;
        for (xcb_keycode_t code : grab.keycodes) {
            if (std::find(other.keycodes.begin(), other.keycodes.end(), code) !=
                other.keycodes.end()) {
                return false;
            }
        }
    }

    struct Attempt {
        xcb_keycode_t keycode;
        uint16_t modifiers;
        xcb_void_cookie_t cookie;
    };
    std::vector<Attempt> attempts;
    for (xcb_keycode_t code : grab.keycodes) {
        for (uint16_t lock : grab.locks) {
            const auto mods = static_cast<uint16_t>(grab.modifiers | lock);
            // owner_events off: the press always reports on the root, even while one of our
            // own windows has the focus.
            attempts.push_back({code, mods,
                                xcb_grab_key_checked(connection_, 0, root_, mods, code,
                                                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)});
        }
    }
    bool taken = false;
    std::vector<const Attempt*> held;
    for (const Attempt& attempt : attempts) {
        // BadAccess: another client holds the combination. Not an error worth telling anyone:
        // the key just stays with its owner.
        if (xcb_generic_error_t* error = xcb_request_check(connection_, attempt.cookie)) {
            taken = true;
            std::free(error);
        } else {
            held.push_back(&attempt);
        }
    }
    if (taken) {
        for (const Attempt* attempt : held) {
            xcb_ungrab_key(connection_, attempt->keycode, root_, attempt->modifiers);
        }
        xcb_flush(connection_);
        return false;
    }

    const std::string name = HotKeyAtomName(slot);
    XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<uint16_t>(name.size()), name.c_str()),
        nullptr));
    // The grab works without its name; a placeholder keeps the slot marked as held.
    grab.identifier = atom ? atom->atom : static_cast<xcb_atom_t>(slot + 1);
    grabs_[slot] = std::move(grab);
    return true;
}

void X11HotKeyRegistrar::ungrab(const Grab& grab)
{
    for (xcb_keycode_t code : grab.keycodes) {
        for (uint16_t lock : grab.locks) {
            xcb_ungrab_key(connection_, code, root_, static_cast<uint16_t>(grab.modifiers | lock));
        }
    }
    xcb_flush(connection_);
}

void X11HotKeyRegistrar::unregisterHotKey(int slot)
{
    if (!connection_ || !SlotInRange(slot) || grabs_[slot].identifier == 0) return;
    ungrab(grabs_[slot]);
    grabs_[slot] = Grab{};
}

xcb_atom_t X11HotKeyRegistrar::identifier(int slot) const
{
    return SlotInRange(slot) ? grabs_[slot].identifier : 0;
}

bool X11HotKeyRegistrar::isKeyboardMappingChange(const xcb_generic_event_t* event) const
{
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_MAPPING_NOTIFY) {
        const auto* mapping = reinterpret_cast<const xcb_mapping_notify_event_t*>(event);
        return mapping->request == XCB_MAPPING_KEYBOARD || mapping->request == XCB_MAPPING_MODIFIER;
    }
    if (xkbFirstEvent_ == 0 || type != xkbFirstEvent_) return false;
    // Every XKB event carries its kind in the second byte: 0 a new keyboard (setxkbmap,
    // a keyboard plugged in), 1 a changed map (xmodmap, a remapped key).
    const uint8_t xkbType = reinterpret_cast<const uint8_t*>(event)[1];
    return xkbType == 0 || xkbType == 1;
}

bool X11HotKeyRegistrar::dispatchPress(const xcb_key_press_event_t* press)
{
    const auto state = static_cast<uint16_t>(press->state & kModifierBits & ~lockBits());
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        const Grab& grab = grabs_[slot];
        if (grab.identifier == 0 || grab.modifiers != state) continue;
        if (std::find(grab.keycodes.begin(), grab.keycodes.end(), press->detail) ==
            grab.keycodes.end()) {
            continue;
        }
        // Leave the native dispatch before the command runs: it may open a modal dialog.
        QMetaObject::invokeMethod(
            &context_, [this, slot] { emit pressed(slot); }, Qt::QueuedConnection);
        return true;
    }
    return false;
}

void X11HotKeyRegistrar::regrabAfterMappingChange()
{
    regrabPending_ = false;
    // Typing on another keyboard, or the first key an input tool sends, also announces a new
    // keyboard, mostly with the same layout. Then the grabs still hold, and they are left
    // alone: releasing them would open a moment in which the press that caused the notice
    // goes past us.
    bool changed = false;
    for (const Grab& grab : grabs_) {
        if (grab.identifier == 0) continue;
        const Grab now = planGrab(grab.requested);
        if (now.keycodes != grab.keycodes || now.modifiers != grab.modifiers ||
            now.locks != grab.locks) {
            changed = true;
            break;
        }
    }
    if (!changed) return;
    // Release everything before grabbing anew: with the keys moved, one slot's new key code may
    // be another slot's old one, and X would let this client hold both grabs at once.
    std::array<Grab, kHotKeySlots> held = grabs_;
    for (Grab& grab : grabs_) {
        if (grab.identifier == 0) continue;
        ungrab(grab);
        grab = Grab{};
    }
    // A key the new layout lacks, or one another program took meanwhile, stays dead, as at
    // registration.
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        if (held[slot].identifier != 0) registerHotKey(slot, held[slot].requested);
    }
}

bool X11HotKeyRegistrar::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if (isKeyboardMappingChange(event)) {
        // setxkbmap sends a burst of these; one regrab after the burst is enough. Qt needs the
        // event as well, to read the new keymap.
        if (!regrabPending_) {
            regrabPending_ = true;
            QMetaObject::invokeMethod(
                &context_, [this] { regrabAfterMappingChange(); }, Qt::QueuedConnection);
        }
        return false;
    }
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS) return false;
    // A grabbed combination normally reports on the root. While one of our popup menus or
    // combo-box lists holds the keyboard, the passive grab cannot take over, and the press comes
    // to that window of ours instead. Both kinds are one and the same press, never two: X
    // delivers each key event once.
    return dispatchPress(reinterpret_cast<const xcb_key_press_event_t*>(event));
}

}  // namespace tovrimo
