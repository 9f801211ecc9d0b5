#pragma once

#include <QObject>
#include <optional>
#include <string>
#include <vector>

namespace tovrimo {

class CaptureBuffer;
class CaptureEngine;
class MessageBoxes;
class PagePrinter;
struct SettingsData;

// One hard copy asked for on the command line: it captures at once, takes the named print
// setting, and prints, shows the print dialog first, or waits for the region to be dragged.
// The program ends when the job is done.
class CommandLineJob : public QObject {
    Q_OBJECT
public:
    struct Services {
        CaptureEngine& engine;
        CaptureBuffer& buffer;
        SettingsData& data;
        PagePrinter& printer;
        MessageBoxes& messages;
    };

    // Whether the job goes on in the event loop, or the process ends with exitCode at once.
    struct Outcome {
        bool goesOn = false;
        int exitCode = 0;
    };

    explicit CommandLineJob(Services services, QObject* parent = nullptr);

    // Runs the switches of `args` (already split).
    Outcome start(const std::vector<std::string>& args);
    // The region has been dragged: the job prints it (or shows the print dialog) and ends.
    void regionChosen();

signals:
    // The job asks to confirm: the print dialog carries it on.
    void printDialogWanted();
    // The job is a region: the region screen carries it on over the desktop just captured.
    void regionScreenWanted();
    // The job finished after start() returned: the process ends with the code.
    void finished(int exitCode);

private:
    // Prints the capture buffer, or opens the print dialog when the job asks to confirm.
    // Whether the page was accepted; nothing while the dialog carries the job on.
    std::optional<bool> deliver();

    Services s_;
};

}  // namespace tovrimo
