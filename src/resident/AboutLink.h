#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovrimo {

// Where the about box's link leads.
struct AboutLink {
    std::string address;  // shown in the box and opened
    bool local = false;   // a file on this computer: no internet connection to confirm
};

// The maker's page when there is one; otherwise the user's guide `helpFile` from the first of
// `folders` (each ending in '/') that holds it; nothing when neither exists.
std::optional<AboutLink> ResolveAboutLink(std::string_view makerUrl,
                                          const std::vector<std::string>& folders,
                                          std::string_view helpFile,
                                          const std::function<bool(const std::string&)>& exists);

// The link as built: TOVRIMO_MAKER_URL, else tovrimo.html beside the program, then in the
// installed data folder.
std::optional<AboutLink> InstalledAboutLink();

}  // namespace tovrimo
