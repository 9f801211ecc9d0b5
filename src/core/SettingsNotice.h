#pragma once

#include <string>
#include <vector>

namespace tovrimo {

// Something the settings store or the copy of a legacy file has to tell the user. The core
// only words it; whoever called shows it, with an OK button.
struct SettingsNotice {
    enum class Severity { Plain, Critical };

    std::string caption;
    std::string text;
    Severity severity = Severity::Plain;

    friend bool operator==(const SettingsNotice&, const SettingsNotice&) = default;
};

using SettingsNotices = std::vector<SettingsNotice>;

}  // namespace tovrimo
