#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>

#include "app/DialogCoordinator.h"
#include "app/Program.h"
#include "capture/CaptureEngine.h"
#include "controls/HelpViewer.h"
#include "core/CoreTexts.h"
#include "core/SettingsStore.h"
#include "doubles/FakePlatform.h"
#include "gui/SourcesRig.h"
#include "output/PrintDialog.h"
#include "resident/OptionsDialog.h"
#include "resident/TrayController.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

const std::string kFolder = "/opt/tovrimo/";

struct World : FakePlatform {
    std::unique_ptr<Program> program;

    World() { program = std::make_unique<Program>(services()); }

    Program::Outcome start(std::vector<std::string> args = {})
    {
        return program->startUp(AppFolders{kFolder, kFolder}, args);
    }
    Program::Outcome startIn(const AppFolders& folders, std::vector<std::string> args = {})
    {
        return program->startUp(folders, args);
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
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].caption, "トヴリモ");
    EXPECT_EQ(w.messages.shown[0].text,
              "プリンタが１台も見つかりません。\n\nWindowsにプリンタが１台以上設定されていないと、"
              "トヴリモは実行できません。\n実行を中止します。");
    EXPECT_EQ(w.messages.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(w.messages.shown[0].icon, MsgIcon::None);
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
    EXPECT_FALSE(w.program->engine().lastCapture().has_value());
    EXPECT_EQ(w.program->session().lastFolder, kFolder);
    EXPECT_TRUE(w.program->session().data.settings.iconIsBuiltIn);
}

TEST(ProgramStartUp, MissingCustomIconFallsBackSilently)
{
    World w;
    w.files.files[kFolder + "tovrimo.ini"] =
        "[Application]\nTitle=My Tovrimo\nIcon=/nowhere/icon.ico\nVersion=2.80\n";
    EXPECT_TRUE(w.start().resident);
    EXPECT_TRUE(w.program->session().data.settings.iconIsBuiltIn);
    EXPECT_EQ(w.tray->tooltip(), "My Tovrimo");
    EXPECT_TRUE(w.messages.shown.empty());
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
        ASSERT_EQ(w.messages.shown.size(), 1u) << arg;
        EXPECT_EQ(w.messages.shown[0].text, "コマンドライン引数に誤りがあります。");
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
    EXPECT_EQ(w.program->buffer().image.size(), QSize(320, 200));
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
    EXPECT_EQ(w.program->session().data.settings.lastNamedSetting, 2);

    World w2;
    w2.files.files = w.files.files;
    w2.printers.printers.push_back(second);
    w2.start({"/d", "/S:REPORT"});
    ASSERT_EQ(w2.printers.jobs.size(), 1u);
    EXPECT_EQ(w2.printers.jobs[0].printer, "Office") << "no match: the stored layout is used";
}

TEST(ProgramStartUp, ImageDialogsStartInThePicturesFolderUnlessPortable)
{
    World installed;
    installed.startIn(AppFolders{"/usr/bin/", "/home/u/.config/tovrimo/", "/home/u/Pictures/"});
    EXPECT_EQ(installed.program->session().appPath, "/home/u/.config/tovrimo/");
    EXPECT_EQ(installed.program->session().lastFolder, "/home/u/Pictures/");

    World portable;
    portable.startIn(AppFolders{"/home/u/tovrimo/", "/home/u/tovrimo/", "/home/u/Pictures/"});
    EXPECT_EQ(portable.program->session().lastFolder, "/home/u/tovrimo/");
}

TEST(ProgramStartUp, NegativeWindowHandleCapturesNoWindowInsteadOfTheActiveOne)
{
    for (const char* handle : {"/h=-1", "/h=-7340032", "/h=99999999999"}) {
        World w;
        w.windows.windows[0x3c00007] = {{10, 20, 110, 70}, "Active"};
        w.windows.foreground = 0x3c00007;
        w.start({"/a", handle});
        ASSERT_EQ(w.printers.jobs.size(), 1u) << handle;
        EXPECT_TRUE(w.program->buffer().image.isNull() ||
                    w.program->buffer().image.size().isEmpty())
            << handle << ": " << w.program->buffer().image.width() << "x"
            << w.program->buffer().image.height();
        EXPECT_EQ(w.program->engine().capturedWindowTitle(), "") << handle;
    }
    World active;
    active.windows.windows[0x3c00007] = {{10, 20, 110, 70}, "Active"};
    active.windows.foreground = 0x3c00007;
    active.start({"/a", "/h=-0.4"});  // rounds to 0: the active window
    EXPECT_EQ(active.program->buffer().image.size(), QSize(100, 50));
}

