#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tovrimo::test {

// The user at the keyboard and mouse of a private X server, played by xdotool.
class Desktop {
public:
    // The display to drive; empty: DISPLAY of this process.
    explicit Desktop(std::string display = {});

    bool key(const std::string& keys);  // "ctrl+alt+p", "Return", "Escape" ...
    bool type(const std::string& text);
    bool mouseMove(int x, int y);
    bool click(int button = 1);
    bool doubleClick(int button = 1);
    bool clickAt(int x, int y, int button = 1);
    bool mouseDown(int button = 1);
    bool mouseUp(int button = 1);

    // Visible windows whose title matches the regular expression (xdotool search --name).
    std::vector<std::uint32_t> findWindows(const std::string& titlePattern);
    // Polls until such a window exists; 0 when none appeared in time.
    std::uint32_t waitForWindow(const std::string& titlePattern,
                                std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool waitForNoWindow(const std::string& titlePattern,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10));
    std::string windowTitle(std::uint32_t window);
    // Polls until the window no longer exists.
    bool waitForNoWindowId(std::uint32_t window,
                           std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool activate(std::uint32_t window);
    // Activates the window and presses Return in it: the default button of a message box.
    bool dismiss(std::uint32_t window, const std::string& keys = "Return");

private:
    std::string xdotool(std::vector<std::string> args, bool* ok = nullptr);
    std::string display_;
};

}  // namespace tovrimo::test
