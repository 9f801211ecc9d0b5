#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/SettingsStore.h"
#include "doubles/FakeHotKeyRegistrar.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/RecordingOptionsHost.h"
#include "doubles/ShownSettingsStore.h"
#include "harness/Process.h"
#include "platform/LoginStart.h"
#include "resident/GeneralPage.h"
#include "resident/HotKeys.h"
#include "resident/OptionsDialog.h"

namespace tovrimo {
namespace {

using namespace std::chrono_literals;
using test::FakeHotKeyRegistrar;
using test::FakePrinterBackend;
using test::MemoryFileSystem;
using test::RecordingMessageBoxes;
using test::RecordingOptionsHost;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The value of the entry's Exec line, unquoted as a desktop does it for a path without
// reserved characters.
std::string ExecLine(const std::string& entry)
{
    std::istringstream lines(entry);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Exec=", 0) == 0) return line.substr(5);
    }
    return {};
}

// The box of the 基本設定 page over a real autostart entry in a private configuration folder,
// for the real binary.
class LoginStartTest : public ::testing::Test {
protected:
    QTemporaryDir config;
    std::string entryPath;
    std::unique_ptr<XdgAutostart> autostart;
    MemoryFileSystem files;
    FakePrinterBackend printers;
    RecordingMessageBoxes boxes;
    test::ShownSettingsStore store{files, printers, boxes, "/opt/tovrimo/"};
    FakeHotKeyRegistrar registrar;
    HotKeys hotKeys{registrar};
    RecordingOptionsHost host{store, hotKeys};
    SettingsData data;
    QPointer<OptionsDialog> dialog;

    void SetUp() override
    {
        ASSERT_TRUE(config.isValid());
        entryPath = config.path().toStdString() + "/autostart/tovrimo.desktop";
        autostart = std::make_unique<XdgAutostart>(entryPath, TOVRIMO_BINARY);
        host.loginStartEntry = autostart.get();
        printers.printers = {FakePrinterBackend::a4("Office")};
        printers.defaultName = "Office";
        data.settings.title = "トヴリモ";
        data.settings.iconIsBuiltIn = true;
    }
    void TearDown() override { delete dialog.data(); }

    void open()
    {
        dialog = new OptionsDialog(data, host, boxes, "/home/user/", QIcon());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    }
    QCheckBox* box() { return dialog->generalPage()->loginStartBox; }
};

TEST_F(LoginStartTest, TickingMakesTheEntryThatStartsTheProgramAndUntickingRemovesIt)
{
    open();
    EXPECT_EQ(box()->text(), QStringLiteral("ログイン時に起動する"));
    EXPECT_TRUE(box()->isEnabled());
    EXPECT_FALSE(box()->isChecked());
    EXPECT_FALSE(dialog->applyButton()->isEnabled());

    box()->click();
    EXPECT_TRUE(dialog->applyButton()->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(entryPath)) << "written before apply";
    dialog->applyButton()->click();
    ASSERT_TRUE(std::filesystem::exists(entryPath));
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    const std::string entry = ReadFile(entryPath);
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u) << entry;
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos) << entry;
    const std::string exec = ExecLine(entry);
    EXPECT_EQ(exec, std::filesystem::canonical(TOVRIMO_BINARY).string())
        << "not the binary it was set from";
    // What the desktop would start at login is this program.
    test::Process version = test::Process::run(exec, {{"--version"}}, 20s);
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_EQ(version.standardOutput(), "tovrimo 2.80\n");
    // Nothing of it reaches the settings file.
    EXPECT_EQ(files.readAll("/opt/tovrimo/tovrimo.ini").value_or("").find("autostart"),
              std::string::npos);
    dialog->okButton()->click();

    // Opened again, the box reads the entry; unticked and OK, the entry is gone.
    open();
    EXPECT_TRUE(box()->isChecked());
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    box()->click();
    dialog->okButton()->click();
    EXPECT_FALSE(std::filesystem::exists(entryPath));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LoginStartTest, CancelLeavesTheEntryAsItWas)
{
    ASSERT_TRUE(autostart->setEnabled(true, nullptr));
    const std::string before = ReadFile(entryPath);
    open();
    EXPECT_TRUE(box()->isChecked());
    box()->click();
    dialog->cancelButton()->click();
    EXPECT_EQ(ReadFile(entryPath), before);
}

TEST_F(LoginStartTest, AFolderThatCannotBeMadeIsReportedAndApplyStaysPossible)
{
    // A file where the autostart folder should be: the entry cannot be written.
    std::ofstream(config.path().toStdString() + "/autostart") << "in the way";
    open();
    box()->click();
    dialog->applyButton()->click();
    EXPECT_TRUE(dialog->errorFlag());
    EXPECT_TRUE(dialog->applyButton()->isEnabled());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.rfind("ログイン時に起動する設定を変更できませんでした。\n\n", 0),
              0u)
        << boxes.shown[0].text;
}

TEST_F(LoginStartTest, WithoutAWayToStartAtLoginTheBoxIsGreyedOut)
{
    host.loginStartEntry = nullptr;
    open();
    EXPECT_FALSE(box()->isEnabled());
    EXPECT_FALSE(box()->isChecked());
}

}  // namespace
}  // namespace tovrimo
