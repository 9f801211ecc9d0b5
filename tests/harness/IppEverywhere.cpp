#include "harness/IppEverywhere.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>

#include "harness/XSession.h"

namespace tovrimo::test {

namespace fs = std::filesystem;

namespace {

bool WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

// A TCP port on loopback that nobody listens on right now.
int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

bool Listening(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

// The system bus configuration with our own socket, no pid file, no user switch, and absolute
// policy folders.
std::string BusConfiguration(const std::string& socket)
{
    std::string text = ReadTextFile("/usr/share/dbus-1/system.conf");
    text = std::regex_replace(text, std::regex("<listen>[^<]*</listen>"),
                              "<listen>unix:path=" + socket + "</listen>");
    text = std::regex_replace(text, std::regex("<pidfile>[^<]*</pidfile>"), "");
    text = std::regex_replace(text, std::regex("<user>[^<]*</user>"), "");
    text = std::regex_replace(text, std::regex("<includedir>system.d</includedir>"),
                              "<includedir>/usr/share/dbus-1/system.d</includedir>");
    return text;
}

// The newest file in a folder with the given ending.
std::string Newest(const std::string& folder, const std::string& ending)
{
    std::string best;
    fs::file_time_type bestTime{};
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string path = entry.path().string();
        if (path.size() < ending.size() ||
            path.compare(path.size() - ending.size(), ending.size(), ending) != 0)
            continue;
        const auto time = entry.last_write_time(ec);
        if (best.empty() || time > bestTime) {
            best = path;
            bestTime = time;
        }
    }
    return best;
}

}  // namespace

IppEverywhere::IppEverywhere() = default;

IppEverywhere::~IppEverywhere()
{
    stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
}

bool IppEverywhere::start()
{
    char pattern[] = "/tmp/tovrimo-ipp.XXXXXX";
    if (!::mkdtemp(pattern)) {
        error_ = "cannot make a temporary folder";
        return false;
    }
    folder_ = pattern;
    ::chmod(folder_.c_str(), 0755);
    for (const char* sub : {"avahi-run", "ssl", "log"})
        ::mkdir((folder_ + "/" + sub).c_str(), 0755);
    const std::string socket = folder_ + "/system_bus_socket";
    busAddress_ = "unix:path=" + socket;
    // Jobs complete at once when the printer's command is quick; this one keeps the job's
    // attributes beside the document.
    if (!WriteFile(folder_ + "/bus.conf", BusConfiguration(socket)) ||
        !WriteFile(folder_ + "/avahi.conf",
                   "[server]\nallow-interfaces=lo\nuse-ipv4=yes\nuse-ipv6=no\nenable-dbus=yes\n"
                   "[wide-area]\nenable-wide-area=no\n"
                   "[publish]\npublish-hinfo=no\npublish-workstation=no\n") ||
        !WriteFile(folder_ + "/keep-job.sh",
                   "#!/bin/sh\nenv | grep '^IPP_' > \"$1.attrs.tmp\" && mv \"$1.attrs.tmp\" "
                   "\"$1.attrs\"\nexit 0\n")) {
        error_ = "cannot write the configuration";
        return false;
    }
    ::chmod((folder_ + "/keep-job.sh").c_str(), 0755);

    Process::Options busOptions({"--config-file=" + folder_ + "/bus.conf", "--nofork"});
    busOptions.outputDirectory = folder_ + "/log";
    bus_ = std::make_unique<Process>("dbus-daemon", busOptions);
    if (!bus_->start() ||
        !WaitFor([&] { return fs::exists(socket) || !bus_->running(); },
                 std::chrono::seconds(10)) ||
        !bus_->running()) {
        error_ = "the system bus did not start: " + bus_->standardError();
        return false;
    }
    // avahi insists on its pid file in /run/avahi-daemon; a private mount namespace gives it a
    // folder of its own there, so that several sets can run side by side. Where mount
    // namespaces are not allowed (an unprivileged container) it shares the system's folder.
    ::mkdir("/run/avahi-daemon", 0755);
    const std::string avahiArgs =
        "--no-drop-root --no-chroot --no-rlimits -f " + folder_ + "/avahi.conf";
    for (const bool privateRun : {true, false}) {
        Process::Options options;
        if (privateRun) {
            options.args = {"--mount", "sh", "-c",
                            "mount --bind " + folder_ + "/avahi-run /run/avahi-daemon && exec " +
                                "avahi-daemon " + avahiArgs};
        } else {
            options.args = {"--no-drop-root", "--no-chroot", "--no-rlimits", "-f",
                            folder_ + "/avahi.conf"};
        }
        options.env["DBUS_SYSTEM_BUS_ADDRESS"] = busAddress_;
        options.outputDirectory = folder_ + "/log";
        avahi_ = std::make_unique<Process>(privateRun ? "unshare" : "avahi-daemon", options);
        const bool up = avahi_->start() &&
                        WaitFor(
                            [&] {
                                return !avahi_->running() ||
                                       (avahi_->standardOutput() + avahi_->standardError())
                                               .find("startup complete") != std::string::npos;
                            },
                            std::chrono::seconds(15));
        if (up && avahi_->running()) return true;
        error_ = "avahi-daemon did not start: " + avahi_->standardError();
        avahi_->stop();
    }
    return false;
}

const IppEverywhere::Printer* IppEverywhere::addPrinter(const std::string& name,
                                                        const std::string& attributesFile)
{
    Printer printer;
    printer.name = name;
    printer.spool = folder_ + "/spool-" + name;
    ::mkdir(printer.spool.c_str(), 0755);
    const int port = FreePort();
    printer.uri = "ipp://localhost:" + std::to_string(port) + "/ipp/print";
    Process::Options options;
    options.args = {"-p", std::to_string(port), "-d", printer.spool,           "-k",
                    "-K", folder_ + "/ssl",     "-c", folder_ + "/keep-job.sh"};
    if (attributesFile.empty()) {
        options.args.insert(options.args.end(),
                            {"-f", "application/pdf,image/pwg-raster,image/urf"});
    } else {
        options.args.insert(options.args.end(), {"-a", attributesFile});
    }
    // A service name of our own, so that simulators of parallel runs never meet on DNS-SD.
    options.args.push_back(name + "-" + std::to_string(::getpid()));
    options.env["DBUS_SYSTEM_BUS_ADDRESS"] = busAddress_;
    options.outputDirectory = folder_ + "/log";
    printer.process = std::make_unique<Process>("ippeveprinter", options);
    if (!printer.process->start() ||
        !WaitFor([&] { return !printer.process->running() || Listening(port); },
                 std::chrono::seconds(15)) ||
        !printer.process->running()) {
        error_ = "ippeveprinter did not start: " + printer.process->standardError();
        return nullptr;
    }
    printers_.push_back(std::move(printer));
    return &printers_.back();
}

void IppEverywhere::stop()
{
    for (auto& p : printers_)
        if (p.process) p.process->stop();
    printers_.clear();
    // avahi before the bus: with its bus gone, avahi 0.8 spins and ignores SIGTERM (Process::stop
    // falls back to SIGKILL after the grace period).
    if (avahi_) avahi_->stop(std::chrono::seconds(3));
    avahi_.reset();
    if (bus_) bus_->stop();
    bus_.reset();
}

const IppEverywhere::Printer* IppEverywhere::find(const std::string& name) const
{
    for (const auto& p : printers_)
        if (p.name == name) return &p;
    return nullptr;
}

std::string IppEverywhere::lastDocument(const std::string& printer) const
{
    const Printer* p = find(printer);
    return p ? Newest(p->spool, ".pdf") : std::string();
}

std::string IppEverywhere::lastJobAttributes(const std::string& printer) const
{
    const std::string document = lastDocument(printer);
    return document.empty() ? std::string() : ReadTextFile(document + ".attrs");
}

void IppEverywhere::clearSpool(const std::string& printer) const
{
    const Printer* p = find(printer);
    if (!p) return;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(p->spool, ec)) fs::remove(entry.path(), ec);
}

bool IppEverywhere::waitForDocument(const std::string& printer, int count) const
{
    const Printer* p = find(printer);
    if (!p) return false;
    return WaitFor(
        [&] {
            int complete = 0;
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(p->spool, ec)) {
                const std::string path = entry.path().string();
                if (path.size() > 6 && path.compare(path.size() - 6, 6, ".attrs") == 0) ++complete;
            }
            return complete >= count;
        },
        std::chrono::seconds(30));
}

}  // namespace tovrimo::test
