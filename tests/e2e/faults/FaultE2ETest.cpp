#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "core/SettingsStore.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/ShownSettingsStore.h"
#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"
#include "platform/PosixFileSystem.h"
#include "tools/SettingsSaveLoop.h"

using namespace tovrimo;
using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

std::string Shell(const std::string& command)
{
    return Process::run("/bin/sh", {{"-c", command}}).standardOutput();
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int TrayIconCount()
{
    std::istringstream in(
        Shell("for w in $(xdotool search --class trayer); do "
              "xwininfo -children -id $w | grep -c '^ *0x'; done"));
    int total = 0;
    for (int n; in >> n;) total += n;
    return total;
}

// A resident program whose hot key Ctrl+Alt+P (slot 0) prints the desktop to `device`.
class HotKeyResident {
public:
    explicit HotKeyResident(const std::string& device, int confirm = 0)
    {
        std::ofstream ini(tovrimo.settingsFile());
        ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint="
            << confirm << "\nSelfTime=5\nHotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\n"
            << "HotKeySHIFT0=0\nHotKeyButton0=80\n[DefaultPrinter]\nDeviceName=" << device
            << "\nOrientation=1\nPaperSize=9\nPaperBin=0\nPos=1\nSize=1\nSizeP=100\n"
            << "FontName=IPAGothic\nFontSize=10\nTitleText=\n";
    }
    // The hot keys are registered before the tray icon appears.
    bool start()
    {
        FocusRoot();
        const int before = TrayIconCount();
        return tovrimo.start() && WaitFor([&] { return TrayIconCount() == before + 1; }, 15s) &&
               tovrimo.running();
    }
    TovrimoProcess tovrimo;
};

// Any message box of the program: its own caption or the printing error captions.
constexpr const char* kAnyMessage =
    "^(トヴリモ|プリンタ名エラー|用紙サイズエラー|給紙方法エラー|エラー.*)$";

// Titles of the visible windows, for failure messages.
std::string VisibleWindows()
{
    return Shell(
        "for w in $(xdotool search --onlyvisible --name '.*'); do "
        "xdotool getwindowname $w; done | sort | uniq | tr '\\n' '|'");
}

// Starts the save-loop helper on `folder`, lets it save for `delay` after its first complete
// save and kills it with SIGKILL wherever it is.
void KillSaveLoopAfter(const std::string& folder, std::chrono::microseconds delay)
{
    Process loop(TOVRIMO_SAVE_LOOP, {{folder}});
    ASSERT_TRUE(loop.start());
    ASSERT_TRUE(WaitFor([&] { return loop.standardOutput() == "ready\n"; }, 10s))
        << loop.standardError();
    std::this_thread::sleep_for(delay);
    loop.signal(SIGKILL);
    ASSERT_TRUE(loop.wait(10s).has_value());
    ASSERT_FALSE(loop.exitedNormally()) << "the loop ended by itself: " << loop.standardError();
}

}  // namespace

class FaultE2E : public ::testing::Test {
protected:
    PrivateCups& cups() { return TestSession::current().cups(); }
    bool waitForOneMoreJob(int before)
    {
        return WaitFor([&] { return cups().jobCount() == before + 1; }, 20s) &&
               cups().waitForJobs();
    }
    Desktop desktop;
};

// The program started without a usable X display: a message on standard error and a failing
// exit code, never an abort (Qt aborts when it cannot open its display).
static void ExpectDisplayRefused(Process::Options options)
{
    QTemporaryDir folder;
    options.env["TOVRIMO_PROGRAM_DIR"] = folder.path().toStdString();
    Process p(TOVRIMO_BINARY, options);
    ASSERT_TRUE(p.start());
    ASSERT_TRUE(p.wait(20s).has_value());
    EXPECT_TRUE(p.exitedNormally()) << "ended by signal " << p.exitCode() - 128 << "\n"
                                    << p.standardError();
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_NE(p.standardError().find("display"), std::string::npos) << p.standardError();
    EXPECT_FALSE(std::filesystem::exists(folder.path().toStdString() + "/tovrimo.ini"));
}

