#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovrimo {

enum class IniEncoding { Utf8, ShiftJis };

// An INI file in memory, with the behaviour of the Windows private-profile functions that the
// settings file relies on:
// - section and key names match without regard to ASCII letter case; the first section and
//   the first key of a name win;
// - names and values are read without surrounding blanks; quotes are kept as they are;
// - setting a key that does not exist appends it at the end of its section, and a section that
//   does not exist is appended at the end of the file;
// - lines that are neither section headers nor keys (comments, text without '=', blank lines)
//   are kept and written back unchanged, as are key lines that were not set.
//
// Text is held as UTF-8. A file is read as UTF-8 when it is valid UTF-8 (a byte-order mark is
// dropped and written back), otherwise as Shift_JIS (Windows code page 932). The document is
// written back in the encoding it was read in. When a value set into a Shift_JIS document
// cannot be written in Shift_JIS, the whole document becomes UTF-8 so that nothing is lost; it
// is still read correctly, since UTF-8 is tried first. Lines end in LF when written; LF, CRLF
// and CR are all read.
class IniDocument {
public:
    static constexpr size_t kMaxValueBytes = 1023;

    IniDocument() = default;
    static IniDocument parse(std::string_view bytes);

    // The value, cut to at most kMaxValueBytes bytes (at a character boundary); empty text when
    // the section or key is missing.
    std::string get(std::string_view section, std::string_view key) const;

    // A value is one line: anything from a line break on is dropped.
    void set(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes in encoding().
    std::string serialize() const;

    IniEncoding encoding() const { return encoding_; }
    // Shift_JIS is taken only when the whole text can be written in it.
    void setEncoding(IniEncoding encoding);

    // Section names in file order, as written in the file.
    std::vector<std::string> sectionNames() const;

private:
    struct Line {
        std::string text;  // the line as read, or as last written
        std::string key;   // empty when the line is not a key
        std::string value;
    };
    struct Section {
        std::string name;  // empty for the lines before the first header
        bool hasHeader = false;
        std::string header;
        std::vector<Line> lines;
    };

    static constexpr size_t kNone = static_cast<size_t>(-1);
    size_t sectionIndex(std::string_view name) const;
    static size_t keyIndex(const Section& section, std::string_view key);
    std::string utf8Text() const;

    std::vector<Section> sections_;
    IniEncoding encoding_ = IniEncoding::Utf8;
    bool byteOrderMark_ = false;
};

// Conversions used by IniDocument, exposed for tests and for callers that write text files.
bool IsValidUtf8(std::string_view bytes);
// Shift_JIS (CP932) to UTF-8; a byte sequence that is not Shift_JIS becomes U+FFFD.
std::string ShiftJisToUtf8(std::string_view bytes);
// UTF-8 to Shift_JIS (CP932); false when some character has no Shift_JIS form.
bool Utf8ToShiftJis(std::string_view utf8, std::string& out);

}  // namespace tovrimo
