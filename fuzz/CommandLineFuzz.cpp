// Arbitrary command lines: the splitter keeps its shape, the switch reader never traps.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "core/CommandLine.h"

using namespace tovrimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> tokens = SplitCommandLine(text);

    FUZZ_CHECK(!tokens.empty() && tokens.size() <= kMaxCommandArgs);
    size_t total = 0;
    for (const std::string& t : tokens) {
        FUZZ_CHECK(t.find(' ') == std::string::npos && t.find('\t') == std::string::npos);
        total += t.size();
    }
    // With room for every token, the tokens and one separator between each pair are the
    // whole trimmed text.
    const size_t first = text.find_first_not_of(' ');
    const size_t trimmed = first == std::string::npos ? 0 : text.find_last_not_of(' ') - first + 1;
    if (tokens.size() < kMaxCommandArgs) FUZZ_CHECK(total + tokens.size() - 1 == trimmed);
    if (first != std::string::npos && text[first] != '\t') FUZZ_CHECK(!tokens.front().empty());

    const CommandJob job = ParseCommandSwitches(tokens, "start");
    FUZZ_CHECK(job.error() == !job.request.has_value());
    // A job only ever prints the desktop, a window or a region, taken at once.
    if (job.request) {
        FUZZ_CHECK(job.request->destination == CaptureDestination::Printer);
        FUZZ_CHECK(job.request->immediate);
        FUZZ_CHECK(job.request->source == CaptureSource::Desktop ||
                   job.request->source == CaptureSource::ActiveWindow ||
                   job.request->source == CaptureSource::Region);
    }
    if (!job.settingName.empty() && job.settingName != "start") {
        FUZZ_CHECK(job.settingName.front() != ' ' && job.settingName.back() != ' ');
    }
    // Every token on its own is handled the same way.
    for (const std::string& t : tokens) (void)ParseCommandSwitches({t}, {});
    return 0;
}
