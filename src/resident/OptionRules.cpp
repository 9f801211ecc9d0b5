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

constexpr int16_t kActionCopy = 2;
constexpr int16_t kSourceClipboard = 5;

}  // namespace

std::optional<OptionsProblem> ValidateOptions(const Settings& work)
{
    if (IsBlank(work.Title)) return OptionsProblem::TitleEmpty;
    if (work.Title == "0") return OptionsProblem::TitleReserved;
    if (work.DoubleClick == kActionCopy && work.DoubleClickDo == kSourceClipboard)
        return OptionsProblem::DoubleClickInvalid;
    return std::nullopt;
}

void CopyEditedOptions(const Settings& from, Settings& to)
{
    to.Title = from.Title;
    to.Icon = from.Icon;
    to.SelfTimer = from.SelfTimer;
    to.SelfTime = from.SelfTime;
    to.IconDelete = from.IconDelete;
    to.ConfirmBeforePrint = from.ConfirmBeforePrint;
    to.ReversePrint = from.ReversePrint;
    to.DoubleClick = from.DoubleClick;
    to.DoubleClickDo = from.DoubleClickDo;
    to.HotKeyOn = from.HotKeyOn;
    to.HotKeyALT = from.HotKeyALT;
    to.HotKeySHIFT = from.HotKeySHIFT;
    to.HotKeyCTRL = from.HotKeyCTRL;
    to.HotKeyButton = from.HotKeyButton;
    to.IconCapture = from.IconCapture;
    to.FullDetailPrint = from.FullDetailPrint;
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

bool ClipboardSourceOffered(int16_t doubleClick)
{
    return doubleClick != kActionCopy;
}

std::optional<int16_t> ActionChoiceFor(int16_t doubleClick)
{
    if (doubleClick >= 1 && doubleClick <= 4) return doubleClick;
    return std::nullopt;
}

int16_t SourceChoiceFor(int16_t doubleClickDo)
{
    return doubleClickDo >= 2 && doubleClickDo <= 5 ? doubleClickDo : int16_t{1};
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
