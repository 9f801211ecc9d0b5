#pragma once

#include <string>

namespace tovrimo {

// Whether the desktop starts the program when the user logs in. The desktop's own entry is
// the state: nothing about it is kept in the settings file.
class LoginStart {
public:
    virtual ~LoginStart() = default;
    virtual bool enabled() = 0;
    // Makes or removes the entry; false with the reason when that failed.
    virtual bool setEnabled(bool on, std::string* error) = 0;
};

// The XDG autostart entry $XDG_CONFIG_HOME/autostart/tovrimo.desktop (XDG_CONFIG_HOME when
// it is an absolute path, else ~/.config), which starts `binary`: the installed program, or
// the binary of a portable build that the entry was made from.
class XdgAutostart : public LoginStart {
public:
    XdgAutostart(std::string entryPath, std::string binary);
    // The entry of this user for the running binary.
    static XdgAutostart forRunningProgram();

    bool enabled() override;
    bool setEnabled(bool on, std::string* error) override;
    const std::string& entryPath() const { return entryPath_; }

private:
    std::string entryPath_;
    std::string binary_;
};

// Where the entry lives, from XDG_CONFIG_HOME and HOME.
std::string AutostartEntryPath(const std::string& xdgConfigHome, const std::string& home);
// The entry's text: a desktop entry whose Exec runs `binary` without arguments (a resident
// start), quoted as the desktop entry format asks when the path holds a space or the like.
std::string AutostartEntryText(const std::string& binary);

}  // namespace tovrimo
