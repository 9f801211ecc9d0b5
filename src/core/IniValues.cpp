#include "core/IniValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "core/Rounding.h"

namespace tovrimo {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the run of digits starting at `pos`.
size_t DigitRun(std::string_view s, size_t pos)
{
    size_t n = 0;
    while (pos + n < s.size() && IsDigit(s[pos + n])) ++n;
    return n;
}

template <typename Int>
Int RoundClamped(double x)
{
    constexpr double kLow = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double kHigh = static_cast<double>(std::numeric_limits<Int>::max());
    // Clamping before rounding keeps the conversion defined for any magnitude; the bounds are
    // integers, so the result equals rounding first and clamping afterwards.
    return static_cast<Int>(nearestEven(std::clamp(x, kLow, kHigh)));
}

// The number at the start of `text` and the length of text it took, leading blanks included;
// a length of 0 when there is no number.
std::pair<double, size_t> ScanNumber(std::string_view text)
{
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;

    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const size_t start = pos;

    const size_t integerDigits = DigitRun(text, pos);
    pos += integerDigits;
    size_t fracDigits = 0;
    if (pos < text.size() && text[pos] == '.') {
        fracDigits = DigitRun(text, pos + 1);
        if (integerDigits > 0 || fracDigits > 0) pos += 1 + fracDigits;
    }
    if (integerDigits == 0 && fracDigits == 0) return {0.0, 0};
    const size_t mantissaEnd = pos;

    long exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        size_t p = pos + 1;
        bool expNegative = false;
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
            expNegative = text[p] == '-';
            ++p;
        }
        const size_t expDigits = DigitRun(text, p);
        if (expDigits > 0) {
            // Only the sign and rough size matter below; saturate instead of overflowing.
            for (size_t i = 0; i < expDigits; ++i)
                exponent = std::min(exponent * 10 + (text[p + i] - '0'), 100000L);
            if (expNegative) exponent = -exponent;
            pos = p + expDigits;
        }
    }

    const std::string_view number = text.substr(start, pos - start);
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Decimal magnitude of the number: position of its first significant digit relative to
        // the decimal point, plus the exponent. Positive means it overflowed, otherwise it was
        // too small.
        const std::string_view mantissa = text.substr(start, mantissaEnd - start);
        const size_t firstNonZero = mantissa.find_first_not_of("0.");
        if (firstNonZero == std::string_view::npos) return {0.0, pos};
        const size_t point = std::min(mantissa.find('.'), mantissa.size());
        const long magnitude = firstNonZero < point ? static_cast<long>(point - firstNonZero)
                                                    : -static_cast<long>(firstNonZero - point - 1);
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (ec != std::errc()) {
        return {0.0, 0};
    }
    return {negative ? -value : value, pos};
}

}  // namespace

double ParseIniNumber(std::string_view text)
{
    return ScanNumber(text).first;
}

std::optional<double> ParseWholeIniNumber(std::string_view text)
{
    const auto [value, length] = ScanNumber(text);
    if (length == 0) return std::nullopt;
    const size_t rest = text.find_first_not_of(" \t", length);
    if (rest != std::string_view::npos) return std::nullopt;
    return value;
}

int16_t ReadIniInt16(std::string_view text)
{
    return RoundClamped<int16_t>(ParseIniNumber(text));
}

int32_t ReadIniInt32(std::string_view text)
{
    return RoundClamped<int32_t>(ParseIniNumber(text));
}

bool ReadIniFlag(std::string_view text)
{
    return RoundClamped<int32_t>(ParseIniNumber(text)) != 0;
}

double ReadIniReal(std::string_view text)
{
    return ParseIniNumber(text);
}

std::string WriteIniInt(int64_t value)
{
    return std::to_string(value);
}

std::string WriteIniFlag(bool value)
{
    return value ? "-1" : "0";
}

std::string WriteIniReal(double value)
{
    if (value == 0 || !std::isfinite(value)) return "0";
    char buf[64];
    // "general" with a precision behaves like %.15G: no trailing zeros, exponent form only
    // for very large or small magnitudes, and no dependence on the C locale's decimal point.
    const auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string s(buf, ec == std::errc() ? end : buf);
    for (char& c : s)
        if (c == 'e') c = 'E';
    if (s.rfind("0.", 0) == 0)
        s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0)
        s.erase(1, 1);
    return s;
}

}  // namespace tovrimo
