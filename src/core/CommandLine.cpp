#include "core/CommandLine.h"

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
