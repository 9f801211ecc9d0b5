// The resident program never leaves the user without a way out: the region screen always
// closes, a tray icon hidden for a capture always comes back, and the options dialog keeps
// its state when its command comes again. What the dialog applies is what the tray and the
// next capture go on.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMenu>
#include <QRadioButton>
#include <QtTest/QTest>
#include <functional>

#include "app/DialogCoordinator.h"
#include "capture/CaptureEngine.h"
#include "capture/RegionSelector.h"
#include "doubles/FakePlatform.h"
#include "resident/CommandRouter.h"
#include "resident/GeneralPage.h"
#include "resident/OptionsDialog.h"
#include "resident/TrayCommands.h"
#include "resident/TrayController.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

const std::string kFolder = "/opt/tovrimo/";

// Every hot-key slot on a key of its own (Ctrl+Alt+A ...), the print dialog not asked for.
std::string SettingsWithHotKeys(const std::string& moreOptions = "")
{
    std::string text =
        "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n";
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        const std::string n = std::to_string(slot);
        text += "HotKeyOn" + n + "=1\nHotKeyALT" + n + "=1\nHotKeyCTRL" + n + "=1\nHotKeyButton" +
                n + "=" + std::to_string(65 + slot) + "\n";
    }
    return text + moreOptions +
           "[DefaultPrinter]\nDeviceName=Office\nPaperSize=9\nOrientation=1\nPos=3\nSize=1\n"
           "SizeP=100\nFontName=IPAGothic\nFontSize=10\n";
}

struct World : FakePlatform {
    std::unique_ptr<Program> program;

    explicit World(const std::string& settings) : FakePlatform(PlainScreen(64, 48))
    {
        files.files[kFolder + "tovrimo.ini"] = settings;
        program = std::make_unique<Program>(services());
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    // A region copy, up to its open screen.
    RegionSelector* openRegionScreen()
    {
        program->commands().run(
            CaptureRequest{CaptureSource::Region, CaptureDestination::Clipboard});
        timers.advance(100);
        RegionSelector* region = program->regionScreen();
        EXPECT_NE(region, nullptr);
        if (region) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(region));
        }
        return region;
    }
    bool regionScreenGone()
    {
        settle();
        RegionSelector* region = program->regionScreen();
        return !region || !region->isVisible();
    }
};

}  // namespace

TEST(ResidentCapture, HotKeysAndTrayCommandsWaitWhileTheRegionScreenIsOpen)
{
    World w(SettingsWithHotKeys());
    ASSERT_TRUE(w.program->startUp(AppFolders{kFolder, kFolder}, {}).resident);
    ASSERT_TRUE(w.hotKeys.held.count(0));
    RegionSelector* screen = w.openRegionScreen();
    ASSERT_NE(screen, nullptr);
    const size_t grabs = w.screen.grabs.size();

    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_TRUE(w.hotKeys.press(slot));
        w.settle();
        EXPECT_EQ(w.program->engine().state(), AppState::CopyRegionPending);
        EXPECT_FALSE(w.program->engine().captureDelayRunning());
        EXPECT_EQ(w.program->regionScreen(), screen);
        EXPECT_TRUE(screen->isVisible());
    }
    // The last of them is what the repeat item runs: the region copy itself.
    for (const CaptureRequest& c :
         {CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer},
          CaptureRequest{CaptureSource::ActiveWindow, CaptureDestination::Printer},
          CaptureRequest{CaptureSource::Clipboard, CaptureDestination::StickyNote},
          *w.program->engine().lastCapture()}) {
        w.program->commands().run(c);
        EXPECT_EQ(w.program->engine().state(), AppState::CopyRegionPending);
    }
    w.timers.advance(10000);
    EXPECT_EQ(w.screen.grabs.size(), grabs) << "no capture started behind the screen";
    EXPECT_EQ(w.program->dialogs().optionsDialog(), nullptr);
    EXPECT_TRUE(w.printers.jobs.empty());
    EXPECT_TRUE(w.clipboard.images.empty());

    // The screen still does its own job.
    QTest::mousePress(screen, Qt::LeftButton, {}, QPoint(2, 3));
    QTest::mouseMove(screen, QPoint(11, 9));
    QTest::mouseRelease(screen, Qt::LeftButton, {}, QPoint(11, 9));
    EXPECT_TRUE(w.regionScreenGone());
    ASSERT_EQ(w.clipboard.images.size(), 1u);
    EXPECT_EQ(w.clipboard.images[0].size(), QSize(10, 7));
    EXPECT_EQ(w.program->engine().state(), AppState::Idle);

    // Once it is gone, hot keys work again.
    EXPECT_TRUE(w.hotKeys.press(4));
    EXPECT_EQ(w.program->engine().state(), AppState::CopyDesktopPending);
}

