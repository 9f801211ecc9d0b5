#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <array>

#include "core/SettingsStore.h"
#include "doubles/FakeHotKeyRegistrar.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/RecordingOptionsHost.h"
#include "doubles/ShownSettingsStore.h"
#include "resident/GeneralPage.h"
#include "resident/HotKeys.h"
#include "resident/HotKeysPage.h"
#include "resident/OptionsDialog.h"
#include "resident/OtherPage.h"

namespace tovrimo {
namespace {

using test::FakeHotKeyRegistrar;
using test::FakePrinterBackend;
using test::MemoryFileSystem;
using test::RecordingMessageBoxes;
using test::RecordingOptionsHost;

const std::string kFolder = "/opt/tovrimo/";
const std::string kIni = kFolder + "tovrimo.ini";

Settings StartingSettings()
{
    Settings s;
    s.title = "トヴリモ";
    s.selfTimerOn = false;
    s.selfTimerSeconds = 5;
    s.confirmBeforePrint = true;
    s.doubleClickDestination = CaptureDestination::Printer;
    s.doubleClickSource = CaptureSource::Clipboard;
    s.lastNamedSetting = -1;
    s.iconIsBuiltIn = true;
    // Slot 0: Ctrl+Alt+P. Slot 3: Shift+F5.
    s.hotKeyOn[0] = true;
    s.hotKeyCtrl[0] = true;
    s.hotKeyAlt[0] = true;
    s.hotKeyCode[0] = 80;
    s.hotKeyOn[3] = true;
    s.hotKeyShift[3] = true;
    s.hotKeyCode[3] = 116;
    // Slot 6 holds values but is switched off.
    s.hotKeyCtrl[6] = true;
    s.hotKeyCode[6] = 67;
    return s;
}

class OptionsDialogTest : public ::testing::Test {
protected:
    MemoryFileSystem files;
    FakePrinterBackend printers;
    RecordingMessageBoxes boxes;
    test::ShownSettingsStore store{files, printers, boxes, kFolder};
    FakeHotKeyRegistrar registrar;
    HotKeys hotKeys{registrar};
    RecordingOptionsHost host{store, hotKeys};
    SettingsData data;
    QPointer<OptionsDialog> dialog;
    int beeps = 0;

    void SetUp() override
    {
        printers.printers = {FakePrinterBackend::a4("Office")};
        printers.defaultName = "Office";
        data.settings = StartingSettings();
        hotKeys.registerKeys(data.settings, AppState::Idle);
        registrar.calls.clear();
    }

    void TearDown() override { delete dialog.data(); }

    void open()
    {
        dialog = new OptionsDialog(data, host, boxes, "/home/user/pictures/", QIcon());
        QObject::connect(dialog, &OptionsDialog::keyRefused, dialog, [this] { ++beeps; });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    }

    GeneralPage& general() { return *dialog->generalPage(); }
    HotKeysPage& keys() { return *dialog->hotKeysPage(); }
    OtherPage& other() { return *dialog->otherPage(); }
    // The dialog's pages in tab order.
    std::array<QWidget*, 3> pages()
    {
        return {dialog->generalPage(), dialog->hotKeysPage(), dialog->otherPage()};
    }

    void closeAndSettle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    void saveScreenshot(const QString& name)
    {
        const QByteArray dir = qgetenv("TOVRIMO_SCREENSHOT_DIR");
        const QString path =
            QDir(dir.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(dir)).filePath(name);
        EXPECT_TRUE(dialog->grab().save(path)) << path.toStdString();
    }
};

TEST_F(OptionsDialogTest, OpensWithTheRecordsValues)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("オプション設定"));
    EXPECT_TRUE(general().printAction->isChecked());
    EXPECT_TRUE(general().clipboardSource->isChecked());
    EXPECT_TRUE(general().clipboardSource->isEnabled());
    EXPECT_FALSE(general().selfTimerBox->isChecked());
    EXPECT_EQ(general().selfTimerSeconds->text(), QStringLiteral("5"));
    EXPECT_FALSE(general().selfTimerSeconds->isEnabled());
    EXPECT_TRUE(general().confirmBox->isChecked());
    EXPECT_FALSE(general().reverseColoursBox->isChecked());
    EXPECT_EQ(other().titleEdit->text(), QStringLiteral("トヴリモ"));
    EXPECT_TRUE(other().iconPathEdit->text().isEmpty());
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    EXPECT_FALSE(other().iconPreview->pixmap().isNull());
    EXPECT_FALSE(dialog->windowIcon().isNull());

