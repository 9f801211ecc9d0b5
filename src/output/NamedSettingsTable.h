#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Settings.h"

namespace tovrimo {

// The named print settings as the print dialog manages them: slots 0 .. count - 1 are in use,
// in list order; the rest of the 101 slots are free. Works on the program's own table and
// count, so every change is visible to whoever saves the settings afterwards.
class NamedSettingsTable {
public:
    NamedSettingsTable(std::array<PrintLayout, kNamedSettingsMax>& slots, int16_t& count);

    // Slots in use; a count read from a damaged file is kept within the table.
    int count() const;
    bool full() const { return count() >= kNamedSettingsMax; }
    std::vector<std::string> names() const;
    const PrintLayout& at(int slot) const { return slots_[slot]; }
    bool inUse(int slot) const { return slot >= 0 && slot < count(); }

    enum class SaveOutcome {
        Store,      // write to `target` (a new slot at the end unless `overwrite`)
        Cancelled,  // the user declined to overwrite a setting of that name
        NoRoom,     // a new name, but all slots are in use: nothing may be written
    };
    struct SavePlan {
        SaveOutcome outcome = SaveOutcome::Cancelled;
        int target = -1;
        bool overwrite = false;
    };

    // Where a layout saved under `name` goes. Names are compared exactly (case and width
    // matter). `confirmOverwrite` is asked for every slot of that name in list order; the
    // last one confirmed becomes the target, and one refusal cancels the whole save.
    SavePlan planSave(const std::string& name,
                      const std::function<bool(int slot)>& confirmOverwrite) const;

    // Carries out a plan of outcome Store; returns the slot written.
    int store(const SavePlan& plan, const PrintLayout& layout);

    // Removes a slot in use; the ones behind it move up one place.
    void remove(int slot);

    // What the release step does when an edit starts from a chosen setting.
    struct Release {
        bool release = false;  // forget the choice
        int slot = -1;         // and copy this slot into the working layout first (-1: none)
    };
    // Nothing happens while the dialog fills its controls or when no setting is chosen. The
    // slot copied back is the list's selected entry, or the chosen one when the list lost its
    // selection to typed text.
    static Release decideRelease(bool loading, int lastSet, int selectedEntry, int count);

private:
    std::array<PrintLayout, kNamedSettingsMax>& slots_;
    int16_t& count_;
};

}  // namespace tovrimo
