#pragma once

#include <functional>
#include <string>
#include <utility>

namespace tovrimo {

// Where the program's files live. The settings file, the defaults file and the legacy file
// sit in the program folder when it is writable (a portable install); otherwise in the user's
// configuration folder. Both paths end in '/'.
struct AppFolders {
    AppFolders() = default;
    AppFolders(std::string program, std::string settings, std::string pictures = {})
        : programFolder(std::move(program)),
          settingsFolder(std::move(settings)),
          picturesFolder(std::move(pictures))
    {
    }

    std::string programFolder;
    std::string settingsFolder;
    // Where the user keeps pictures (empty: not known).
    std::string picturesFolder;
};

// Where the image-file dialogs start before the user has chosen a file: the program folder
// of a portable install (it is the user's own folder there), otherwise the pictures folder,
// never the hidden settings folder.
std::string FirstImageFolder(const AppFolders& folders);

// The pictures folder: XDG_PICTURES_DIR from the environment, else from the user-dirs.dirs
// file (its text given; "$HOME" is expanded), as long as that folder exists; else home.
// Ends in '/'.
std::string ChoosePicturesFolder(const std::string& xdgPicturesDir, const std::string& userDirs,
                                 const std::string& home,
                                 const std::function<bool(const std::string&)>& folderExists);

// Pure decision, kept apart from the file system so it can be tested exactly.
AppFolders ChooseAppFolders(const std::string& exeFolder, bool exeFolderWritable,
                            const std::string& xdgConfigHome, const std::string& home);

// The real thing: the executable's folder (TOVRIMO_PROGRAM_DIR overrides it, for tests and
// relocated installs), checked for write access, and the XDG variables.
AppFolders DetectAppFolders();

// Appends '/' unless the text already ends in one.
std::string WithTrailingSlash(std::string folder);

}  // namespace tovrimo
