#pragma once

#include <QObject>
#include <array>

#include "capture/CaptureCodes.h"
#include "core/CaptureRequest.h"
#include "core/Settings.h"
#include "platform/HotKeyRegistrar.h"
#include "resident/HotKeyAvailability.h"
#include "resident/HotKeyTable.h"

namespace tovrimo {

// The resident program's ten global hot keys: which slots hold a key, and what a pressed key
// runs. The registrar may refuse a combination (another program owns it); such a slot simply
// stays silent. A pressed key's command is emitted as commandPressed.
class HotKeys : public QObject {
    Q_OBJECT
public:
    explicit HotKeys(HotKeyRegistrar& registrar);
    // Releases whatever is still held, so no combination outlives the program's window.
    ~HotKeys();
    HotKeys(const HotKeys&) = delete;
    HotKeys& operator=(const HotKeys&) = delete;

    // Claims the enabled slots' keys; none in a command-line job. A slot that already holds a
    // key is released first, so calling this again never leaves a stale combination behind.
    void registerKeys(const Settings& settings, AppState state);
    // Releases every key this object holds. Driven by what was registered, not by the current
    // settings, so changing the settings first cannot leak a combination.
    void unregisterKeys();
    // For the options dialog: the old keys go, then the new ones come.
    void reregisterKeys(const Settings& settings, AppState state);

    bool isRegistered(int slot) const;
    // Whether this session can have system-wide hot keys at all.
    bool offeredBySession() const;
    // Whether a slot's combination is in force: claimed, and bound by the desktop.
    bool isBound(int slot) const;
    HotKeyAvailability availability() const;
    // Emits the slot's command; a number outside 0..9 does nothing.
    void runSlot(int slot);

signals:
    void commandPressed(const tovrimo::Command& command);

private:
    HotKeyRegistrar& registrar_;
    std::array<bool, kHotKeySlots> registered_{};
    std::array<bool, kHotKeySlots> wanted_{};  // switched on when last registered
};

}  // namespace tovrimo
