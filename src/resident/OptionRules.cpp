#include "resident/OptionRules.h"

#include "resident/OptionTexts.h"

namespace tovrimo {

namespace {

// Blank in the settings file's sense (it drops ASCII blanks around values) or in the user's
// (the ideographic space looks just as empty in a tooltip).
bool IsBlank(std::string_view text)
{
    constexpr std::string_view kIdeographicSpace = "\u3000";
    while (!text.empty()) {
        const char c = text.front();
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') {
            text.remove_prefix(1);
        } else if (text.starts_with(kIdeographicSpace)) {
            text.remove_prefix(kIdeographicSpace.size());
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<OptionsProblem> ValidateOptions(const Settings& work)
{
    if (IsBlank(work.title)) return OptionsProblem::TitleEmpty;
    if (work.title == "0") return OptionsProblem::TitleReserved;
    if (work.doubleClickDestination == CaptureDestination::Clipboard &&
        work.doubleClickSource == CaptureSource::Clipboard)
        return OptionsProblem::DoubleClickInvalid;
    return std::nullopt;
}

void CopyEditedOptions(const Settings& from, Settings& to)
{
    to.title = from.title;
    to.iconPath = from.iconPath;
    to.selfTimerOn = from.selfTimerOn;
    to.selfTimerSeconds = from.selfTimerSeconds;
    to.hideIconWhileCapturing = from.hideIconWhileCapturing;
    to.confirmBeforePrint = from.confirmBeforePrint;
    to.reverseColours = from.reverseColours;
    to.doubleClickDestination = from.doubleClickDestination;
    to.doubleClickSource = from.doubleClickSource;
    to.hotKeyOn = from.hotKeyOn;
    to.hotKeyAlt = from.hotKeyAlt;
    to.hotKeyShift = from.hotKeyShift;
    to.hotKeyCtrl = from.hotKeyCtrl;
    to.hotKeyCode = from.hotKeyCode;
    to.captureCursor = from.captureCursor;
    to.fullDetailPrint = from.fullDetailPrint;
    to.showCountdown = from.showCountdown;
}

std::string_view OptionsProblemText(OptionsProblem problem)
{
    switch (problem) {
    case OptionsProblem::TitleEmpty:
        return option_texts::kTitleEmpty;
    case OptionsProblem::TitleReserved:
        return option_texts::kTitleZero;
    case OptionsProblem::DoubleClickInvalid:
        return option_texts::kDoubleClickInvalid;
    }
    return {};
}

bool ClipboardSourceOffered(std::optional<CaptureDestination> action)
{
    return action != CaptureDestination::Clipboard;
}

bool SecondsKeyTyped(char32_t typed)
{
    return (typed >= U'0' && typed <= U'9') || typed == U'\b';
}

std::optional<int16_t> ReadSecondsBox(std::string_view text)
{
    // Leading digits count, the way the number was always read; the box only takes digits,
    // but pasted text may hold anything.
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kMaxSelfTimeSeconds) return std::nullopt;
    }
    return static_cast<int16_t>(value);
}

}  // namespace tovrimo
