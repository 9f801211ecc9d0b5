#pragma once

#include <functional>
#include <string>
#include <vector>

#include "capture/CaptureHost.h"

namespace tovrimo::test {

// Logs the hand-offs in order: "openPrintDialog", "printHardCopy", "openRegionScreen",
// "unloadRegionScreen", "removeTrayIcon", "addTrayIcon:<tooltip>". onCall runs at each, so a
// test can look at the engine's state at that moment.
class RecordingCaptureHost : public CaptureHost {
public:
    void openPrintDialog() override { log("openPrintDialog"); }
    void printHardCopy() override { log("printHardCopy"); }
    void openRegionScreen() override { log("openRegionScreen"); }
    void unloadRegionScreen() override { log("unloadRegionScreen"); }
    void removeTrayIcon() override { log("removeTrayIcon"); }
    void addTrayIcon(const std::string& tooltip) override { log("addTrayIcon:" + tooltip); }
    // Kept apart from the hand-offs: 3, 2, 1 for each second shown, 0 for the end.
    void showCountdown(int secondsLeft) override { countdown.push_back(secondsLeft); }
    void endCountdown() override { countdown.push_back(0); }

    std::vector<std::string> calls;
    std::vector<int> countdown;
    std::function<void(const std::string&)> onCall;

private:
    void log(const std::string& call)
    {
        calls.push_back(call);
        if (onCall) onCall(call);
    }
};

}  // namespace tovrimo::test
