#include "platform/LoginStart.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace tovrimo {

namespace {

// An Exec argument: quoted when it holds a character the format reserves, with the four that
// stay special inside quotes escaped; '%' doubled, as field codes start with it. The value
// itself is a desktop-entry string, where every backslash is written twice once more.
std::string ExecArgument(const std::string& path)
{
    const bool plain = path.find_first_of(" \t\n\"'\\><~|&;$*?#()`") == std::string::npos;
    std::string arg;
    if (!plain) arg += '"';
    for (char c : path) {
        if (c == '%') {
            arg += "%%";
            continue;
        }
        if (!plain && (c == '"' || c == '`' || c == '$' || c == '\\')) arg += '\\';
        arg += c;
    }
    if (!plain) arg += '"';
    std::string value;
    for (char c : arg) {
        if (c == '\\') value += '\\';
        value += c;
    }
    return value;
}

std::string RunningBinary()
{
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("tovrimo") : path.string();
}

}  // namespace

std::string AutostartEntryPath(const std::string& xdgConfigHome, const std::string& home)
{
    std::string config = xdgConfigHome;
    if (config.empty() || config.front() != '/') config = home + "/.config";
    if (config.size() > 1 && config.back() == '/') config.pop_back();
    return config + "/autostart/tovrimo.desktop";
}

std::string AutostartEntryText(const std::string& binary)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tovrimo\n"
           "Name[ja]=トヴリモ\n"
           "Comment=Screen hard copies from the notification area\n"
           "Comment[ja]=画面のハードコピーを印刷・コピー・付せんにする常駐ツール\n"
           "Exec=" +
           ExecArgument(binary) +
           "\n"
           "Icon=tovrimo\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

XdgAutostart::XdgAutostart(std::string entryPath, std::string binary)
    : entryPath_(std::move(entryPath)), binary_(std::move(binary))
{
}

XdgAutostart XdgAutostart::forRunningProgram()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return XdgAutostart(AutostartEntryPath(config ? config : "", home ? home : ""),
                        RunningBinary());
}

bool XdgAutostart::enabled()
{
    std::error_code error;
    return std::filesystem::is_regular_file(entryPath_, error);
}

bool XdgAutostart::setEnabled(bool on, std::string* error)
{
    const std::filesystem::path entry(entryPath_);
    std::error_code code;
    if (!on) {
        if (std::filesystem::remove(entry, code) || !code) return true;
        if (error) *error = code.message();
        return false;
    }
    std::filesystem::create_directories(entry.parent_path(), code);
    if (code) {
        if (error) *error = code.message();
        return false;
    }
    // Written beside the entry and renamed over it: the desktop never reads half an entry.
    const std::string temporary = entryPath_ + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << AutostartEntryText(binary_);
        out.flush();
        if (!out) {
            if (error) *error = std::strerror(errno);
            std::filesystem::remove(temporary, code);
            return false;
        }
    }
    if (::rename(temporary.c_str(), entryPath_.c_str()) != 0) {
        if (error) *error = std::strerror(errno);
        std::filesystem::remove(temporary, code);
        return false;
    }
    return true;
}

}  // namespace tovrimo