TEST_F(FaultE2E, NoDisplayIsReportedOnStandardErrorWithAFailingExit)
{
    Process::Options options;
    options.unsetEnv = {"DISPLAY"};
    ExpectDisplayRefused(options);
}

TEST_F(FaultE2E, UnreachableDisplayIsReportedWithoutAnAbort)
{
    Process::Options options;
    options.env["DISPLAY"] = ":987";  // no server answers there
    ExpectDisplayRefused(options);
}

TEST_F(FaultE2E, SchedulerStoppedWhileResidentIsReportedAndPrintingResumesAfterwards)
{
    HotKeyResident r(TestSession::kA4Queue);
    ASSERT_TRUE(r.start());
    const std::string settings = ReadBytes(r.tovrimo.settingsFile());

    cups().stop();
    desktop.key("ctrl+alt+p");
    const auto box = desktop.waitForWindow(kAnyMessage, 20s);
    const bool told = box != 0;
    if (box) desktop.dismiss(box);
    // The scheduler comes back before any assertion can end the test, for the tests after it.
    ASSERT_TRUE(cups().start()) << cups().error();
    EXPECT_TRUE(told) << "printing without a scheduler said nothing";
    ASSERT_TRUE(desktop.waitForNoWindow(kAnyMessage, 10s));
    EXPECT_TRUE(r.tovrimo.running());
    EXPECT_EQ(ReadBytes(r.tovrimo.settingsFile()), settings) << "the settings were changed";

    const int before = cups().jobCount();
    cups().clearOutput(TestSession::kA4Queue);
    FocusRoot();
    desktop.key("ctrl+alt+p");
    EXPECT_TRUE(waitForOneMoreJob(before)) << "no page once the scheduler was back";
    EXPECT_TRUE(r.tovrimo.running());
}

TEST_F(FaultE2E, PrinterDeletedAfterStartUpIsReportedWithoutACrash)
{
    // The program starts on the system's default printer; that queue then disappears.
    ASSERT_TRUE(cups().addQueue("TovGone", TestSession::ppdPath(TestSession::kA4Queue)))
        << cups().error();
    ASSERT_TRUE(cups().setDefault("TovGone")) << cups().error();
    struct RestoreDefault {
        PrivateCups& cups;
        ~RestoreDefault() { cups.setDefault(TestSession::kA4Queue); }
    } restore{cups()};
    HotKeyResident r("TovGone");
    ASSERT_TRUE(r.start());
    ASSERT_TRUE(cups().deleteQueue("TovGone")) << cups().error();
    ASSERT_TRUE(cups().setDefault(TestSession::kA4Queue)) << cups().error();

    const int before = cups().jobCount();
    desktop.key("ctrl+alt+p");
    const auto box = desktop.waitForWindow(kAnyMessage, 20s);
    ASSERT_NE(box, 0u) << "printing to a deleted queue said nothing; jobs "
                       << cups().jobCount() - before << ", running " << r.tovrimo.running()
                       << ", windows " << VisibleWindows() << "\n"
                       << r.tovrimo.process().standardError();
    desktop.dismiss(box);
    ASSERT_TRUE(desktop.waitForNoWindow(kAnyMessage, 10s));
    EXPECT_TRUE(r.tovrimo.running());
    EXPECT_EQ(cups().jobCount(), before) << "the page went to another printer unasked";
}

