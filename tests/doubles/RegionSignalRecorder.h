#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "capture/RegionSelector.h"

namespace tovrimo::test {

// The job state a region screen asks for, and a log of what the screen signals, in order:
// "printHandOff" (printChosen), "copyStep" (copyChosen), "commandLineHandOff"
// (commandLineChosen), "cancel" (cancelRequested), "unloadRegionScreen" (closeRequested).
// A cancel also sets the state to idle, as the real cancel command does. onCall runs at each.
class RegionSignalRecorder {
public:
    RegionSelector::StateProvider stateProvider()
    {
        return [this] { return currentState; };
    }
    AppState state() const { return currentState; }

    void listenTo(RegionSelector& screen)
    {
        QObject::connect(&screen, &RegionSelector::printChosen, &receiver_,
                         [this] { log("printHandOff"); });
        QObject::connect(&screen, &RegionSelector::copyChosen, &receiver_,
                         [this] { log("copyStep"); });
        QObject::connect(&screen, &RegionSelector::commandLineChosen, &receiver_,
                         [this] { log("commandLineHandOff"); });
        QObject::connect(&screen, &RegionSelector::cancelRequested, &receiver_, [this] {
            currentState = AppState::Idle;
            log("cancel");
        });
        QObject::connect(&screen, &RegionSelector::closeRequested, &receiver_,
                         [this] { log("unloadRegionScreen"); });
    }

    AppState currentState = AppState::Idle;
    std::vector<std::string> calls;
    std::function<void(const std::string&)> onCall;

private:
    void log(const std::string& call)
    {
        calls.push_back(call);
        if (onCall) onCall(call);
    }

    QObject receiver_;
};

}  // namespace tovrimo::test
