#pragma once

#include "core/FileSystem.h"

namespace tovrimo {

// The real file system, through POSIX calls. Error texts are the system's (strerror).
class PosixFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override;
    // Looks through the folder for a name equal to `name` apart from ASCII letter case; an
    // exact match is preferred when several names differ only in case.
    std::optional<std::string> storedName(const std::string& folder,
                                          const std::string& name) override;
    using FileSystem::readAll;
    std::optional<std::string> readAll(const std::string& path, std::string* error) override;
    // Writes a temporary file in the same folder, flushes it to disk and renames it over
    // `path`, then flushes the folder. A symbolic link is followed: its target is replaced.
    bool writeAtomically(const std::string& path, const std::string& content,
                         std::string* error) override;
    bool copyFile(const std::string& from, const std::string& to, std::string* error) override;
    bool remove(const std::string& path) override;
    // The temporary files are named "<file>.tmp-<process id>-<n>"; those of processes that no
    // longer exist are deleted.
    void removeAbandonedWrites(const std::string& path) override;
};

}  // namespace tovrimo
