#include "core/CommandLine.h"

#include <cctype>
#include <cstdint>
#include <string_view>

#include "core/IniValues.h"

namespace tovrimo {

std::vector<std::string> SplitCommandLine(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    const std::string trimmed =
        first == std::string::npos ? std::string() : text.substr(first, last - first + 1);

    std::vector<std::string> tokens;
    std::string current;
    for (char c : trimmed) {
        if (c == ' ' || c == '\t') {
            if (tokens.size() < kMaxCommandArgs) tokens.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (tokens.size() < kMaxCommandArgs) tokens.push_back(current);
    return tokens;
}

}  // namespace tovrimo

namespace tovrimo {

namespace {

bool IsOneOf(const std::string& s, std::initializer_list<const char*> options)
{
    for (const char* o : options)
        if (s == o) return true;
    return false;
}

std::string TrimSpaces(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The window id as given after "/h=": "0x" (or "0X") and hexadecimal digits, the form
// xwininfo prints, taken as the id's 32 bits; otherwise read like a 32-bit number
// of the settings file, where beyond the range counts as the nearest end of it.
int32_t ReadWindowHandle(std::string_view text)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
                     std::isxdigit(static_cast<unsigned char>(text[2]));
    if (!hex) return ReadIniInt32(text);
    uint64_t value = 0;
    for (size_t i = 2; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        value = value * 16 + static_cast<uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
        // More than 32 bits names no window: the largest id stands for all of them.
        if (value > UINT32_MAX) return static_cast<int32_t>(UINT32_MAX);
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace

CommandJob ParseCommandSwitches(const std::vector<std::string>& tokens,
                                const std::string& initialSettingName)
{
    CommandJob job;
    job.settingName = initialSettingName;
    for (const auto& token : tokens) {
        // A two-character switch only matches a two-character token: a longer token has a
        // different three-character prefix.
        const std::string prefix = token.substr(0, 3);
        if (IsOneOf(prefix, {"/d", "/D"})) {
            job.request = CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer, true};
        } else if (IsOneOf(prefix, {"/a", "/A"})) {
            job.request =
                CaptureRequest{CaptureSource::ActiveWindow, CaptureDestination::Printer, true};
        } else if (IsOneOf(prefix, {"/r", "/R"})) {
            job.request = CaptureRequest{CaptureSource::Region, CaptureDestination::Printer, true};
        } else if (IsOneOf(prefix, {"/c", "/C", "-c", "-C"})) {
            job.confirm = true;
        } else if (IsOneOf(prefix, {"/h=", "/H=", "/h:", "/H:"})) {
            // Only 0 stands for the active window; any other value is passed on as it is,
            // and one that names no window captures nothing.
            job.window = ReadWindowHandle(std::string_view(token).substr(3));
        } else if (IsOneOf(prefix, {"/S:", "/s:", "/s=", "/S="})) {
            job.settingName = TrimSpaces(token.substr(3));
        }
    }
    return job;
}

}  // namespace tovrimo