TEST(ResidentCapture, CancelAndEscapeAlwaysCloseTheRegionScreen)
{
    struct Case {
        const char* name;
        AppState meanwhile;  // what some other step has made of the state
        bool escape;         // Escape instead of the right-click menu
    };
    const Case cases[] = {
        {"right click, キャンセル", AppState::CopyRegionPending, false},
        {"Escape", AppState::CopyRegionPending, true},
        {"キャンセル after the state became a desktop hard copy", AppState::PrintDesktopPending,
         false},
        {"キャンセル after the state became the options dialog's", AppState::OptionsOpen, false},
        {"Escape after the state became idle", AppState::Idle, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World w(SettingsWithHotKeys());
        ASSERT_TRUE(w.program->startUp(AppFolders{kFolder, kFolder}, {}).resident);
        RegionSelector* screen = w.openRegionScreen();
        ASSERT_NE(screen, nullptr);
        w.program->engine().setState(c.meanwhile);
        if (c.escape) {
            screen->activateWindow();
            QTest::keyClick(screen, Qt::Key_Escape);
        } else {
            QMenu* menu = screen->cancelMenu();
            ASSERT_EQ(menu->actions().size(), 1);
            EXPECT_EQ(menu->actions()[0]->text(), "キャンセル");
            menu->actions()[0]->trigger();
        }
        EXPECT_TRUE(w.regionScreenGone());
        EXPECT_EQ(w.program->engine().state(), AppState::Idle);
        EXPECT_TRUE(w.clipboard.images.empty()) << "nothing copied";
        // The tray takes clicks again: the right click offers the whole command menu.
        EXPECT_EQ(
            TrayMenuFor(w.program->engine().state(), w.program->engine().captureDelayRunning()),
            TrayMenuKind::Commands);
    }
}

TEST(ResidentCapture, AnIconHiddenForACaptureComesBackWhenItIsCancelledOrTakenOver)
{
    struct Case {
        const char* name;
        CaptureRequest command;
        std::function<void(World&)> then;
    };
    const Case cases[] = {
        {"self-timer cancelled from the tray",
         CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer},
         [](World& w) { w.program->commands().cancelCapture(); }},
        {"region copy cancelled before its delay ran out",
         CaptureRequest{CaptureSource::Region, CaptureDestination::Clipboard},
         [](World& w) {
             w.timers.advance(4000);
             w.program->commands().cancelCapture();
         }},
        {"an active-window hot key takes over",
         CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer},
         [](World& w) { EXPECT_TRUE(w.hotKeys.press(1)); }},
        {"the options hot key takes over",
         CaptureRequest{CaptureSource::Desktop, CaptureDestination::Clipboard},
         [](World& w) {
             EXPECT_TRUE(w.hotKeys.press(8));
             w.timers.advance(5000);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World w(SettingsWithHotKeys("IconDelete=1\nSelfTimer=1\nSelfTime=5\n"));
        ASSERT_TRUE(w.program->startUp(AppFolders{kFolder, kFolder}, {}).resident);
        ASSERT_TRUE(w.tray->isShown());
        w.program->commands().run(c.command);
        EXPECT_FALSE(w.tray->isShown()) << "hidden for the capture";
        c.then(w);
        w.settle();
        EXPECT_TRUE(w.tray->isShown());
        EXPECT_EQ(w.tray->tooltip(), "トヴリモ");
    }
}

TEST(ResidentCapture, TheOptionsCommandAgainPutsTheStateBackToTheOpenDialog)
{
    World w(SettingsWithHotKeys());
    ASSERT_TRUE(w.program->startUp(AppFolders{kFolder, kFolder}, {}).resident);
    w.program->dialogs().openOptions();
    ASSERT_NE(w.program->dialogs().optionsDialog(), nullptr);
    EXPECT_EQ(w.program->engine().state(), AppState::OptionsOpen);
    // A desktop copy by hot key runs and ends while the dialog stays open: the state is idle.
    EXPECT_TRUE(w.hotKeys.press(4));
    w.timers.advance(100);
    EXPECT_EQ(w.program->engine().state(), AppState::Idle);
    // The options command again brings the dialog forward and the state with it, so the tray
    // does not start captures behind the dialog.
    EXPECT_TRUE(w.hotKeys.press(8));
    EXPECT_EQ(w.program->engine().state(), AppState::OptionsOpen);
    EXPECT_FALSE(TrayClickAccepted(w.program->engine().state()));
}

TEST(ResidentCapture, WhatTheOptionsDialogAppliesIsWhatTheTrayAndTheNextCaptureGoOn)
{
    World w(SettingsWithHotKeys());
    ASSERT_TRUE(w.program->startUp(AppFolders{kFolder, kFolder}, {}).resident);
    ASSERT_FALSE(w.program->session().data.settings.confirmBeforePrint);
    w.program->dialogs().openOptions();
    OptionsDialog* options = w.program->dialogs().optionsDialog();
    ASSERT_NE(options, nullptr);
    options->generalPage()->confirmBox->click();
    options->generalPage()->copyAction->click();
    ASSERT_TRUE(options->apply());
    options->reject();
    w.settle();
    // The records the dialog wrote are the session's ...
    EXPECT_TRUE(w.program->session().data.settings.confirmBeforePrint);
    EXPECT_EQ(w.program->session().data.settings.doubleClickDestination,
              CaptureDestination::Clipboard);
    // ... which the tray's double click reads: it copies the desktop now ...
    ASSERT_EQ(w.program->engine().state(), AppState::Idle);
    w.program->residentWindow()->onTrayClick(TrayClick::Double);
    EXPECT_EQ(w.program->engine().state(), AppState::CopyDesktopPending);
    w.timers.advance(100);
    EXPECT_EQ(w.clipboard.images.size(), 1u);
    // ... and so does the engine: a hard copy asks first instead of printing.
    w.program->commands().run(CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer});
    w.timers.advance(100);
    EXPECT_NE(w.program->dialogs().printDialog(), nullptr);
    EXPECT_EQ(w.program->engine().state(), AppState::PrintDialogOpen);
    EXPECT_TRUE(w.printers.jobs.empty()) << "nothing printed before the dialog says so";
}
