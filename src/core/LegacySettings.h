#pragma once

#include <string>

#include "core/SettingsNotice.h"

namespace tovrimo {

class FileSystem;

// Copies the settings file of the program's former name into place, once: only while no
// settings file exists under exactly its own name (the one the settings store reads), and only
// when the legacy file is stored under exactly its own name.
// A failed copy gives a notice for the user, and start-up goes on.
SettingsNotices MigrateLegacySettings(FileSystem& files, const std::string& appPath);

}  // namespace tovrimo
