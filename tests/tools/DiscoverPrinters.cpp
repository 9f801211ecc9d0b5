// Asks a fresh printer backend what it sees, as a newly started program would: the scheduler's
// queues, the network printers discovered within the given time, the sizes of the first
// discovered printer whose name starts with PREFIX and contains PART, and the queues listed after
// discovery. A process of its own, because the D-Bus library reads the system bus's address once
// per process: a test that points DBUS_SYSTEM_BUS_ADDRESS at its own bus cannot do it in a process
// that has looked for the system bus before.
//   discover_printers PREFIX PART MILLISECONDS
// One line per fact: "queue NAME", "found NAME", "announced NAME", "size CODE",
// "listed NAME", then "end".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/cups/CupsPrinterBackend.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: discover_printers PREFIX PART MILLISECONDS\n");
        return 2;
    }
    const std::string prefix = argv[1];
    const std::string part = argv[2];
    const std::chrono::milliseconds wait(std::atoi(argv[3]));
    tovrimo::CupsPrinterBackend backend;
    for (const auto& queue : backend.printerNames()) std::printf("queue %s\n", queue.c_str());
    std::string announced;
    for (const auto& name : backend.discoverPrinters(wait)) {
        std::printf("found %s\n", name.c_str());
        if (announced.empty() && name.rfind(prefix, 0) == 0 && name.find(part) != std::string::npos)
            announced = name;
    }
    if (!announced.empty()) {
        std::printf("announced %s\n", announced.c_str());
        // By Qt's page-size id.
        for (const QPageSize& size : backend.pageSizes(announced))
            std::printf("size %d\n", static_cast<int>(size.id()));
    }
    for (const auto& queue : backend.printerNames()) std::printf("listed %s\n", queue.c_str());
    std::printf("end\n");
    return 0;
}
