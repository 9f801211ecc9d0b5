// Arbitrary title templates and field values: every field is replaced, everything else is
// copied byte for byte, and values are inserted as they are (never expanded again).
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/TitleFields.h"

using namespace tovrimo;

namespace {

// Straightforward reference: at each byte, the first field that starts there, else the byte.
std::string Reference(std::string_view templ, const std::string (&values)[5])
{
    const std::string_view fields[] = {kDateField, kTimeField, kComputerNameField, kUserNameField,
                                       kWindowTitleField};
    std::string out;
    size_t pos = 0;
    while (pos < templ.size()) {
        bool matched = false;
        for (size_t f = 0; f < 5 && !matched; ++f) {
            if (templ.substr(pos, fields[f].size()) == fields[f]) {
                out += values[f];
                pos += fields[f].size();
                matched = true;
            }
        }
        if (!matched) out += templ[pos++];
    }
    return out;
}

std::string CleanedName(std::string_view raw)
{
    raw = raw.substr(0, raw.find('\0'));
    const size_t first = raw.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(raw.substr(first, raw.find_last_not_of(' ') - first + 1));
}

}  // namespace

// Input: the template, then up to three values separated by 0x01 bytes (computer name, user
// name, window title).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::string parts[4];
    for (int i = 0; i < 4; ++i) {
        const size_t cut = i < 3 ? rest.find('\x01') : std::string_view::npos;
        parts[i] = std::string(rest.substr(0, cut));
        if (cut == std::string_view::npos) break;
        rest.remove_prefix(cut + 1);
    }
    const std::string& templ = parts[0];

    std::tm t{};
    t.tm_year = static_cast<int>(size % 9000);  // any year the clock could give
    t.tm_mon = static_cast<int>(size % 12);
    t.tm_mday = 1 + static_cast<int>(size % 31);
    t.tm_hour = static_cast<int>(size % 24);
    t.tm_min = static_cast<int>(size % 60);

    TitleFieldSources sources;
    sources.localTime = [&] { return t; };
    sources.computerName = [&] { return std::optional<std::string>(parts[1]); };
    sources.userName = [&]() -> std::optional<std::string> {
        if (parts[2].empty()) return std::nullopt;
        return parts[2];
    };
    sources.capturedWindowTitle = [&] { return parts[3]; };

    char date[64], time[64];
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    std::snprintf(time, sizeof time, "%02d:%02d", t.tm_hour, t.tm_min);
    const std::string values[5] = {date, time, CleanedName(parts[1]), CleanedName(parts[2]),
                                   parts[3]};

    FUZZ_CHECK(ExpandTitleFields(templ, sources) == Reference(templ, values));
    // With no sources at all, every field is simply dropped.
    const std::string empty[5];
    FUZZ_CHECK(ExpandTitleFields(templ, TitleFieldSources{}) == Reference(templ, empty));
    return 0;
}
