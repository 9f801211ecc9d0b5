#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

// The title line's template fields: "&[日付]" (date), "&[時刻]" (time), "&[PC名]" (computer
// name), "&[ユーザ名]" (user name) and "&[タイトル]" (title of the window captured last).

namespace tovrimo {

inline constexpr const char* kDateField = "&[日付]";
inline constexpr const char* kTimeField = "&[時刻]";
inline constexpr const char* kComputerNameField = "&[PC名]";
inline constexpr const char* kUserNameField = "&[ユーザ名]";
inline constexpr const char* kWindowTitleField = "&[タイトル]";

// Where the field values come from. Every source is read when its field is expanded, the
// clock once for each date or time field. A missing function, or a name source that returns
// nothing, expands to an empty string.
struct TitleFieldSources {
    std::function<std::tm()> localTime;  // broken-down local time
    std::function<std::optional<std::string>()> computerName;
    std::function<std::optional<std::string>()> userName;
    std::function<std::string()> capturedWindowTitle;  // empty after a desktop capture
};

// Replaces every field in the template; any other text, including a field with a missing
// bracket or full-width brackets, is copied unchanged. The template is UTF-8; bytes that are
// not valid UTF-8 are copied as they are.
std::string ExpandTitleFields(const std::string& templ, const TitleFieldSources& sources);

}  // namespace tovrimo
