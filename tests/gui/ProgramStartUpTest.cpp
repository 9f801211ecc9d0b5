#include <gtest/gtest.h>

#include <QImage>

#include "capture/CaptureEngine.h"
#include "core/CoreTexts.h"
#include "core/Program.h"
#include "doubles/FakeCursorSource.h"
#include "doubles/FakeHotKeyRegistrar.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/FakeScreenGrabber.h"
#include "doubles/FakeTimerFactory.h"
#include "doubles/FakeTrayIcon.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingClipboard.h"
#include "doubles/RecordingMessageBoxes.h"
#include "resident/FrmTovrimo.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

const std::string kFolder = "/opt/tovrimo/";

struct World {
    FakePrinterBackend printers;
    RecordingMessageBoxes boxes;
    MemoryFileSystem files;
    FakeScreenGrabber screen{[] {
        QImage img(320, 200, QImage::Format_RGB32);
        img.fill(Qt::blue);
        return img;
    }()};
    FakeWindowSystem windows;
    FakeCursorSource cursor;
    RecordingClipboard clipboard;
    FakeTimerFactory timers;
    FakeHotKeyRegistrar hotKeys;
    FakeTrayIcon* tray = nullptr;
    std::unique_ptr<Program> program;

    World()
    {
        printers.printers = {FakePrinterBackend::a4("Office")};
        printers.defaultName = "Office";
        program = std::make_unique<Program>(PlatformServices{
            printers, boxes, files, screen, windows, cursor, clipboard, timers, hotKeys,
            [this] {
                auto t = std::make_unique<FakeTrayIcon>();
                tray = t.get();
                return t;
            }});
    }

    Program::Outcome start(std::vector<std::string> args = {})
    {
        return program->StartUp(AppFolders{kFolder, kFolder}, args);
    }
};

}  // namespace

