#pragma once

#include <optional>
#include <string>

namespace tovrimo {

// The few file operations start-up and the settings file need, behind an interface so that
// failures (read-only folder, full disk) can be provoked in tests.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool exists(const std::string& path) = 0;
    // The name of an existing file exactly as the folder stores it, or nothing.
    virtual std::optional<std::string> storedName(const std::string& folder,
                                                  const std::string& name) = 0;
    // The whole content, or nothing with the reason when the file is missing or cannot be
    // read (no permission, an I/O error).
    virtual std::optional<std::string> readAll(const std::string& path, std::string* error) = 0;
    std::optional<std::string> readAll(const std::string& path) { return readAll(path, nullptr); }
    // Replaces the file as a whole: either the complete new content is in place afterwards,
    // or the old file is untouched and the reason comes back.
    virtual bool writeAtomically(const std::string& path, const std::string& content,
                                 std::string* error) = 0;
    virtual bool copyFile(const std::string& from, const std::string& to, std::string* error) = 0;
    virtual bool remove(const std::string& path) = 0;
    // Removes what writes to `path` left behind when their process was killed in the middle;
    // a write still going on in another process is left alone.
    virtual void removeAbandonedWrites(const std::string& path) { (void)path; }
};

}  // namespace tovrimo
