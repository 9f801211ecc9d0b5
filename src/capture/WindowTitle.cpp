#include "capture/WindowTitle.h"

namespace tovrimo {

namespace {
bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}
}  // namespace

std::string CapturedTitle(std::string_view rawTitle)
{
    std::string_view title = rawTitle;
    if (title.size() > kMaxWindowTitleBytes) {
        size_t cut = kMaxWindowTitleBytes;
        // Back off to the start of the character the cut would split.
        while (cut > 0 && IsContinuationByte(title[cut])) --cut;
        title = title.substr(0, cut);
    }
    const size_t first = title.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const size_t last = title.find_last_not_of(' ');
    return std::string(title.substr(first, last - first + 1));
}

}  // namespace tovrimo