TEST_F(FaultE2E, SettingsFolderThatCannotBeWrittenKeepsTheOldFileAndSaysSo)
{
    // Root ignores permission bits, so the folder is made immutable (chattr +i), which binds
    // root too: no file can be created, renamed or removed in it.
    HotKeyResident r(TestSession::kA4Queue, 1);
    ASSERT_TRUE(r.start());
    const std::string folder = r.tovrimo.programFolder();
    const std::string before = ReadBytes(r.tovrimo.settingsFile());
    if (Process::run("chattr", {{"+i", folder}}).exitCode() != 0)
        GTEST_SKIP() << "this file system cannot make a folder immutable";
    struct Unlock {
        std::string folder;
        ~Unlock() { Process::run("chattr", {{"-i", folder}}); }
    } unlock{folder};

    const int jobs = cups().jobCount();
    desktop.key("ctrl+alt+p");
    const auto dialog = desktop.waitForWindow("^【印刷確認】", 20s);
    ASSERT_NE(dialog, 0u) << "the print dialog did not open";
    desktop.activate(dialog);
    desktop.key("Return");  // 印刷開始(&P) has the focus; it saves the settings first
    const auto box = desktop.waitForWindow("^トヴリモ$", 20s);
    ASSERT_NE(box, 0u) << "a failed save said nothing; windows " << VisibleWindows() << "\n"
                       << r.tovrimo.process().standardError();
    desktop.dismiss(box);

    EXPECT_EQ(ReadBytes(r.tovrimo.settingsFile()), before) << "the old file was not kept";
    EXPECT_TRUE(r.tovrimo.running());
    // No temporary file was left behind by the failed attempt.
    for (const auto& e : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();
    // The page is still printed: a settings file that cannot be written is no reason to lose
    // the hard copy.
    EXPECT_TRUE(waitForOneMoreJob(jobs));
}

TEST_F(FaultE2E, AFirstRunThatCannotWriteItsSettingsSaysSoAndStillPrints)
{
    // Both places the settings file could go are immutable: the program folder, and the
    // configuration folder taken when the program folder is not writable.
    TovrimoProcess tovrimo;
    const std::string folder = tovrimo.programFolder();
    const std::string config = folder + "/.config/tovrimo";
    std::filesystem::create_directories(config);
    if (Process::run("chattr", {{"+i", config}}).exitCode() != 0)
        GTEST_SKIP() << "this file system cannot make a folder immutable";
    struct Unlock {
        std::vector<std::string> folders;
        ~Unlock()
        {
            for (const auto& f : folders) Process::run("chattr", {{"-i", f}});
        }
    } unlock{{config}};
    ASSERT_EQ(Process::run("chattr", {{"+i", folder}}).exitCode(), 0);
    unlock.folders.push_back(folder);

    FocusRoot();
    const int jobs = cups().jobCount();
    ASSERT_TRUE(tovrimo.start({"/d"}));
    const auto box = desktop.waitForWindow("^トヴリモ$", 20s);
    ASSERT_NE(box, 0u) << "the failed first run said nothing; windows " << VisibleWindows() << "\n"
                       << tovrimo.process().standardError();
    EXPECT_FALSE(tovrimo.waitForExit(300ms).has_value()) << "it waits for the user";
    EXPECT_EQ(cups().jobCount(), jobs) << "the message comes first, at start-up";
    ASSERT_TRUE(desktop.dismiss(box));

    // The first-run layout (the default printer, centred, actual size) prints the desktop.
    EXPECT_TRUE(waitForOneMoreJob(jobs)) << tovrimo.process().standardError();
    const auto code = tovrimo.waitForExit(30s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    EXPECT_TRUE(desktop.findWindows("^トヴリモ$").empty()) << "said once";
    EXPECT_FALSE(std::filesystem::exists(folder + "/tovrimo.ini"));
    EXPECT_FALSE(std::filesystem::exists(config + "/tovrimo.ini"));
    EXPECT_TRUE(std::filesystem::is_empty(config)) << "nothing left behind";
}

TEST_F(FaultE2E, KillDuringRepeatedSavesLeavesOneCompleteGenerationOnDisk)
{
    const SettingsData first = SaveLoopGeneration(0);
    const SettingsData second = SaveLoopGeneration(1);
    std::mt19937 random(20240305);
    std::uniform_int_distribution<int> delayUs(0, 60000);
    int sawFirst = 0, sawSecond = 0;
    for (int round = 0; round < 25; ++round) {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString() + "/";
        ASSERT_NO_FATAL_FAILURE(
            KillSaveLoopAfter(folder, std::chrono::microseconds(delayUs(random))));

        PosixFileSystem fs;
        FakePrinterBackend printers;
        RecordingMessageBoxes boxes;
        test::ShownSettingsStore store(fs, printers, boxes, folder);
        SettingsData onDisk;
        ASSERT_EQ(store.loadSettings(onDisk), LoadResult::Loaded);
        onDisk.settings.formatVersion.clear();
        if (onDisk == first) {
            ++sawFirst;
        } else {
            ASSERT_EQ(onDisk, second) << "round " << round << ": the file is neither generation\n"
                                      << ReadBytes(folder + "tovrimo.ini").substr(0, 400);
            ++sawSecond;
        }
        EXPECT_TRUE(boxes.shown.empty());
    }
    // Both generations were caught on disk, so the kills really fell between and during saves.
    EXPECT_GT(sawFirst + sawSecond, 0);
    RecordProperty("first", sawFirst);
    RecordProperty("second", sawSecond);
}

TEST_F(FaultE2E, StartUpRemovesWhatKilledSavesLeftBehind)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    auto leftovers = [&] {
        int n = 0;
        for (const auto& e : std::filesystem::directory_iterator(folder))
            n += e.path().filename().string().find(".tmp-") != std::string::npos;
        return n;
    };
    // Saves are killed until one dies between writing its temporary file and renaming it.
    std::mt19937 random(977);
    std::uniform_int_distribution<int> delayUs(0, 30000);
    for (int round = 0; round < 100 && leftovers() == 0; ++round) {
        ASSERT_NO_FATAL_FAILURE(
            KillSaveLoopAfter(folder, std::chrono::microseconds(delayUs(random))));
    }
    ASSERT_GT(leftovers(), 0) << "no kill fell inside a save";

    TovrimoProcess tovrimo(folder);
    FocusRoot();
    const int icons = TrayIconCount();
    ASSERT_TRUE(tovrimo.start());
    ASSERT_TRUE(WaitFor([&] { return TrayIconCount() == icons + 1; }, 15s))
        << tovrimo.process().standardError();
    EXPECT_EQ(leftovers(), 0);
    EXPECT_TRUE(tovrimo.running());
    EXPECT_TRUE(std::filesystem::exists(folder + "tovrimo.ini"));
}

TEST_F(FaultE2E, PrinterDeletedWhileThePrintDialogIsOpenPrintsOnTheCurrentPrinter)
{
    // A printer name that matches no installed printer leaves the current printer in use (so a
    // settings file from another computer still prints), and at start the current printer is
    // the system's default: the page goes there, nothing is lost and nothing breaks.
    ASSERT_TRUE(cups().addQueue("TovBrief", TestSession::ppdPath(TestSession::kA4Queue)))
        << cups().error();
    cups().clearOutput(TestSession::kA4Queue);
    HotKeyResident r("TovBrief", 1);
    ASSERT_TRUE(r.start());
    desktop.key("ctrl+alt+p");
    const auto dialog = desktop.waitForWindow("^【印刷確認】", 20s);
    ASSERT_NE(dialog, 0u) << "the print dialog did not open";
    ASSERT_TRUE(cups().deleteQueue("TovBrief")) << cups().error();

    const int before = cups().jobCount();
    desktop.activate(dialog);
    desktop.key("Return");  // 印刷開始(&P)
    ASSERT_TRUE(waitForOneMoreJob(before)) << "no page; windows " << VisibleWindows() << "\n"
                                           << r.tovrimo.process().standardError();
    EXPECT_TRUE(std::filesystem::exists(cups().outputPdf(TestSession::kA4Queue)))
        << "the page did not reach the default printer";
    EXPECT_TRUE(desktop.waitForNoWindow("^【印刷確認】", 10s));
    EXPECT_EQ(desktop.waitForWindow(kAnyMessage, 1s), 0u)
        << "a printed page was reported as a failure";
    EXPECT_TRUE(r.tovrimo.running());
}
