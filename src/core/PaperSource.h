#pragma once

namespace tovrimo {

// Where a printer takes its paper from: its trays and feeds, as the program knows them. The
// printing system's own names for them (PPD InputSlot, IPP media-source) are matched to these by
// the printer backend, and the settings file's numbers by the settings' translation table.
enum class PaperSource {
    Upper,
    Lower,
    Middle,
    Manual,
    Envelope,
    EnvelopeManual,
    Auto,
    Tractor,
    SmallFormat,
    LargeFormat,
    LargeCapacity,
    Cassette,
};

}  // namespace tovrimo
