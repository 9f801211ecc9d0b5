#include "core/TitleFields.h"

#include <cstdio>
#include <string_view>
#include <utility>

namespace tovrimo {

namespace {

enum class Field { Date, Time, ComputerName, UserName, WindowTitle };

struct FieldToken {
    std::string_view text;
    Field field;
};

// Checked in this order at every position.
constexpr FieldToken kTokens[] = {
    {kDateField, Field::Date},
    {kTimeField, Field::Time},
    {kComputerNameField, Field::ComputerName},
    {kUserNameField, Field::UserName},
    {kWindowTitleField, Field::WindowTitle},
};

// Names are trimmed of ASCII spaces at both ends and cut at a terminating NUL, the way a
// fixed-size name buffer from the system is read back.
std::string CleanName(const std::optional<std::string>& raw)
{
    if (!raw) {
        return {};
    }
    std::string_view name(*raw);
    name = name.substr(0, name.find('\0'));
    const auto first = name.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = name.find_last_not_of(' ');
    return std::string(name.substr(first, last - first + 1));
}

std::string FormatDate(const std::tm& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return text;
}

std::string FormatTime(const std::tm& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d", t.tm_hour, t.tm_min);
    return text;
}

std::string Replacement(Field field, const TitleFieldSources& sources)
{
    switch (field) {
    case Field::Date:
        return sources.localTime ? FormatDate(sources.localTime()) : std::string();
    case Field::Time:
        return sources.localTime ? FormatTime(sources.localTime()) : std::string();
    case Field::ComputerName:
        return sources.computerName ? CleanName(sources.computerName()) : std::string();
    case Field::UserName:
        return sources.userName ? CleanName(sources.userName()) : std::string();
    case Field::WindowTitle:
        return sources.capturedWindowTitle ? sources.capturedWindowTitle() : std::string();
    }
    return {};
}

// Bytes making up the character that starts at pos: a whole UTF-8 sequence when it is
// well formed, otherwise the single byte, so that a stray byte never swallows the ASCII
// text (possibly a field) that follows it.
size_t CharacterLength(std::string_view text, size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    }
    if (pos + length > text.size()) {
        return 1;
    }
    for (size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[pos + k]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

}  // namespace

std::string ExpandTitleFields(const std::string& templ, const TitleFieldSources& sources)
{
    const std::string_view text(templ);
    std::string result;
    result.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        bool matched = false;
        for (const auto& token : kTokens) {
            if (text.substr(pos, token.text.size()) == token.text) {
                result += Replacement(token.field, sources);
                pos += token.text.size();
                matched = true;
                break;
            }
        }
        if (!matched) {
            const size_t length = CharacterLength(text, pos);
            result.append(text.substr(pos, length));
            pos += length;
        }
    }
    return result;
}

}  // namespace tovrimo
