#include "platform/RememberedMessages.h"

#include <sstream>

namespace tovrimo {

std::string OneLine(const std::string& text)
{
    std::istringstream lines(text);
    std::string joined;
    for (std::string line; std::getline(lines, line);) {
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        const auto last = line.find_last_not_of(" \t\r");
        if (!joined.empty()) joined += ' ';
        joined += line.substr(first, last - first + 1);
    }
    return joined;
}

}  // namespace tovrimo