    EXPECT_TRUE(keys().enabledBoxes[0]->isChecked());
    EXPECT_TRUE(keys().ctrlBoxes[0]->isChecked());
    EXPECT_TRUE(keys().altBoxes[0]->isChecked());
    EXPECT_FALSE(keys().shiftBoxes[0]->isChecked());
    EXPECT_EQ(keys().keyLists[0]->currentText(), QStringLiteral("P"));
    EXPECT_EQ(keys().keyLists[3]->currentText(), QStringLiteral("F5"));
    // Slot 6 is off: greyed out, with its values kept.
    EXPECT_FALSE(keys().ctrlBoxes[6]->isEnabled());
    EXPECT_TRUE(keys().ctrlBoxes[6]->isChecked());
    EXPECT_FALSE(keys().keyLists[6]->isEnabled());
    EXPECT_EQ(keys().keyLists[6]->currentText(), QStringLiteral("C"));
    // Key code 0 selects nothing.
    EXPECT_EQ(keys().keyLists[1]->currentIndex(), -1);
    for (QComboBox* list : keys().keyLists) EXPECT_EQ(list->count(), 51);

    QTabWidget* tabs = dialog->tabs();
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("基本設定"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("ホットキー設定"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("その他"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(tabs->widget(i), pages()[i]);
    EXPECT_TRUE(pages()[0]->isVisible());
    EXPECT_FALSE(pages()[1]->isVisible());
    EXPECT_FALSE(pages()[2]->isVisible());
    EXPECT_EQ(dialog->workingCopy(), data.settings);
}

TEST_F(OptionsDialogTest, UnknownNumbersInTheFileShowAsWhatTheyDo)
{
    files.files[kIni] =
        "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nDoubleClick=7\n"
        "DoubleClickDo=0\n[DefaultPrinter]\nFontName=F\nFontSize=10\n";
    ASSERT_EQ(store.loadSettings(data), LoadResult::Loaded);
    open();
    // A double-click repeats the last operation for an action number it does not know.
    EXPECT_TRUE(general().repeatAction->isChecked());
    for (QRadioButton* r : {general().printAction, general().copyAction, general().noteAction})
        EXPECT_FALSE(r->isChecked());
    EXPECT_TRUE(general().desktopSource->isChecked());
    EXPECT_EQ(dialog->workingCopy().doubleClickDestination, std::nullopt);
    EXPECT_EQ(dialog->workingCopy().doubleClickSource, CaptureSource::Desktop);
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
}

TEST_F(OptionsDialogTest, TabsShowTheirOwnPage)
{
    open();
    QTabBar* bar = dialog->tabs()->tabBar();
    for (int tab : {1, 2, 0}) {
        SCOPED_TRACE(tab);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        for (int i = 0; i < 3; ++i) EXPECT_EQ(pages()[i]->isVisible(), i == tab);
    }
}

TEST_F(OptionsDialogTest, TheHotKeyPageSaysSoWhenNoHotKeyWorksAndWhatToBindInstead)
{
    struct Case {
        const char* name;
        HotKeyAvailability availability;
        bool gnome;
        bool notice;
        const char* mentions;  // what only this case's advice names
    };
    const Case cases[] = {
        {"a slot is bound", HotKeyAvailability::Working, false, false, nullptr},
        // Nothing switched on is the user's choice, not the desktop's failing.
        {"no slot switched on", HotKeyAvailability::NoneEnabled, false, false, nullptr},
        // KDE Plasma 5.27's portal takes the keys and binds none.
        {"the desktop bound none", HotKeyAvailability::NoneBound, false, true, "1つも割り当て"},
        {"no global shortcuts", HotKeyAvailability::NotOffered, false, true, "仕組みがない"},
        {"GNOME before 48", HotKeyAvailability::NotOffered, true, true, "カスタムショートカット"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.availability = c.availability;
        host.gnome = c.gnome;
        open();
        dialog->tabs()->setCurrentIndex(1);
        QLabel* notice = keys().findChild<QLabel*>(QStringLiteral("noHotKeysNotice"));
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(notice->isVisible(), c.notice);
        if (c.notice) {
            // It tells the user what to bind instead: the command-line jobs.
            for (const char* job : {"tovrimo /d", "tovrimo /a", "tovrimo /r"})
                EXPECT_TRUE(notice->text().contains(QString::fromUtf8(job))) << job;
            EXPECT_TRUE(notice->text().contains(QString::fromUtf8(c.mentions)))
                << notice->text().toStdString();
        }
        // The keys stay editable: they are kept for a session that has hot keys.
        EXPECT_TRUE(keys().enabledBoxes[0]->isEnabled());
        EXPECT_TRUE(keys().keyLists[0]->isEnabled());
        delete dialog.data();
        closeAndSettle();
    }
}

TEST_F(OptionsDialogTest, SelectingATabFromTheProgramShowsItsPageAndIsNoEdit)
{
    open();
    QTabWidget* tabs = dialog->tabs();
    EXPECT_EQ(tabs->currentIndex(), 0);  // the first tab comes selected
    tabs->setCurrentIndex(2);
    EXPECT_EQ(tabs->tabBar()->currentIndex(), 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pages()[i]->isVisible(), i == 2);
    tabs->setCurrentIndex(0);
    EXPECT_EQ(tabs->currentIndex(), 0);
    // Out of range: nothing changes.
    tabs->setCurrentIndex(-1);
    tabs->setCurrentIndex(3);
    EXPECT_EQ(tabs->currentIndex(), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pages()[i]->isVisible(), i == 0);
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
}

TEST_F(OptionsDialogTest, ClickedTabsShowTheirPageAndTheSelectedTabChangesNothing)
{
    struct Step {
        const char* name;
        int clickedTab;
        std::vector<int> shown;  // the pages the tab widget switched to
    };
    const std::vector<Step> steps = {
        {"another tab", 1, {1}},       {"the selected tab", 1, {}}, {"the last tab", 2, {2}},
        {"back to the first", 0, {0}}, {"the first again", 0, {}},
    };
    open();
    QTabBar* bar = dialog->tabs()->tabBar();
    std::vector<int> shown;
    QObject::connect(dialog->tabs(), &QTabWidget::currentChanged,
                     [&shown](int index) { shown.push_back(index); });
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        shown.clear();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(step.clickedTab).center());
        EXPECT_EQ(shown, step.shown);
        EXPECT_EQ(dialog->tabs()->currentIndex(), step.clickedTab);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(pages()[i]->isVisible(), i == step.clickedTab);
    }
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
}

TEST_F(OptionsDialogTest, TheKeyboardSwitchesTabs)
{
    open();
    QTabWidget* tabs = dialog->tabs();
    // Focus given to the tab widget goes to its tabs.
    tabs->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(tabs->tabBar()->hasFocus());
    QTest::keyClick(tabs->tabBar(), Qt::Key_Right);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_TRUE(pages()[1]->isVisible());
    QTest::keyClick(tabs->tabBar(), Qt::Key_Right);
    EXPECT_EQ(tabs->currentIndex(), 2);
    QTest::keyClick(tabs->tabBar(), Qt::Key_Left);
    EXPECT_EQ(tabs->currentIndex(), 1);
    // Ctrl+Tab from a control on a page moves on to the next page, wrapping round.
    other().titleEdit->setFocus(Qt::OtherFocusReason);
    tabs->setCurrentIndex(2);
    QTest::keyClick(other().titleEdit, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(pages()[0]->isVisible());
}

TEST_F(OptionsDialogTest, ApplyStoresSavesAndReRegistersWithOldThenNewKeys)
{
    open();
    general().reverseColoursBox->click();
    general().noteAction->click();
    keys().enabledBoxes[1]->click();
    keys().ctrlBoxes[1]->click();
    keys().keyLists[1]->setCurrentIndex(47);  // F12
    keys().enabledBoxes[3]->click();          // slot 3 goes
    other().titleEdit->setText(QStringLiteral("スクリーン"));
    EXPECT_TRUE(dialog->applyButton()->isEnabled());
    // Nothing reaches the program before apply.
    EXPECT_EQ(data.settings, StartingSettings());

    dialog->applyButton()->click();

    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(dialog->errorFlag());
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    const Settings& s = data.settings;
    EXPECT_TRUE(s.reverseColours);
    EXPECT_EQ(s.doubleClickDestination, CaptureDestination::StickyNote);
    EXPECT_EQ(s.doubleClickSource, CaptureSource::Clipboard);
    EXPECT_EQ(s.title, "スクリーン");
    EXPECT_TRUE(s.hotKeyOn[1]);
    EXPECT_TRUE(s.hotKeyCtrl[1]);
    EXPECT_EQ(s.hotKeyCode[1], 123);
    EXPECT_FALSE(s.hotKeyOn[3]);
    EXPECT_EQ(s.hotKeyCode[3], 116);

    EXPECT_EQ(host.calls, (std::vector<std::string>{"save", "reregister"}));
    ASSERT_EQ(host.oldKeys.size(), 1u);
    EXPECT_EQ(host.oldKeys[0], StartingSettings());
    // The keys in force go first, then those of the new settings.
    EXPECT_EQ(registrar.calls,
              (std::vector<std::string>{"unregister:0", "unregister:3", "register:0:Ctrl+Alt+P",
                                        "register:1:Ctrl+F12"}));
    EXPECT_TRUE(hotKeys.isRegistered(1));
    EXPECT_FALSE(hotKeys.isRegistered(3));

    ASSERT_TRUE(files.files.count(kIni));
    const std::string& ini = files.files[kIni];
    for (const char* line :
         {"Title=スクリーン", "ReversePrint=1", "DoubleClick=3", "DoubleClickDo=5", "HotKeyOn1=1",
          "HotKeyCTRL1=1", "HotKeyButton1=123", "HotKeyOn3=0", "Version=2.80"})
        EXPECT_NE(ini.find(std::string(line) + "\n"), std::string::npos) << line;

    // Reading the file back gives what the dialog stored.
    SettingsData reread;
    ASSERT_EQ(store.loadSettings(reread), LoadResult::Loaded);
    EXPECT_EQ(reread.settings.title, "スクリーン");
    EXPECT_EQ(reread.settings.hotKeyCode, s.hotKeyCode);
    EXPECT_EQ(reread.settings.hotKeyOn, s.hotKeyOn);
}

TEST_F(OptionsDialogTest, FullDetailBoxSitsUnderReverseAndWritesItsKeyOnlyWhenTicked)
{
    open();
    QCheckBox* box = general().fullDetailBox;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("画像を縮小せずに高精細で印刷する"));
    EXPECT_FALSE(box->isChecked());
    // On the first tab, directly below the reverse-printing box.
    EXPECT_TRUE(pages()[0]->isAncestorOf(box));
    EXPECT_TRUE(box->isVisible());
    const QPoint reverseBottom = general().reverseColoursBox->mapTo(
        dialog, QPoint(0, general().reverseColoursBox->height()));
    const QPoint boxTop = box->mapTo(dialog, QPoint(0, 0));
    EXPECT_GE(boxTop.y(), reverseBottom.y());
    EXPECT_EQ(boxTop.x(), general().reverseColoursBox->mapTo(dialog, QPoint(0, 0)).x());

    box->click();
    EXPECT_FALSE(data.settings.fullDetailPrint);  // nothing before apply
    dialog->applyButton()->click();
    EXPECT_TRUE(data.settings.fullDetailPrint);
    EXPECT_NE(files.files[kIni].find("\nFullDetailPrint=1\n"), std::string::npos);

    box->click();
    dialog->applyButton()->click();
    EXPECT_FALSE(data.settings.fullDetailPrint);
    EXPECT_EQ(files.files[kIni].find("FullDetailPrint"), std::string::npos);
}

TEST_F(OptionsDialogTest, FullDetailBoxShowsTheStoredValue)
{
    data.settings.fullDetailPrint = true;
    open();
    EXPECT_TRUE(general().fullDetailBox->isChecked());
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    dialog->okButton()->click();
    EXPECT_TRUE(data.settings.fullDetailPrint);
}

TEST_F(OptionsDialogTest, OkStoresTheLoadedValuesAgainAndCloses)
{
    open();
    dialog->okButton()->click();
    closeAndSettle();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(host.closed, 1);
    EXPECT_EQ(data.settings.doubleClickDestination, CaptureDestination::Printer);
    EXPECT_EQ(data.settings.doubleClickSource, CaptureSource::Clipboard);
    ASSERT_TRUE(files.files.count(kIni));
    EXPECT_NE(files.files[kIni].find("DoubleClickDo=5\n"), std::string::npos);
}

TEST_F(OptionsDialogTest, RefusedValuesShowTheirMessageAndStoreNothing)
{
    struct Case {
        const char* name;
        std::function<void(OptionsDialog&)> edit;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"empty title", [](OptionsDialog& d) { d.otherPage()->titleEdit->clear(); },
         "アプリケーションタイトルに、空白は設定できません。"},
        {"blank title", [](OptionsDialog& d) { d.otherPage()->titleEdit->setText("  "); },
         "アプリケーションタイトルに、空白は設定できません。"},
        {"zero title", [](OptionsDialog& d) { d.otherPage()->titleEdit->setText("0"); },
         "アプリケーションタイトルに、この文字列は設定できません。"},
        {"copy from the clipboard", [](OptionsDialog& d) { d.generalPage()->copyAction->click(); },
         "タスクトレイアイコンをダブルクリックしたときの動作設定が不正です。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.shown.clear();
        open();
        c.edit(*dialog);
        const Settings edited = dialog->workingCopy();
        dialog->okButton()->click();
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].caption, "トヴリモ");
        EXPECT_EQ(boxes.shown[0].text, c.message);
        EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Critical);
        EXPECT_TRUE(dialog->errorFlag());
        EXPECT_TRUE(dialog->isVisible());  // OK after a refusal stays open
        EXPECT_TRUE(dialog->applyButton()->isEnabled());
        EXPECT_EQ(dialog->workingCopy(), edited);
        EXPECT_EQ(data.settings, StartingSettings());
        EXPECT_EQ(files.writes, 0);
        EXPECT_TRUE(registrar.calls.empty());
        EXPECT_EQ(host.closed, 0);
        delete dialog.data();
    }
}

