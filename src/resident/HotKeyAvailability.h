#pragma once

namespace tovrimo {

// What the session does with the hot keys, as the options and the notices tell the user.
enum class HotKeyAvailability {
    Working,      // at least one slot's combination is in force
    NoneEnabled,  // the session binds keys, but no slot is switched on
    NoneBound,    // slots are switched on, but the desktop bound none of them
    NotOffered,   // the session has no system-wide hot keys at all
};

}  // namespace tovrimo
