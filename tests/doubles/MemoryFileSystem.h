#pragma once

#include <cctype>
#include <map>
#include <string>

#include "core/FileSystem.h"

namespace tovrimo::test {

// Files held in a map. Writes can be made to fail to test that nothing is lost.
class MemoryFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override { return files.count(path) != 0; }

    std::optional<std::string> storedName(const std::string& folder,
                                          const std::string& name) override
    {
        // Case-insensitive look-up that returns the name as stored, like a directory search;
        // a name stored exactly as asked wins over others that differ in letter case.
        if (files.count(folder + name)) return name;
        for (const auto& [path, content] : files) {
            if (path.size() != folder.size() + name.size() ||
                path.compare(0, folder.size(), folder))
                continue;
            std::string stored = path.substr(folder.size());
            bool same = true;
            for (size_t i = 0; i < name.size() && same; ++i)
                same = std::tolower(static_cast<unsigned char>(stored[i])) ==
                       std::tolower(static_cast<unsigned char>(name[i]));
            if (same) return stored;
        }
        return std::nullopt;
    }

    using FileSystem::readAll;
    std::optional<std::string> readAll(const std::string& path, std::string* error) override
    {
        ++reads;
        auto it = files.find(path);
        if (it == files.end()) {
            if (error) *error = "No such file or directory";
            return std::nullopt;
        }
        if (auto unreadable = readErrors.find(path); unreadable != readErrors.end()) {
            if (error) *error = unreadable->second;
            return std::nullopt;
        }
        if (failReads) {
            if (error) *error = "Input/output error";
            return std::nullopt;
        }
        return it->second;
    }

    bool writeAtomically(const std::string& path, const std::string& content,
                         std::string* error) override
    {
        ++writes;
        if (failWrites) {
            if (error) *error = "No space left on device";
            return false;
        }
        files[path] = content;
        return true;
    }

    bool copyFile(const std::string& from, const std::string& to, std::string* error) override
    {
        auto it = files.find(from);
        if (it == files.end() || failWrites) {
            if (error) *error = "copy failed";
            return false;
        }
        files[to] = it->second;
        return true;
    }

    bool remove(const std::string& path) override { return files.erase(path) != 0; }

    std::map<std::string, std::string> files;
    bool failWrites = false;
    bool failReads = false;
    // Files that exist but cannot be read, with the reason a read gives.
    std::map<std::string, std::string> readErrors;
    int reads = 0;
    int writes = 0;
};

}  // namespace tovrimo::test