TEST_F(OptionsDialogTest, DoubleZeroTitleIsAccepted)
{
    open();
    other().titleEdit->setText(QStringLiteral("00"));
    EXPECT_TRUE(dialog->apply());
    EXPECT_EQ(data.settings.title, "00");
}

TEST_F(OptionsDialogTest, CopyGreysOutTheClipboardSourceButKeepsItChosen)
{
    open();
    general().copyAction->click();
    EXPECT_FALSE(general().clipboardSource->isEnabled());
    EXPECT_TRUE(general().clipboardSource->isChecked());
    EXPECT_EQ(dialog->workingCopy().doubleClickSource, CaptureSource::Clipboard);
    for (QRadioButton* other :
         {general().noteAction, general().repeatAction, general().printAction}) {
        other->click();
        EXPECT_TRUE(general().clipboardSource->isEnabled()) << other->objectName().toStdString();
        general().copyAction->click();
        EXPECT_FALSE(general().clipboardSource->isEnabled());
    }
    general().regionSource->click();
    EXPECT_EQ(dialog->workingCopy().doubleClickSource, CaptureSource::Region);
    EXPECT_TRUE(dialog->apply());
    EXPECT_EQ(data.settings.doubleClickDestination, CaptureDestination::Clipboard);
    EXPECT_EQ(data.settings.doubleClickSource, CaptureSource::Region);
}

