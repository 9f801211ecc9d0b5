#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>

#include "app/DialogCoordinator.h"
#include "app/Program.h"
#include "capture/CaptureEngine.h"
#include "doubles/FakeCursorSource.h"
#include "doubles/FakePlatform.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/FakeScreenGrabber.h"
#include "doubles/FakeTimerFactory.h"
#include "doubles/FakeTrayIcon.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingClipboard.h"
#include "doubles/RecordingMessageBoxes.h"
#include "harness/Process.h"
#include "platform/x11/X11HotKeyRegistrar.h"
#include "resident/CommandRouter.h"
#include "resident/HotKeysPage.h"
#include "resident/OptionsDialog.h"
#include "resident/OtherPage.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

const std::string kFolder = "/opt/live-keys/";

void Press(const std::string& keys)
{
    Process::Options o;
    o.args = {"key", keys};
    Process p("xdotool", o);
    ASSERT_TRUE(p.start());
    // The grab is served by this process's event loop: keep it running meanwhile.
    for (int i = 0; i < 200 && p.running(); ++i) QTest::qWait(10);
}

}  // namespace

// The options dialog of the real program changes global hot keys on the real X server: a key
// applied works at once, the key it replaced no longer does.
TEST(LiveHotKeys, AppliedKeysWorkAtOnceAndTheOldOnesStop)
{
    FakePlatform platform;
    X11HotKeyRegistrar keys;
    Program program(platform.services(&keys));
    RecordingMessageBoxes& boxes = platform.messages;
    MemoryFileSystem& files = platform.files;
    files.files[kFolder + "tovrimo.ini"] =
        "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n";
    ASSERT_TRUE(program.startUp(AppFolders{kFolder, kFolder}, {}).resident);
    CaptureEngine& engine = program.engine();

    program.dialogs().openOptions();
    OptionsDialog* dialog = program.dialogs().optionsDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(engine.state(), AppState::OptionsOpen);
    HotKeysPage& rows = *dialog->hotKeysPage();
    rows.enabledBoxes[0]->click();
    rows.altBoxes[0]->setChecked(true);
    rows.ctrlBoxes[0]->setChecked(true);
    rows.keyLists[0]->setCurrentIndex(rows.keyLists[0]->findText("P"));
    dialog->applyButton()->click();
    EXPECT_NE(files.files[kFolder + "tovrimo.ini"].find("HotKeyButton0=80\n"), std::string::npos);

    // Hot keys are not gated by the open dialog: slot 0 starts a desktop hard copy.
    Press("ctrl+alt+p");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return engine.state() == AppState::PrintDesktopPending; }, 3000));
    program.commands().cancelCapture();

    rows.keyLists[0]->setCurrentIndex(rows.keyLists[0]->findText("Q"));
    dialog->applyButton()->click();
    Press("ctrl+alt+p");
    QTest::qWait(300);
    EXPECT_EQ(engine.state(), AppState::Idle) << "the replaced key must be released";
    Press("ctrl+alt+q");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return engine.state() == AppState::PrintDesktopPending; }, 3000));
    program.commands().cancelCapture();

    // A title of "0" is refused and nothing is stored.
    const std::string before = files.files[kFolder + "tovrimo.ini"];
    dialog->otherPage()->titleEdit->setText(QStringLiteral("0"));
    boxes.shown.clear();
    dialog->applyButton()->click();
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(files.files[kFolder + "tovrimo.ini"], before);

    dialog->cancelButton()->click();
    QTest::qWait(50);
    EXPECT_EQ(engine.state(), AppState::Idle);
    program.quit();
}
