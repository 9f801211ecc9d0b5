#include "output/NamedSettingsTable.h"

#include <algorithm>

namespace tovrimo {

NamedSettingsTable::NamedSettingsTable(std::array<PrintLayout, kNamedSettingsMax>& slots,
                                       int16_t& count)
    : slots_(slots), count_(count)
{
}

int NamedSettingsTable::count() const
{
    return std::clamp<int>(count_, 0, kNamedSettingsMax);
}

std::vector<std::string> NamedSettingsTable::names() const
{
    std::vector<std::string> result;
    for (int i = 0; i < count(); ++i) {
        result.push_back(slots_[i].name);
    }
    return result;
}

NamedSettingsTable::SavePlan NamedSettingsTable::planSave(
    const std::string& name, const std::function<bool(int slot)>& confirmOverwrite) const
{
    SavePlan plan;
    plan.target = count();
    for (int i = 0; i < count(); ++i) {
        if (slots_[i].name != name) {
            continue;
        }
        plan.target = i;
        if (!confirmOverwrite || !confirmOverwrite(i)) {
            plan.outcome = SaveOutcome::Cancelled;
            plan.target = -1;
            plan.overwrite = false;
            return plan;
        }
        plan.overwrite = true;
    }
    if (!plan.overwrite && full()) {
        plan.outcome = SaveOutcome::NoRoom;
        plan.target = -1;
        return plan;
    }
    plan.outcome = SaveOutcome::Store;
    return plan;
}

int NamedSettingsTable::store(const SavePlan& plan, const PrintLayout& layout)
{
    if (plan.outcome != SaveOutcome::Store || plan.target < 0 || plan.target >= kNamedSettingsMax) {
        return -1;
    }
    if (!plan.overwrite) {
        count_ = static_cast<int16_t>(count() + 1);
    }
    slots_[plan.target] = layout;
    return plan.target;
}

void NamedSettingsTable::remove(int slot)
{
    if (!inUse(slot)) {
        return;
    }
    const int n = count();
    for (int i = slot + 1; i < n; ++i) {
        slots_[i - 1] = slots_[i];
    }
    // The freed slot keeps no stale copy that a later save could write out.
    slots_[n - 1] = PrintLayout{};
    count_ = static_cast<int16_t>(n - 1);
}

NamedSettingsTable::Release NamedSettingsTable::decideRelease(bool loading, int lastSet,
                                                              int selectedEntry, int count)
{
    Release r;
    if (loading || lastSet == -1) {
        return r;
    }
    r.release = true;
    if (selectedEntry >= 0 && selectedEntry < count) {
        r.slot = selectedEntry;
    } else if (lastSet >= 0 && lastSet < count) {
        r.slot = lastSet;
    }
    return r;
}

}  // namespace tovrimo
