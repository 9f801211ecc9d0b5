#include "harness/TovrimoProcess.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace tovrimo::test {

TovrimoProcess::TovrimoProcess(std::string programFolder, std::map<std::string, std::string> env)
    : folder_(std::move(programFolder)), env_(std::move(env))
{
    const char* other = std::getenv("TOVRIMO_TEST_BINARY");
    binary_ = other && *other ? other : TOVRIMO_BINARY;
    if (folder_.empty()) {
        char pattern[] = "/tmp/tovrimo-program.XXXXXX";
        if (::mkdtemp(pattern)) {
            folder_ = pattern;
            ownsFolder_ = true;
        }
    }
}

TovrimoProcess::~TovrimoProcess()
{
    stop();
    if (ownsFolder_) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool TovrimoProcess::start(const std::vector<std::string>& args)
{
    Process::Options opts;
    opts.args = args;
    opts.env["TOVRIMO_PROGRAM_DIR"] = folder_;
    opts.env["QT_QPA_PLATFORM"] = "xcb";
    // Keep the program away from the desktop session's settings and services.
    opts.env["XDG_CONFIG_HOME"] = folder_ + "/.config";
    opts.unsetEnv = {"DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY"};
    for (const char* inherited : {"DISPLAY", "CUPS_SERVER"})
        if (const char* value = std::getenv(inherited)) opts.env[inherited] = value;
    for (const auto& [name, value] : env_) opts.env[name] = value;
    for (const auto& name : unset_) {
        opts.env.erase(name);
        opts.unsetEnv.push_back(name);
    }
    if (uid_ != 0) {
        opts.args.insert(opts.args.begin(),
                         {"--reuid=" + std::to_string(uid_), "--regid=" + std::to_string(gid_),
                          "--clear-groups", "--", binary_});
        process_ = Process("setpriv", opts);
    } else {
        process_ = Process(binary_, opts);
    }
    return process_.start();
}

std::optional<int> TovrimoProcess::waitForExit(std::chrono::milliseconds timeout)
{
    return process_.wait(timeout);
}

void TovrimoProcess::stop()
{
    process_.stop();
}

bool TovrimoProcess::running()
{
    return process_.running();
}

}  // namespace tovrimo::test
