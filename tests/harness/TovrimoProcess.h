#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "harness/Process.h"

namespace tovrimo::test {

// The real program, started the way a user would, but with its program folder (and so its
// settings file) in a folder of the test's choosing, on the test's X server and cupsd.
class TovrimoProcess {
public:
    // programFolder: where the settings file lives; empty makes a fresh temporary one that is
    // removed afterwards. Takes DISPLAY and CUPS_SERVER from this process unless given in env.
    explicit TovrimoProcess(std::string programFolder = {},
                            std::map<std::string, std::string> env = {});
    ~TovrimoProcess();

    // Another build of the program (an installed copy); by default the one just built, or
    // the one TOVRIMO_TEST_BINARY names (to run the tests against an older build).
    void setBinary(std::string path) { binary_ = std::move(path); }
    const std::string& binary() const { return binary_; }
    // Runs the program as this ordinary user and group (through setpriv, which becomes the
    // program: the pid is the program's own).
    void runAs(unsigned uid, unsigned gid)
    {
        uid_ = uid;
        gid_ = gid;
    }

    // Leaves a variable out of the program's environment (call before start).
    void unsetEnvironment(const std::string& name) { unset_.push_back(name); }
    bool start(const std::vector<std::string>& args = {});
    // Exit code, or nothing when it is still running at the timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    void stop();
    bool running();

    const std::string& programFolder() const { return folder_; }
    std::string settingsFile() const { return folder_ + "/tovrimo.ini"; }
    Process& process() { return process_; }

private:
    std::string folder_;
    bool ownsFolder_ = false;
    std::map<std::string, std::string> env_;
    std::string binary_;
    unsigned uid_ = 0;
    unsigned gid_ = 0;
    std::vector<std::string> unset_;
    Process process_;
};

}  // namespace tovrimo::test