TEST(ProgramStartUp, NoPrinterShowsTheMessageAndEnds)
{
    World w;
    w.printers.printers.clear();
    const auto outcome = w.start({"/d"});  // the printer check comes before the command line
    EXPECT_FALSE(outcome.resident);
    EXPECT_NE(outcome.exitCode, 0);
    ASSERT_EQ(w.boxes.shown.size(), 1u);
    EXPECT_EQ(w.boxes.shown[0].caption, "トヴリモ");
    EXPECT_EQ(w.boxes.shown[0].text,
              "プリンタが１台も見つかりません。\n\nWindowsにプリンタが１台以上設定されていないと、"
              "トヴリモは実行できません。\n実行を中止します。");
    EXPECT_EQ(w.boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(w.boxes.shown[0].icon, MsgIcon::None);
    EXPECT_TRUE(w.files.files.empty()) << "nothing is written before the check";
    EXPECT_EQ(w.tray, nullptr);
}

TEST(ProgramStartUp, FirstRunBecomesResidentWithTheTitleAsTooltip)
{
    World w;
    const auto outcome = w.start();
    EXPECT_TRUE(outcome.resident);
    EXPECT_TRUE(w.files.exists(kFolder + "tovrimo.ini"));
    ASSERT_NE(w.tray, nullptr);
    EXPECT_TRUE(w.tray->isShown());
    EXPECT_EQ(w.tray->tooltip(), "トヴリモ");
    EXPECT_EQ(w.program->engine().state(), AppState::Idle);
    EXPECT_EQ(w.program->engine().lastOperation().action, ActionCode::None);
    EXPECT_EQ(w.program->LastFolder, kFolder);
    EXPECT_TRUE(w.program->data.settings.IconIsBuiltIn);
}

TEST(ProgramStartUp, MissingCustomIconFallsBackSilently)
{
    World w;
    w.files.files[kFolder + "tovrimo.ini"] =
        "[Application]\nTitle=My Tovrimo\nIcon=/nowhere/icon.ico\nVersion=2.80\n";
    EXPECT_TRUE(w.start().resident);
    EXPECT_TRUE(w.program->data.settings.IconIsBuiltIn);
    EXPECT_EQ(w.tray->tooltip(), "My Tovrimo");
    EXPECT_TRUE(w.boxes.shown.empty());
}

TEST(ProgramStartUp, AnyCommandLineTokenKeepsTheTrayEmpty)
{
    for (std::vector<std::string> args :
         {std::vector<std::string>{"/x"}, {"/d"}, {"hello", "world"}}) {
        World w;
        const auto outcome = w.start(args);
        EXPECT_FALSE(outcome.resident) << args[0];
        EXPECT_EQ(w.tray, nullptr) << args[0];
    }
}

TEST(ProgramStartUp, LeadingTabOrEmptyArgumentStaysResident)
{
    World w;
    EXPECT_TRUE(w.start({"\t/d"}).resident);
    World w2;
    EXPECT_TRUE(w2.start({""}).resident);
}

TEST(ProgramStartUp, BadCommandLineShowsItsMessage)
{
    for (const char* arg : {"/dx", "/c", "/S:"}) {
        World w;
        const auto outcome = w.start({arg});
        EXPECT_FALSE(outcome.resident);
        EXPECT_NE(outcome.exitCode, 0);
        ASSERT_EQ(w.boxes.shown.size(), 1u) << arg;
        EXPECT_EQ(w.boxes.shown[0].text, "コマンドライン引数に誤りがあります。");
        EXPECT_TRUE(w.printers.jobs.empty());
    }
}

TEST(ProgramStartUp, DesktopSwitchPrintsAtOnceEvenWhenConfirmationIsStored)
{
    World w;
    w.files.files[kFolder + "tovrimo.ini"] =
        "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=1\n"
        "[DefaultPrinter]\nDeviceName=Office\nOrientation=1\nPaperSize=9\nPos=3\nSize=1\n"
        "SizeP=100\nFontName=IPAGothic\nFontSize=10\n";
    const auto outcome = w.start({"/d"});
    EXPECT_FALSE(outcome.resident);
    EXPECT_EQ(outcome.exitCode, 0);
    ASSERT_EQ(w.printers.jobs.size(), 1u);
    EXPECT_EQ(w.printers.jobs[0].printer, "Office");
    EXPECT_EQ(w.program->buffer().PicPrint.size(), QSize(320, 200));
    EXPECT_EQ(w.program->engine().state(), AppState::CommandLine);
}

TEST(ProgramStartUp, NamedSettingMatchesCaseSensitivelyAndTheLastDuplicateWins)
{
    World w;
    auto second = FakePrinterBackend::a4("Second");
    w.printers.printers.push_back(second);
    w.files.files[kFolder + "tovrimo.ini"] =
        "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nPrinterCount=3\nLastSet=-1\n"
        "[DefaultPrinter]\nDeviceName=Office\nOrientation=1\nPaperSize=9\nPos=3\nSize=1\n"
        "[Printer1]\nDeviceName=Office\nTitle=Report\nOrientation=1\nSize=1\nPos=1\n"
        "[Printer2]\nDeviceName=Second\nTitle=report\nOrientation=1\nSize=1\nPos=1\n"
        "[Printer3]\nDeviceName=Second\nTitle=Report\nOrientation=1\nSize=1\nPos=1\n";
    w.start({"/d", "/S:Report"});
    ASSERT_EQ(w.printers.jobs.size(), 1u);
    EXPECT_EQ(w.printers.jobs[0].printer, "Second");
    EXPECT_EQ(w.program->data.settings.LastSet, 2);

    World w2;
    w2.files.files = w.files.files;
    w2.printers.printers.push_back(second);
    w2.start({"/d", "/S:REPORT"});
    ASSERT_EQ(w2.printers.jobs.size(), 1u);
    EXPECT_EQ(w2.printers.jobs[0].printer, "Office") << "no match: the stored layout is used";
}
