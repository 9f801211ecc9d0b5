// Arbitrary bytes as a settings file: parsing must never fail, what is written back must read
// the same, and a value that is set must read back as stored.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/IniDocument.h"

using tovrimo::IniDocument;

namespace {

constexpr std::string_view kSections[] = {"Application", "Option", "DefaultPrinter", "Printer1",
                                          "printer101"};
constexpr std::string_view kKeys[] = {"Title", "Version", "PrinterCount", "FontName", "hotkeyon0"};

void CheckSameValues(const IniDocument& a, const IniDocument& b)
{
    for (std::string_view s : kSections)
        for (std::string_view k : kKeys) FUZZ_CHECK(a.get(s, k) == b.get(s, k));
    FUZZ_CHECK(a.sectionNames() == b.sectionNames());
}

std::string_view Trimmed(std::string_view s)
{
    s = s.substr(0, s.find_first_of("\r\n"));
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const IniDocument doc = IniDocument::parse(bytes);
    for (const std::string& name : doc.sectionNames())
        for (std::string_view k : kKeys)
            FUZZ_CHECK(doc.get(name, k).size() <= IniDocument::kMaxValueBytes);

    // Written once, the file reads back with the same sections and values, and writing it again
    // gives the same bytes.
    const std::string once = doc.serialize();
    const IniDocument again = IniDocument::parse(once);
    CheckSameValues(doc, again);
    const std::string twice = again.serialize();
    FUZZ_CHECK(IniDocument::parse(twice).serialize() == twice);

    // The input's first line set as a value: kept (trimmed) in memory and through a write.
    IniDocument edited = doc;
    const std::string_view value = bytes.substr(0, 2000);
    edited.set("Option", "Fuzzed", value);
    edited.set("NewSection", "Key", value);
    std::string expected(Trimmed(value));
    if (expected.size() > IniDocument::kMaxValueBytes) {
        size_t end = IniDocument::kMaxValueBytes;
        while (end > 0 && (static_cast<unsigned char>(expected[end]) & 0xC0) == 0x80) --end;
        expected.resize(end);
    }
    // A value that is not UTF-8 cannot be held as text; only valid text is compared.
    if (tovrimo::IsValidUtf8(value)) {
        FUZZ_CHECK(edited.get("NewSection", "Key") == expected);
        const IniDocument reread = IniDocument::parse(edited.serialize());
        FUZZ_CHECK(reread.get("NewSection", "Key") == expected);
        // An existing section keeps the first key of a name; a fresh key is the one just set.
        FUZZ_CHECK(reread.get("Option", "Fuzzed") == edited.get("Option", "Fuzzed"));
    }
    return 0;
}