TEST_F(OptionsDialogTest, SecondsBoxFollowsTheSelfTimerAndRefusesOtherKeys)
{
    open();
    general().selfTimerBox->click();
    EXPECT_TRUE(general().selfTimerSeconds->isEnabled());
    EXPECT_TRUE(dialog->workingCopy().selfTimerOn);
    general().selfTimerSeconds->setFocus(Qt::TabFocusReason);
    general().selfTimerSeconds->clear();
    QTest::keyClicks(general().selfTimerSeconds, QStringLiteral("1a-b2."));
    EXPECT_EQ(general().selfTimerSeconds->text(), QStringLiteral("12"));
    EXPECT_EQ(beeps, 4);
    QTest::keyClick(general().selfTimerSeconds, Qt::Key_Backspace);
    EXPECT_EQ(general().selfTimerSeconds->text(), QStringLiteral("1"));
    EXPECT_EQ(beeps, 4);
    // Leaving the box stores the number.
    QTest::keyClick(general().selfTimerSeconds, Qt::Key_Tab);
    EXPECT_EQ(dialog->workingCopy().selfTimerSeconds, 1);
    EXPECT_TRUE(boxes.shown.empty());

    general().selfTimerBox->click();
    EXPECT_FALSE(general().selfTimerSeconds->isEnabled());
    EXPECT_FALSE(dialog->workingCopy().selfTimerOn);
}

