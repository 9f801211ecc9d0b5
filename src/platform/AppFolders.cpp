#include "platform/AppFolders.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
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
        f.settingsFolder = WithTrailingSlash(home.empty() ? std::string("/tmp") : home) +
                           ".config/tovrimo/";
    }
    return f;
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
    if (f.settingsFolder != f.programFolder) QDir().mkpath(QString::fromStdString(f.settingsFolder));
    return f;
}

}  // namespace tovrimo
