#include "harness/Desktop.h"

#include <cstdlib>
#include <sstream>

#include "harness/Process.h"
#include "harness/XSession.h"

namespace tovrimo::test {

Desktop::Desktop(std::string display) : display_(std::move(display))
{
    if (display_.empty()) {
        const char* env = std::getenv("DISPLAY");
        display_ = env ? env : "";
    }
}

std::string Desktop::xdotool(std::vector<std::string> args, bool* ok)
{
    Process::Options opts;
    opts.args = std::move(args);
    opts.env["DISPLAY"] = display_;
    const Process p = Process::run("xdotool", opts, std::chrono::seconds(20));
    if (ok) *ok = p.exitedNormally() && p.exitCode() == 0;
    return p.standardOutput();
}

bool Desktop::key(const std::string& keys)
{
    bool ok = false;
    xdotool({"key", "--clearmodifiers", keys}, &ok);
    return ok;
}

bool Desktop::type(const std::string& text)
{
    bool ok = false;
    xdotool({"type", "--delay", "20", text}, &ok);
    return ok;
}

bool Desktop::mouseMove(int x, int y)
{
    // "--sync" waits for the pointer to move, and so waits out its whole timeout when the
    // pointer is already there.
    const std::string at = xdotool({"getmouselocation", "--shell"});
    if (at.find("X=" + std::to_string(x) + "\n") != std::string::npos &&
        at.find("Y=" + std::to_string(y) + "\n") != std::string::npos)
        return true;
    bool ok = false;
    xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y)}, &ok);
    return ok;
}

bool Desktop::click(int button)
{
    bool ok = false;
    xdotool({"click", std::to_string(button)}, &ok);
    return ok;
}

bool Desktop::doubleClick(int button)
{
    bool ok = false;
    xdotool({"click", "--repeat", "2", "--delay", "80", std::to_string(button)}, &ok);
    return ok;
}

bool Desktop::clickAt(int x, int y, int button)
{
    return mouseMove(x, y) && click(button);
}

std::vector<std::uint32_t> Desktop::findWindows(const std::string& titlePattern)
{
    std::vector<std::uint32_t> windows;
    std::istringstream lines(xdotool({"search", "--onlyvisible", "--name", titlePattern}));
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty()) windows.push_back(static_cast<std::uint32_t>(std::stoul(line)));
    return windows;
}

std::uint32_t Desktop::waitForWindow(const std::string& titlePattern,
                                     std::chrono::milliseconds timeout)
{
    std::uint32_t found = 0;
    WaitFor(
        [&] {
            const auto windows = findWindows(titlePattern);
            if (!windows.empty()) found = windows.back();
            return found != 0;
        },
        timeout);
    return found;
}

bool Desktop::waitForNoWindow(const std::string& titlePattern, std::chrono::milliseconds timeout)
{
    return WaitFor([&] { return findWindows(titlePattern).empty(); }, timeout);
}

std::string Desktop::windowTitle(std::uint32_t window)
{
    std::string title = xdotool({"getwindowname", std::to_string(window)});
    while (!title.empty() && (title.back() == '\n' || title.back() == '\r')) title.pop_back();
    return title;
}

bool Desktop::mouseDown(int button)
{
    bool ok = false;
    xdotool({"mousedown", std::to_string(button)}, &ok);
    return ok;
}

bool Desktop::mouseUp(int button)
{
    bool ok = false;
    xdotool({"mouseup", std::to_string(button)}, &ok);
    return ok;
}

bool Desktop::activate(std::uint32_t window)
{
    bool ok = false;
    xdotool({"windowactivate", "--sync", std::to_string(window)}, &ok);
    return ok;
}

bool Desktop::waitForNoWindowId(std::uint32_t window, std::chrono::milliseconds timeout)
{
    return WaitFor(
        [&] {
            bool ok = false;
            xdotool({"getwindowname", std::to_string(window)}, &ok);
            return !ok;
        },
        timeout);
}

bool Desktop::dismiss(std::uint32_t window, const std::string& keys)
{
    activate(window);
    bool ok = false;
    // Typed into the focused window through XTEST. Sent to the window itself instead, a box
    // that closes on the key press is gone before the key release, xdotool stops with an
    // error and the key stays down in the server, closing the next box at once.
    xdotool({"key", "--clearmodifiers", keys}, &ok);
    return ok || waitForNoWindowId(window, std::chrono::seconds(2));
}

}  // namespace tovrimo::test