TEST_F(OptionsDialogTest, MoreThanTwentySecondsIsRefusedAndTheFocusComesBack)
{
    data.settings.selfTimerOn = true;
    open();
    struct Case {
        QString typed;
        bool refused;
        int16_t stored;
    };
    const std::vector<Case> cases = {
        {"21", true, 5}, {"20", false, 20}, {"", false, 0}, {"100", true, 0}, {"0", false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        boxes.shown.clear();
        general().selfTimerSeconds->setFocus(Qt::TabFocusReason);
        general().selfTimerSeconds->setText(c.typed);
        QTest::keyClick(general().selfTimerSeconds, Qt::Key_Tab);
        QCoreApplication::processEvents();
        if (c.refused) {
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].text, "セルフタイマの秒数は20秒以内で設定してください");
            EXPECT_EQ(boxes.shown[0].caption, "トヴリモ");
            EXPECT_EQ(boxes.shown[0].icon, MsgIcon::None);
            EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
            EXPECT_TRUE(general().selfTimerSeconds->hasFocus());
        } else {
            EXPECT_TRUE(boxes.shown.empty());
            EXPECT_FALSE(general().selfTimerSeconds->hasFocus());
        }
        EXPECT_EQ(dialog->workingCopy().selfTimerSeconds, c.stored);
    }
}

