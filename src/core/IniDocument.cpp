#include "core/IniDocument.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace tovrimo {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementChar = "\xEF\xBF\xBD";  // U+FFFD

std::string_view Trim(std::string_view s)
{
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const size_t last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

std::string_view FirstLine(std::string_view s)
{
    return s.substr(0, s.find_first_of("\r\n"));
}

// Longest prefix of at most `limit` bytes that does not end inside a UTF-8 sequence.
std::string_view CutUtf8(std::string_view s, size_t limit)
{
    if (s.size() <= limit) return s;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    return s.substr(0, end);
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`. A sequence that cannot be converted is replaced by `replacement`
    // (one input byte skipped) when given; otherwise the conversion fails.
    bool run(std::string_view in, std::string& out, const std::string_view* replacement)
    {
        out.clear();
        if (!ok()) {
            // Without the converter only ASCII can be trusted.
            if (!replacement) return false;
            for (char c : in) {
                if (static_cast<unsigned char>(c) < 0x80)
                    out += c;
                else
                    out.append(*replacement);
            }
            return true;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // the converter is reused
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buf[4096];
        while (inLeft > 0) {
            char* outPtr = buf;
            size_t outLeft = sizeof buf;
            const size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buf, outPtr);
            if (r != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            if (!replacement) return false;
            out.append(*replacement);
            ++inPtr;
            --inLeft;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return true;
    }

private:
    iconv_t cd_;
};

}  // namespace

bool IsValidUtf8(std::string_view bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        size_t extra = 0;
        uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        static constexpr uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

namespace {

bool IsAscii(std::string_view bytes)
{
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

// ASCII is the same in both encodings, and most of a settings file is ASCII; the converters
// are opened once per thread, since opening one costs more than converting a whole file.
std::string ShiftJisToUtf8(std::string_view bytes)
{
    if (IsAscii(bytes)) return std::string(bytes);
    thread_local Converter conv("UTF-8", "CP932");
    std::string out;
    conv.run(bytes, out, &kReplacementChar);
    return out;
}

bool Utf8ToShiftJis(std::string_view utf8, std::string& out)
{
    if (IsAscii(utf8)) {
        out.assign(utf8);
        return true;
    }
    thread_local Converter conv("CP932", "UTF-8");
    return conv.run(utf8, out, nullptr);
}

IniDocument IniDocument::parse(std::string_view bytes)
{
    IniDocument doc;
    std::string decoded;
    std::string_view text = bytes;
    if (IsValidUtf8(bytes)) {
        if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            doc.byteOrderMark_ = true;
            text.remove_prefix(kByteOrderMark.size());
        }
    } else {
        decoded = ShiftJisToUtf8(bytes);
        text = decoded;
        // Bytes that are not Shift_JIS either could not be written back as they were read.
        if (decoded.find(kReplacementChar) == std::string::npos)
            doc.encoding_ = IniEncoding::ShiftJis;
    }

    doc.sections_.push_back(Section{});
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find_first_of("\r\n", pos);
        const std::string_view raw =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (end == std::string_view::npos) {
            pos = text.size();
        } else {
            pos = end + 1;
            if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        }

        const std::string_view trimmed = Trim(raw);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const size_t close = trimmed.rfind(']');
            if (close != std::string_view::npos) {
                Section s;
                s.name = Trim(trimmed.substr(1, close - 1));
                s.hasHeader = true;
                s.header = raw;
                doc.sections_.push_back(std::move(s));
                continue;
            }
        }
        Line line{std::string(raw), {}, {}};
        if (const size_t eq = raw.find('='); eq != std::string_view::npos) {
            line.key = Trim(raw.substr(0, eq));
            if (!line.key.empty()) line.value = Trim(raw.substr(eq + 1));
        }
        doc.sections_.back().lines.push_back(std::move(line));
    }
    return doc;
}

size_t IniDocument::sectionIndex(std::string_view name) const
{
    for (size_t i = 0; i < sections_.size(); ++i)
        if (sections_[i].hasHeader && SameName(sections_[i].name, name)) return i;
    return kNone;
}

size_t IniDocument::keyIndex(const Section& section, std::string_view key)
{
    for (size_t i = 0; i < section.lines.size(); ++i)
        if (!section.lines[i].key.empty() && SameName(section.lines[i].key, key)) return i;
    return kNone;
}

std::string IniDocument::get(std::string_view section, std::string_view key) const
{
    const size_t si = sectionIndex(section);
    if (si == kNone) return {};
    const size_t ki = keyIndex(sections_[si], key);
    if (ki == kNone) return {};
    return std::string(CutUtf8(sections_[si].lines[ki].value, kMaxValueBytes));
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value)
{
    // Stored as a later read of the file would see it.
    value = Trim(FirstLine(value));
    key = Trim(key);
    const std::string text = std::string(key) + "=" + std::string(value);

    const size_t si = sectionIndex(section);
    if (si == kNone) {
        Section added;
        added.name = section;
        added.hasHeader = true;
        added.header = "[" + std::string(section) + "]";
        added.lines.push_back(Line{text, std::string(key), std::string(value)});
        sections_.push_back(std::move(added));
    } else if (const size_t ki = keyIndex(sections_[si], key); ki != kNone) {
        Line& line = sections_[si].lines[ki];
        line.value = value;
        line.text = line.key + "=" + std::string(value);
    } else {
        // After the section's last non-blank line, so blank lines that separate it from the
        // next section stay where they are.
        std::vector<Line>& lines = sections_[si].lines;
        size_t at = lines.size();
        while (at > 0 && Trim(lines[at - 1].text).empty()) --at;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                     Line{text, std::string(key), std::string(value)});
    }

    std::string unused;
    if (encoding_ == IniEncoding::ShiftJis && !Utf8ToShiftJis(std::string(section) + text, unused))
        encoding_ = IniEncoding::Utf8;
}

std::string IniDocument::utf8Text() const
{
    std::string text;
    for (const Section& s : sections_) {
        if (s.hasHeader) text += s.header + "\n";
        for (const Line& line : s.lines) text += line.text + "\n";
    }
    return text;
}

std::string IniDocument::serialize() const
{
    std::string text = utf8Text();
    if (encoding_ == IniEncoding::ShiftJis) {
        // Shift_JIS bytes that happen to form valid UTF-8 would be read as UTF-8 next time and
        // mean something else; the text itself is written then, which reads back the same.
        std::string bytes;
        if (Utf8ToShiftJis(text, bytes) && (IsAscii(bytes) || !IsValidUtf8(bytes))) return bytes;
    }
    if (byteOrderMark_) text.insert(0, kByteOrderMark);
    return text;
}

void IniDocument::setEncoding(IniEncoding encoding)
{
    std::string unused;
    if (encoding == IniEncoding::ShiftJis && !Utf8ToShiftJis(utf8Text(), unused)) return;
    encoding_ = encoding;
}

std::vector<std::string> IniDocument::sectionNames() const
{
    std::vector<std::string> names;
    for (const Section& s : sections_)
        if (s.hasHeader) names.push_back(s.name);
    return names;
}

}  // namespace tovrimo