TEST(ProgramStartUp, UnreadableSettingsFileIsNeverReplacedByTheSession)
{
    const std::string ini = kFolder + "tovrimo.ini";
    const std::string precious =
        "[Application]\nTitle=経理部\nVersion=2.80\n[Option]\nPrinterCount=1\n"
        "[Printer1]\nTitle=月報\nDeviceName=Office\n";
    World w;
    w.files.files[ini] = precious;
    w.files.readErrors[ini] = "Permission denied";
    ASSERT_TRUE(w.start().resident);
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].caption, "トヴリモ");
    EXPECT_NE(w.messages.shown[0].text.find(ini + "\nPermission denied"), std::string::npos);
    EXPECT_EQ(w.tray->tooltip(), "トヴリモ") << "the first-run title";
    EXPECT_EQ(w.program->session().data.settings.namedSettingCount, 0);
    EXPECT_TRUE(w.hotKeys.held.empty()) << "no Ctrl+Alt+P from the oldest format";

    // Both ways the dialogs save (the print dialog's and the options dialog's) refuse, the
    // second after the file became readable again.
    EXPECT_FALSE(w.program->saveSettings());
    w.files.readErrors.clear();
    EXPECT_FALSE(w.program->dialogs().saveSettings(w.program->session().data));
    ASSERT_EQ(w.messages.shown.size(), 3u);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(w.messages.shown[i].caption, "トヴリモ");
        EXPECT_EQ(w.messages.shown[i].text.rfind(settings_texts::kSaveFailed, 0), 0u);
    }
    EXPECT_EQ(w.files.writes, 0);
    EXPECT_EQ(w.files.files.size(), 1u);
    EXPECT_EQ(w.files.files.at(ini), precious);
}

namespace {

// The vertical position of the anchor in the browser's document, in pixels.
int AnchorTop(QTextBrowser* browser, const QString& anchor)
{
    QTextDocument* doc = browser->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(anchor))
                return static_cast<int>(doc->documentLayout()->blockBoundingRect(b).top());
        }
        if (b.charFormat().anchorNames().contains(anchor))
            return static_cast<int>(doc->documentLayout()->blockBoundingRect(b).top());
    }
    return -1;
}

// A portable install in a real folder: the guide sits in the program folder beside the
// settings (held in memory by the test's file system).
struct HelpWorld : World {
    QTemporaryDir folder;
    std::string guide;
    HelpWorld()
    {
        guide = folder.path().toStdString() + "/tovrimo.html";
        QFile::copy(TOVRIMO_SOURCE_DIR "/resources/tovrimo.html", QString::fromStdString(guide));
        const std::string f = folder.path().toStdString() + "/";
        startIn(AppFolders{f, f, f});
    }
    ~HelpWorld()
    {
        HelpViewer::closeHelp();
        FlushDeferredDeletes();
    }
};

void ExpectTheGuideAtItsContents(const std::string& guide, const char* entry)
{
    SCOPED_TRACE(entry);
    HelpViewer* viewer = HelpViewer::current();
    ASSERT_NE(viewer, nullptr) << "no help window";
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->browser()->source().toLocalFile().toStdString(), guide);
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("トヴリモ ヘルプ"));
    EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("目次")));
    // Opened at the contents: the contents heading is at the top of the view.
    const int top = AnchorTop(viewer->browser(), QStringLiteral("contents"));
    ASSERT_GT(top, 0) << "the guide has no contents anchor below its start";
    QScrollBar* bar = viewer->browser()->verticalScrollBar();
    EXPECT_TRUE(std::abs(bar->value() - top) <= 2 || bar->value() == bar->maximum())
        << "scrolled to " << bar->value() << ", contents at " << top;
}

}  // namespace

TEST(ProgramHelp, TrayMenuHelpShowsTheGuideAtItsContents)
{
    HelpWorld w;
    ASSERT_NE(w.program->residentWindow(), nullptr);
    auto* item = w.program->residentWindow()->findChild<QAction*>(QStringLiteral("help"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    ExpectTheGuideAtItsContents(w.guide, "tray menu");
}

TEST(ProgramHelp, OptionsDialogHelpShowsTheGuideAtItsContents)
{
    HelpWorld w;
    w.program->dialogs().openOptions();
    OptionsDialog* options = w.program->dialogs().optionsDialog();
    ASSERT_NE(options, nullptr);
    auto* button = options->findChild<QPushButton*>(QStringLiteral("helpButton"));
    ASSERT_NE(button, nullptr);
    button->click();
    ExpectTheGuideAtItsContents(w.guide, "options dialog");
    options->reject();
    FlushDeferredDeletes();
}

TEST(ProgramHelp, PrintDialogHelpShowsTheGuideAtItsContents)
{
    HelpWorld w;
    w.program->engine().captureDesktop();
    w.program->dialogs().openPrintDialog();
    PrintDialog* print = w.program->dialogs().printDialog();
    ASSERT_NE(print, nullptr);
    auto* button = print->findChild<QPushButton*>(QStringLiteral("helpButton"));
    ASSERT_NE(button, nullptr);
    button->click();
    ExpectTheGuideAtItsContents(w.guide, "print dialog");
}
