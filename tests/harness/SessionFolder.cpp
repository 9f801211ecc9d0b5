#include "harness/SessionFolder.h"

#include <sys/mount.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>
#include <vector>

#include "harness/Process.h"

namespace tovrimo::test {

namespace {

namespace fs = std::filesystem;

// Detaches every mount under `folder` (root may; otherwise FUSE's own tool does it for the
// mount's user), the deepest first.
void UnmountBelow(const std::string& folder)
{
    std::ifstream mounts("/proc/self/mounts");
    std::vector<std::string> points;
    std::string device, point, rest;
    while (mounts >> device >> point && std::getline(mounts, rest))
        if (point.rfind(folder + "/", 0) == 0) points.push_back(point);
    for (auto it = points.rbegin(); it != points.rend(); ++it) {
        if (::umount2(it->c_str(), MNT_DETACH) == 0) continue;
        for (const char* tool : {"fusermount3", "fusermount"}) {
            Process unmount(tool, Process::Options({"-u", "-z", *it}));
            if (unmount.start() && unmount.wait(std::chrono::seconds(5)) && unmount.exitCode() == 0)
                break;
        }
    }
}

}  // namespace

void RemoveSessionFolder(const std::string& folder, const char* who)
{
    UnmountBelow(folder);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::error_code error;
    while (true) {
        error.clear();
        fs::remove_all(folder, error);
        if (!fs::exists(folder)) return;
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::fprintf(stderr, "%s: %s not removed: %s\n", who, folder.c_str(), error.message().c_str());
    std::error_code listing;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied,
                                             listing);
         !listing && it != fs::recursive_directory_iterator(); it.increment(listing))
        std::fprintf(stderr, "  left: %s\n", it->path().c_str());
}

}  // namespace tovrimo::test
