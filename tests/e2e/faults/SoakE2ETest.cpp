#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

// Run by scripts/soak.sh only (disabled in the ordinary run): a thousand hard copies from the
// resident program through its hot key, watching its memory, descriptors and X resources.

namespace {

std::string Shell(const std::string& command)
{
    return Process::run("/bin/sh", {{"-c", command}}).standardOutput();
}

long VmRssKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

long OpenFds(pid_t pid)
{
    long n = 0;
    for ([[maybe_unused]] const auto& e :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd"))
        ++n;
    return n;
}

// X resources the program holds, from xrestop's batch output (-1 when xrestop is missing or
// does not list the program). A client's block starts with "<n> - <name> ( PID: <pid> ):"
// (the PID is "?" when the server cannot tell) and lists "<kind> : <count>" lines.
struct XResources {
    long windows = -1, pixmaps = -1, gcs = -1, total = -1, pixmapBytes = -1;
};

XResources XResourcesOf(pid_t pid)
{
    std::istringstream out(Shell("xrestop -b -m 1 2>/dev/null"));
    XResources ours, current;
    bool inOurs = false, found = false;
    for (std::string line; std::getline(out, line);) {
        if (!line.empty() && line[0] != '\t' && line.find(" - ") != std::string::npos) {
            if (inOurs) {
                ours = current;
                found = true;
            }
            current = XResources{0, 0, 0, 0, 0};
            inOurs = line.find("PID: " + std::to_string(pid) + " ") != std::string::npos ||
                     line.find("tovrimo") != std::string::npos ||
                     line.find("トヴリモ") != std::string::npos;
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string kind = line.substr(0, colon);
        kind.erase(0, kind.find_first_not_of(" \t"));
        kind.erase(kind.find_last_not_of(" \t") + 1);
        const std::string value = line.substr(colon + 1);
        const long n = std::strtol(value.c_str() + value.find_first_not_of(" ~"), nullptr, 0);
        if (kind == "windows") current.windows = n;
        if (kind == "pixmaps") current.pixmaps = n;
        if (kind == "GCs") current.gcs = n;
        if (kind == "pixmap bytes") current.pixmapBytes = n;
        if (kind != "res_base" && kind != "res_mask" && kind.find("bytes") == std::string::npos)
            current.total += n;
    }
    if (inOurs) {
        ours = current;
        found = true;
    }
    return found ? ours : XResources{};
}

struct Sample {
    long rssKb, fds;
    XResources x;
};

Sample Measure(pid_t pid)
{
    return {VmRssKb(pid), OpenFds(pid), XResourcesOf(pid)};
}

std::string Describe(const char* when, const Sample& s)
{
    std::ostringstream o;
    o << when << ": VmRSS " << s.rssKb << " kB, fds " << s.fds << ", X windows " << s.x.windows
      << " pixmaps " << s.x.pixmaps << " (" << s.x.pixmapBytes << " bytes) GCs " << s.x.gcs
      << " all resources " << s.x.total;
    return o.str();
}

}  // namespace

TEST(SoakE2E, DISABLED_AThousandHotKeyHardCopies)
{
    const int copies =
        std::getenv("TOVRIMO_SOAK_COPIES") ? std::atoi(std::getenv("TOVRIMO_SOAK_COPIES")) : 1000;
    PrivateCups& cups = TestSession::current().cups();
    TovrimoProcess tovrimo;
    {
        std::ofstream ini(tovrimo.settingsFile());
        ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
            << "SelfTime=5\nHotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\n"
            << "HotKeyButton0=80\n[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\n"
            << "PaperSize=9\nPaperBin=0\nPos=3\nSize=2\nSizeP=100\nFontName=IPAGothic\n"
            << "FontSize=10\nTitleText=&[日付] &[時刻] &[PC名]\n";
    }
    FocusRoot();
    ASSERT_TRUE(tovrimo.start());
    const pid_t pid = tovrimo.process().pid();
    // The tray icon shows that start-up, hot keys included, is over.
    std::this_thread::sleep_for(3s);
    Desktop desktop;

    const Sample start = Measure(pid);
    // The first copy loads the printing code and fonts and keeps the capture and page images
    // (the repeat command and the print dialog reuse them); the second sets up the shared
    // memory segment that every later screen grab reuses. Growth is counted from there.
    Sample afterFirst{}, afterSecond{};
    for (int i = 1; i <= copies; ++i) {
        // The scheduler forgets finished jobs beyond its MaxJobs (500), so the job count
        // cannot tell a thousand copies apart; the queue's output file can.
        cups.clearOutput("TovA4");
        desktop.key("ctrl+alt+p");
        ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(cups.outputPdf("TovA4")); }, 30s))
            << "copy " << i << " printed nothing";
        ASSERT_TRUE(cups.waitForJobs(60s)) << "copy " << i;
        ASSERT_TRUE(tovrimo.running()) << "the program ended at copy " << i;
        if (i == 1) afterFirst = Measure(pid);
        if (i == 2) afterSecond = Measure(pid);
        if (i % 100 == 0) {
            std::printf("%s\n", Describe(std::to_string(i).c_str(), Measure(pid)).c_str());
            std::fflush(stdout);
        }
    }
    // Let deferred deletions and Qt's caches settle before the last look.
    std::this_thread::sleep_for(2s);
    const Sample end = Measure(pid);

    std::printf("%s\n%s\n%s\n%s\n", Describe("start", start).c_str(),
                Describe("after 1", afterFirst).c_str(), Describe("after 2", afterSecond).c_str(),
                Describe("end", end).c_str());
    std::printf("RSS growth from copy 2 to %d: %ld kB\n", copies, end.rssKb - afterSecond.rssKb);
    EXPECT_LT(end.rssKb - afterSecond.rssKb, 1024) << "resident memory grew";
    EXPECT_LE(end.fds, afterSecond.fds) << "file descriptors leak";
    if (end.x.total >= 0) {
        EXPECT_LE(end.x.windows, afterSecond.x.windows) << "X windows leak";
        EXPECT_LE(end.x.pixmaps, afterSecond.x.pixmaps) << "X pixmaps leak";
        EXPECT_LE(end.x.total, afterSecond.x.total) << "X resources leak";
        EXPECT_LE(end.x.pixmapBytes, afterSecond.x.pixmapBytes) << "X pixmap memory leaks";
    }
}