TEST_F(OptionsDialogTest, TooManySecondsStillInTheBoxStopOk)
{
    data.settings.selfTimerOn = true;
    open();
    general().selfTimerSeconds->setFocus(Qt::TabFocusReason);
    general().selfTimerSeconds->setText(QStringLiteral("45"));
    // Enter presses OK without the box losing the focus.
    QTest::keyClick(general().selfTimerSeconds, Qt::Key_Return);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "セルフタイマの秒数は20秒以内で設定してください");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->errorFlag());
    EXPECT_EQ(data.settings.selfTimerSeconds, 5);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(OptionsDialogTest, CancelDoesNotNagAboutTheSecondsBox)
{
    data.settings.selfTimerOn = true;
    open();
    general().selfTimerSeconds->setFocus(Qt::TabFocusReason);
    general().selfTimerSeconds->setText(QStringLiteral("99"));
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    closeAndSettle();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(dialog.isNull());
    Settings expected = StartingSettings();
    expected.selfTimerOn = true;
    EXPECT_EQ(data.settings, expected);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(OptionsDialogTest, DisablingASlotGreysItOutAndKeepsItsValues)
{
    open();
    keys().enabledBoxes[0]->click();
    for (QWidget* w : std::initializer_list<QWidget*>{keys().ctrlBoxes[0], keys().shiftBoxes[0],
                                                      keys().altBoxes[0], keys().keyLists[0]})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(dialog->workingCopy().hotKeyOn[0]);
    keys().enabledBoxes[0]->click();
    for (QWidget* w : std::initializer_list<QWidget*>{keys().ctrlBoxes[0], keys().shiftBoxes[0],
                                                      keys().altBoxes[0], keys().keyLists[0]})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(keys().ctrlBoxes[0]->isChecked());
    EXPECT_TRUE(keys().altBoxes[0]->isChecked());
    EXPECT_EQ(keys().keyLists[0]->currentText(), QStringLiteral("P"));
    EXPECT_EQ(dialog->workingCopy().hotKeyCode[0], 80);
}

TEST_F(OptionsDialogTest, EnablingASlotWithoutAKeyRegistersKeyZeroQuietly)
{
    open();
    keys().enabledBoxes[2]->click();
    EXPECT_TRUE(dialog->apply());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(data.settings.hotKeyOn[2]);
    EXPECT_EQ(data.settings.hotKeyCode[2], 0);
    EXPECT_NE(std::find(registrar.calls.begin(), registrar.calls.end(), "register:2:none"),
              registrar.calls.end());
}

TEST_F(OptionsDialogTest, TypedKeysMustComeFromTheList)
{
    open();
    struct Case {
        QString typed;
        bool refused;
        QString shown;
        int16_t code;
    };
    const std::vector<Case> cases = {
        {"f7", false, "F7", 118},
        {"Q1", true, "A", 65},
        {"space", false, "Space", 32},
        {"", true, "A", 65},
        {"PrintScreen", false, "PrintScreen", 44},
    };
    QComboBox* list = keys().keyLists[0];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        boxes.shown.clear();
        list->setFocus(Qt::TabFocusReason);
        list->lineEdit()->setText(c.typed);
        emit list->lineEdit()->textEdited(c.typed);
        emit list->lineEdit()->editingFinished();
        if (c.refused) {
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].text, "キーの種類は、一覧の中から選択してください．");
            EXPECT_EQ(boxes.shown[0].caption, "トヴリモ");
            EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Critical);
        } else {
            EXPECT_TRUE(boxes.shown.empty());
        }
        EXPECT_EQ(list->currentText(), c.shown);
        EXPECT_EQ(dialog->workingCopy().hotKeyCode[0], c.code);
    }
    // Leaving an untouched list says nothing, even when it has no selection.
    boxes.shown.clear();
    emit keys().keyLists[1]->lineEdit()->editingFinished();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OptionsDialogTest, CancelEscapeAndCloseChangeNothing)
{
    const std::vector<std::pair<const char*, std::function<void(OptionsDialog*)>>> ways = {
        {"cancel", [](OptionsDialog* d) { d->cancelButton()->click(); }},
        {"escape", [](OptionsDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }},
        {"close", [](OptionsDialog* d) { d->close(); }},
    };
    int closed = 0;
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        open();
        general().reverseColoursBox->click();
        keys().enabledBoxes[5]->click();
        other().titleEdit->setText(QStringLiteral("別名"));
        leave(dialog);
        closeAndSettle();
        EXPECT_TRUE(dialog.isNull());
        EXPECT_EQ(host.closed, ++closed);
        EXPECT_EQ(data.settings, StartingSettings());
        EXPECT_EQ(files.writes, 0);
        EXPECT_TRUE(registrar.calls.empty());
        EXPECT_TRUE(boxes.shown.empty());
    }
}

