#pragma once

#include <string>

namespace tovrimo {

class FileSystem;
class MessageBoxes;

// Copies the settings file of the program's former name into place, once: only while no
// settings file exists under exactly its own name (the one the settings store reads), and only
// when the legacy file is stored under exactly its own name.
// A failed copy is reported and start-up goes on.
void MigrateLegacySettings(FileSystem& files, MessageBoxes& messages, const std::string& appPath);

}  // namespace tovrimo
