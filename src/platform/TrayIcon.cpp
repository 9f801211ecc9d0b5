#include "platform/TrayIcon.h"

#include <cstdint>

namespace tovrimo {

std::string CutTooltip(const std::string& utf8)
{
    constexpr size_t kBytes = 63;
    size_t legacyBytes = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
        if (i + len > utf8.size()) break;
        uint32_t cp = lead;
        if (len == 2) cp = ((lead & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
        if (len == 3)
            cp = ((lead & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
        const bool single = cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F);
        const size_t width = single ? 1 : 2;
        if (legacyBytes + width > kBytes) break;
        legacyBytes += width;
        i += len;
    }
    return utf8.substr(0, i);
}

}  // namespace tovrimo