TEST_F(OptionsDialogTest, CancelAfterApplyKeepsWhatWasApplied)
{
    open();
    general().hideIconBox->click();
    ASSERT_TRUE(dialog->apply());
    general().confirmBox->click();  // not applied
    dialog->cancelButton()->click();
    closeAndSettle();
    EXPECT_TRUE(data.settings.hideIconWhileCapturing);
    EXPECT_TRUE(data.settings.confirmBeforePrint);
    EXPECT_EQ(files.writes, 1);
}

TEST_F(OptionsDialogTest, AFailedSaveKeepsTheOldOptionsInForce)
{
    files.failWrites = true;
    open();
    general().reverseColoursBox->click();
    keys().enabledBoxes[0]->click();
    dialog->okButton()->click();
    ASSERT_EQ(boxes.shown.size(), 1u);  // the settings store's own message
    EXPECT_EQ(data.settings, StartingSettings());
    EXPECT_TRUE(registrar.calls.empty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->errorFlag());
    EXPECT_TRUE(dialog->applyButton()->isEnabled());

    files.failWrites = false;
    dialog->applyButton()->click();
    EXPECT_TRUE(data.settings.reverseColours);
    EXPECT_EQ(registrar.calls,
              (std::vector<std::string>{"unregister:0", "unregister:3", "register:3:Shift+F5"}));
}

TEST_F(OptionsDialogTest, NamedSettingsSavedMeanwhileAreKept)
{
    open();
    // The print dialog saved two named settings while this dialog was open.
    data.settings.namedSettingCount = 2;
    data.settings.lastNamedSetting = 1;
    data.named[0].name = "A";
    data.named[1].name = "B";
    general().reverseColoursBox->click();
    ASSERT_TRUE(dialog->apply());
    EXPECT_EQ(data.settings.namedSettingCount, 2);
    EXPECT_EQ(data.settings.lastNamedSetting, 1);
    EXPECT_NE(files.files[kIni].find("[Printer2]"), std::string::npos);
}

TEST_F(OptionsDialogTest, ApplyWithNoKeysBeforeOrAfterTouchesNoKeys)
{
    data.settings.hotKeyOn = {};
    hotKeys.unregisterKeys();
    registrar.calls.clear();
    open();
    general().reverseColoursBox->click();
    ASSERT_TRUE(dialog->apply());
    EXPECT_TRUE(registrar.calls.empty());
}

