#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/Settings.h"

namespace tovrimo {

// Why the options dialog refuses to apply its values, in the order they are checked.
enum class OptionsProblem {
    TitleEmpty,          // nothing but blanks: the settings file would read it back as empty
    TitleReserved,       // exactly "0"
    DoubleClickInvalid,  // copy from the clipboard is no action
};

inline constexpr int kMaxSelfTimeSeconds = kSelfTimeMaxSeconds;

// The first problem of an edited settings record, or nothing when it may be applied.
std::optional<OptionsProblem> ValidateOptions(const Settings& work);

// Puts the options the dialog edits into `to`. The rest of the record (the named-settings
// count and selection, the icon flag, the format version) belongs to others and may have
// changed while the dialog was open, so it is left as it is.
void CopyEditedOptions(const Settings& from, Settings& to);

// The message the user sees for a problem.
std::string_view OptionsProblemText(OptionsProblem problem);

// Copying needs a picture from the screen or a file, so the clipboard source is offered for
// every double-click action but copy.
bool ClipboardSourceOffered(std::optional<CaptureDestination> action);

// The seconds box takes digits and Backspace only; keys that type nothing (arrows, Tab,
// Escape ...) are not its business.
bool SecondsKeyTyped(char32_t typed);

// The seconds box read as a number: an empty box is 0, more than kMaxSelfTimeSeconds is
// refused (nothing).
std::optional<int16_t> ReadSecondsBox(std::string_view text);

}  // namespace tovrimo
