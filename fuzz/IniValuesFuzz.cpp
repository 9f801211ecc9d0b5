// Arbitrary text as a number of the settings file: reading never traps, integers land inside
// their field, and what the program writes reads back as written.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/IniValues.h"

using namespace tovrimo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const double value = ParseIniNumber(text);
    FUZZ_CHECK(!std::isnan(value));
    FUZZ_CHECK(std::isfinite(value));

    const int16_t i16 = ReadIniInt16(text);
    const int32_t i32 = ReadIniInt32(text);
    // Out of range clamps, never wraps: the sign always survives.
    FUZZ_CHECK(value < 0.5 || i16 >= 0);
    FUZZ_CHECK(value > -0.5 || i16 <= 0);
    FUZZ_CHECK(value < 0.5 || i32 >= 0);
    FUZZ_CHECK(value > -0.5 || i32 <= 0);
    if (value >= 32767.0) FUZZ_CHECK(i16 == 32767);
    if (value <= -32768.0) FUZZ_CHECK(i16 == -32768);
    if (std::fabs(value) < 30000.0) FUZZ_CHECK(i16 == i32);
    FUZZ_CHECK(ReadIniFlag(text) == (i32 != 0));

    if (const auto whole = ParseWholeIniNumber(text)) FUZZ_CHECK(*whole == value);

    // Integers written by the program read back exactly.
    FUZZ_CHECK(ReadIniInt16(WriteIniInt(i16)) == i16);
    FUZZ_CHECK(ReadIniInt32(WriteIniInt(i32)) == i32);
    FUZZ_CHECK(ReadIniFlag(WriteIniFlag(i32 != 0)) == (i32 != 0));

    // Reals keep 15 significant digits, and the written text is stable from then on.
    const std::string written = WriteIniReal(value);
    const double reread = ParseIniNumber(written);
    FUZZ_CHECK(std::isfinite(reread));
    if (value == 0) {
        FUZZ_CHECK(written == "0");
    } else {
        FUZZ_CHECK(std::fabs(reread - value) <= std::fabs(value) * 1e-14 ||
                   std::fabs(value) < std::numeric_limits<double>::min() * 1e15);
        FUZZ_CHECK(WriteIniReal(reread) == written);
        FUZZ_CHECK(ParseWholeIniNumber(written).has_value());
    }
    FUZZ_CHECK(written.find(' ') == std::string::npos);
    FUZZ_CHECK(written.find(',') == std::string::npos);
    FUZZ_CHECK(written.rfind("0.", 0) != 0 && written.rfind("-0.", 0) != 0);
    return 0;
}