TEST_F(OptionsDialogTest, IconFileComesFromTheFileDialog)
{
    open();
    host.iconFile = std::nullopt;
    other().browseIconButton->click();
    ASSERT_EQ(host.iconRequests.size(), 1u);
    EXPECT_EQ(host.iconRequests[0].title, "アイコンファイルの指定");
    EXPECT_EQ(host.iconRequests[0].filter, "アイコンファイル(*.ICO)|*.ico|");
    EXPECT_EQ(host.iconRequests[0].startFolder, "/home/user/pictures/");
    EXPECT_TRUE(other().iconPathEdit->text().isEmpty());
    EXPECT_FALSE(dialog->applyButton()->isEnabled());

    host.iconFile = "/home/user/icons/camera.ico";
    other().browseIconButton->click();
    EXPECT_EQ(other().iconPathEdit->text(), QStringLiteral("/home/user/icons/camera.ico"));
    EXPECT_EQ(dialog->workingCopy().iconPath, "/home/user/icons/camera.ico");
    EXPECT_TRUE(dialog->applyButton()->isEnabled());
}

TEST_F(OptionsDialogTest, HelpOpensTheGuide)
{
    open();
    dialog->helpButton()->click();
    EXPECT_EQ(host.helpShown, 1);
}

TEST_F(OptionsDialogTest, EveryPageFitsAndScreenshotsAreSaved)
{
    data.settings.selfTimerOn = true;
    data.settings.iconPath = "/home/user/icons/camera.ico";
    open();
    QTabBar* bar = dialog->tabs()->tabBar();
    for (int tab = 0; tab < 3; ++tab) {
        SCOPED_TRACE(tab);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        QWidget* page = pages()[tab];
        EXPECT_GE(page->width(), page->sizeHint().width());
        EXPECT_GE(page->height(), page->sizeHint().height());
        // The page lies inside the tab widget, below the tabs.
        const QRect client(page->mapTo(dialog->tabs(), QPoint(0, 0)), page->size());
        EXPECT_TRUE(dialog->tabs()->rect().contains(client));
        EXPECT_GE(client.top(), bar->mapTo(dialog->tabs(), QPoint(0, bar->height())).y());
        // Every control of the page lies inside it.
        for (QWidget* child : page->findChildren<QWidget*>()) {
            if (!child->isVisibleTo(page)) continue;
            const QRect r(child->mapTo(page, QPoint(0, 0)), child->size());
            EXPECT_TRUE(page->rect().contains(r)) << child->objectName().toStdString();
        }
        QCoreApplication::processEvents();
        saveScreenshot(QStringLiteral("options-tab%1.png").arg(tab + 1));
    }
    EXPECT_GE(bar->width(), bar->sizeHint().width());
}

TEST_F(OptionsDialogTest, CountdownBoxHasARowOfItsOwnUnderTheSelfTimerAndWritesItsKeyOnlyWhenOff)
{
    open();
    QCheckBox* box = general().showCountdownBox;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("カウントダウンを表示する"));
    EXPECT_TRUE(box->isChecked()) << "on unless turned off";
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    EXPECT_TRUE(pages()[0]->isAncestorOf(box));
    EXPECT_TRUE(box->isVisible());
    // Below the self-timer's row and above the confirmation box, indented under the timer.
    const QPoint timerBottom =
        general().selfTimerBox->mapTo(dialog, QPoint(0, general().selfTimerBox->height()));
    const QPoint boxTop = box->mapTo(dialog, QPoint(0, 0));
    EXPECT_GE(boxTop.y(), timerBottom.y());
    EXPECT_LE(boxTop.y() + box->height(), general().confirmBox->mapTo(dialog, QPoint(0, 0)).y());
    EXPECT_GT(boxTop.x(), general().selfTimerBox->mapTo(dialog, QPoint(0, 0)).x());

    box->click();
    EXPECT_TRUE(data.settings.showCountdown);  // nothing before apply
    EXPECT_TRUE(dialog->applyButton()->isEnabled());
    dialog->applyButton()->click();
    EXPECT_FALSE(data.settings.showCountdown);
    EXPECT_NE(files.files[kIni].find("\nShowCountdown=0\n"), std::string::npos);

    box->click();
    dialog->applyButton()->click();
    EXPECT_TRUE(data.settings.showCountdown);
    EXPECT_EQ(files.files[kIni].find("ShowCountdown"), std::string::npos);
}

TEST_F(OptionsDialogTest, CountdownBoxShowsTheStoredValue)
{
    data.settings.showCountdown = false;
    open();
    EXPECT_FALSE(general().showCountdownBox->isChecked());
    EXPECT_FALSE(dialog->applyButton()->isEnabled());
    dialog->okButton()->click();
    EXPECT_FALSE(data.settings.showCountdown);
}

}  // namespace
}  // namespace tovrimo
