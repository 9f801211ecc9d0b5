#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "harness/Process.h"

namespace tovrimo::test {

// Driverless IPP Everywhere printers simulated on loopback with ippeveprinter, which keeps every
// document it is sent. ippeveprinter needs DNS-SD, so the set brings its own system bus and an
// avahi-daemon limited to the loopback interface (with a private /run/avahi-daemon, so that
// several sets can run side by side); nothing reaches the network. Every process is stopped by
// its pid: the printers first, then avahi, then the bus.
class IppEverywhere {
public:
    struct Printer {
        std::string name;
        std::string uri;    // ipp://localhost:<port>/ipp/print
        std::string spool;  // where the printer keeps the documents
        std::unique_ptr<Process> process;
    };

    IppEverywhere();
    ~IppEverywhere();
    IppEverywhere(const IppEverywhere&) = delete;
    IppEverywhere& operator=(const IppEverywhere&) = delete;

    // Starts the bus and avahi; false with error() set when the machine cannot run them.
    bool start();
    // Starts a printer: ippeveprinter's own model (Letter by default, 600 dpi ...) or, with an
    // attributes file, the printer that file describes. Nothing on failure.
    const Printer* addPrinter(const std::string& name, const std::string& attributesFile = {});
    void stop();

    // The newest document the printer kept, and the job attributes the printer saw for it
    // (IPP_* lines, e.g. "IPP_MEDIA=iso_a4_210x297mm"); empty when there is none.
    std::string lastDocument(const std::string& printer) const;
    std::string lastJobAttributes(const std::string& printer) const;
    // Removes the kept documents, so that the next one is the next job's.
    void clearSpool(const std::string& printer) const;
    // Waits until a document and its attributes are complete in the spool.
    bool waitForDocument(const std::string& printer, int count = 1) const;

    const std::string& error() const { return error_; }
    // The private system bus avahi runs on: a program given it sees the network as a desktop
    // does, with the simulators announced.
    const std::string& systemBusAddress() const { return busAddress_; }

private:
    const Printer* find(const std::string& name) const;

    std::string folder_;
    std::string busAddress_;
    std::string error_;
    std::unique_ptr<Process> bus_;
    std::unique_ptr<Process> avahi_;
    std::deque<Printer> printers_;  // a deque: addPrinter hands out pointers into it
};

}  // namespace tovrimo::test
