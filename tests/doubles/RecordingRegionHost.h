#pragma once

#include <functional>
#include <string>
#include <vector>

#include "capture/RegionHost.h"

namespace tovrimo::test {

// Logs the screen's hand-offs in order: "printHandOff", "copyStep", "commandLineHandOff",
// "cancel", "unloadRegionScreen", "setState:<n>". cancel() also sets the state to idle, as the
// real cancel command does. onCall runs at each call.
class RecordingRegionHost : public RegionHost {
public:
    AppState state() const override { return currentState; }
    void setState(AppState state) override
    {
        currentState = state;
        log("setState:" + std::to_string(static_cast<int>(state)));
    }
    void printHandOff() override { log("printHandOff"); }
    void copyStep() override { log("copyStep"); }
    void commandLineHandOff() override { log("commandLineHandOff"); }
    void cancel() override
    {
        currentState = AppState::Idle;
        log("cancel");
    }
    void unloadRegionScreen() override { log("unloadRegionScreen"); }

    AppState currentState = AppState::Idle;
    std::vector<std::string> calls;
    std::function<void(const std::string&)> onCall;

private:
    void log(const std::string& call)
    {
        calls.push_back(call);
        if (onCall) onCall(call);
    }
};

}  // namespace tovrimo::test
