#include "platform/AppFolders.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdlib>

namespace tovrimo {

std::string WithTrailingSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

AppFolders ChooseAppFolders(const std::string& exeFolder, bool exeFolderWritable,
                            const std::string& xdgConfigHome, const std::string& home)
{
    AppFolders f;
    f.programFolder = WithTrailingSlash(exeFolder);
    if (exeFolderWritable) {
        f.settingsFolder = f.programFolder;
    } else if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
        f.settingsFolder = WithTrailingSlash(xdgConfigHome) + "tovrimo/";
    } else {
        f.settingsFolder =
            WithTrailingSlash(home.empty() ? std::string("/tmp") : home) + ".config/tovrimo/";
    }
    return f;
}

std::string FirstImageFolder(const AppFolders& folders)
{
    if (folders.settingsFolder == folders.programFolder || folders.picturesFolder.empty())
        return folders.programFolder;
    return folders.picturesFolder;
}

namespace {

// The value of XDG_PICTURES_DIR in user-dirs.dirs: a quoted absolute path or one starting
// with "$HOME/"; empty when the line is missing or the value has another form.
std::string PicturesDirFromUserDirs(const std::string& userDirs, const std::string& home)
{
    std::string value;
    size_t start = 0;
    while (start < userDirs.size()) {
        size_t end = userDirs.find('\n', start);
        if (end == std::string::npos) end = userDirs.size();
        std::string line = userDirs.substr(start, end - start);
        start = end + 1;
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        line.erase(0, first);
        const std::string key = "XDG_PICTURES_DIR=";
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string v = line.substr(key.size());
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r'))
            v.pop_back();
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        value = v;  // the last assignment wins, as in the shell
    }
    if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
        return home.empty() ? std::string() : home + value.substr(5);
    return !value.empty() && value.front() == '/' ? value : std::string();
}

}  // namespace

std::string ChoosePicturesFolder(const std::string& xdgPicturesDir, const std::string& userDirs,
                                 const std::string& home,
                                 const std::function<bool(const std::string&)>& folderExists)
{
    for (const std::string& candidate :
         {xdgPicturesDir.empty() || xdgPicturesDir.front() != '/' ? std::string() : xdgPicturesDir,
          PicturesDirFromUserDirs(userDirs, home)}) {
        if (!candidate.empty() && folderExists(candidate)) return WithTrailingSlash(candidate);
    }
    return home.empty() ? std::string() : WithTrailingSlash(home);
}

AppFolders DetectAppFolders()
{
    std::string exeFolder;
    if (const char* dir = std::getenv("TOVRIMO_PROGRAM_DIR"); dir && *dir) {
        exeFolder = dir;
    } else {
        exeFolder = QCoreApplication::applicationDirPath().toStdString();
    }
    const bool writable = ::access(exeFolder.c_str(), W_OK) == 0;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    AppFolders f = ChooseAppFolders(exeFolder, writable, xdg ? xdg : "", home ? home : "");
    if (f.settingsFolder != f.programFolder)
        QDir().mkpath(QString::fromStdString(f.settingsFolder));

    const char* pictures = std::getenv("XDG_PICTURES_DIR");
    const std::string configHome =
        xdg && *xdg == '/' ? std::string(xdg) : std::string(home ? home : "") + "/.config";
    QFile userDirs(QString::fromStdString(configHome + "/user-dirs.dirs"));
    std::string userDirsText;
    if (userDirs.open(QIODevice::ReadOnly)) userDirsText = userDirs.readAll().toStdString();
    f.picturesFolder = ChoosePicturesFolder(
        pictures ? pictures : "", userDirsText, home ? home : "",
        [](const std::string& folder) { return QDir(QString::fromStdString(folder)).exists(); });
    return f;
}

}  // namespace tovrimo
