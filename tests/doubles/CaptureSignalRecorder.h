#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "capture/CaptureEngine.h"

namespace tovrimo::test {

// Listens to an engine and logs what it hands on, in order, under the names of the receivers
// the program connects: "openPrintDialog" (printDialogWanted), "printHardCopy" (captured for
// the printer), "openRegionScreen", "unloadRegionScreen", "removeTrayIcon" (trayIconRemoved),
// "addTrayIcon:<tooltip>" (trayIconRestored). onCall runs at each, so a test can look at the
// engine's state at that moment. Make it after the engine, so that it goes first.
class CaptureSignalRecorder {
public:
    explicit CaptureSignalRecorder(CaptureEngine& engine)
    {
        QObject::connect(&engine, &CaptureEngine::printDialogWanted, &receiver_,
                         [this] { log("openPrintDialog"); });
        QObject::connect(&engine, &CaptureEngine::captured, &receiver_,
                         [this](CaptureDestination destination) {
                             captures.push_back(destination);
                             if (destination == CaptureDestination::Printer) log("printHardCopy");
                         });
        QObject::connect(&engine, &CaptureEngine::regionScreenWanted, &receiver_,
                         [this] { log("openRegionScreen"); });
        QObject::connect(&engine, &CaptureEngine::regionScreenDone, &receiver_,
                         [this] { log("unloadRegionScreen"); });
        QObject::connect(&engine, &CaptureEngine::trayIconRemoved, &receiver_,
                         [this] { log("removeTrayIcon"); });
        QObject::connect(&engine, &CaptureEngine::trayIconRestored, &receiver_,
                         [this](const std::string& tooltip) { log("addTrayIcon:" + tooltip); });
        QObject::connect(&engine, &CaptureEngine::countdownChanged, &receiver_,
                         [this](int secondsLeft) { countdown.push_back(secondsLeft); });
        QObject::connect(&engine, &CaptureEngine::countdownEnded, &receiver_,
                         [this] { countdown.push_back(0); });
        QObject::connect(&engine, &CaptureEngine::stateChanged, &receiver_,
                         [this] { ++stateChanges; });
    }

    std::vector<std::string> calls;
    // Kept apart from the hand-offs: 3, 2, 1 for each second shown, 0 for the end.
    std::vector<int> countdown;
    // Every captured signal's destination, the clipboard's included.
    std::vector<CaptureDestination> captures;
    int stateChanges = 0;
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
