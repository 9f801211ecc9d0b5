#pragma once

#include <string>

namespace tovrimo {

// Where the program's files live. The settings file, the defaults file and the legacy file
// sit in the program folder when it is writable (a portable install); otherwise in the user's
// configuration folder. Both paths end in '/'.
struct AppFolders {
    std::string programFolder;
    std::string settingsFolder;
};

// Pure decision, kept apart from the file system so it can be tested exactly.
AppFolders ChooseAppFolders(const std::string& exeFolder, bool exeFolderWritable,
                            const std::string& xdgConfigHome, const std::string& home);

// The real thing: the executable's folder (TOVRIMO_PROGRAM_DIR overrides it, for tests and
// relocated installs), checked for write access, and the XDG variables.
AppFolders DetectAppFolders();

// Appends '/' unless the text already ends in one.
std::string WithTrailingSlash(std::string folder);

}  // namespace tovrimo
