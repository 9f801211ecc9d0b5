#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/FileSystem.h"
#include "core/IniDocument.h"

namespace tovrimo {

// One INI file on disk, read and written a key at a time like the Windows private-profile
// functions: every read looks at the file as it is now, every write reads the file, changes
// the one key and replaces the file as a whole (creating file, section and key as needed).
class IniFile {
public:
    IniFile(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    // The value, or empty text when the file, the section or the key is missing.
    std::string readIni(std::string_view section, std::string_view key);
    // False when the file could not be written; callers following the profile functions'
    // habit ignore it.
    bool writeIni(std::string_view section, std::string_view key, std::string_view value);

    // The file as a document; an empty UTF-8 document when there is no file. Nothing when the
    // file exists but cannot be read, so that a caller never replaces a file it could not see.
    std::optional<IniDocument> load(std::string* error = nullptr);
    bool save(const IniDocument& doc, std::string* error);

private:
    FileSystem& fs_;
    std::string path_;
};

}  // namespace tovrimo
