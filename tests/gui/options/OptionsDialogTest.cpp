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
#include <QTest>

#include "controls/cTabStrip.h"
#include "core/SettingsStore.h"
#include "doubles/FakeHotKeyRegistrar.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/RecordingOptionsHost.h"
#include "resident/OptionsDialog.h"
#include "resident/HotKeys.h"

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
    s.Title = "トヴリモ";
    s.SelfTimer = 0;
    s.SelfTime = 5;
    s.ConfirmBeforePrint = 1;
    s.DoubleClick = 1;
    s.DoubleClickDo = 5;
    s.LastSet = -1;
    s.IconIsBuiltIn = true;
    // Slot 0: Ctrl+Alt+P. Slot 3: Shift+F5.
    s.HotKeyOn[0] = 1;
    s.HotKeyCTRL[0] = 1;
    s.HotKeyALT[0] = 1;
    s.HotKeyButton[0] = 80;
    s.HotKeyOn[3] = 1;
    s.HotKeySHIFT[3] = 1;
    s.HotKeyButton[3] = 116;
    // Slot 6 holds values but is switched off.
    s.HotKeyCTRL[6] = 1;
    s.HotKeyButton[6] = 67;
    return s;
}

class OptionsDialogTest : public ::testing::Test {
protected:
    MemoryFileSystem files;
    FakePrinterBackend printers;
    RecordingMessageBoxes boxes;
    SettingsStore store{files, printers, boxes, kFolder};
    FakeHotKeyRegistrar registrar;
    HotKeys hotKeys{registrar, {}};
    RecordingOptionsHost host{store, hotKeys};
    SettingsData data;
    QPointer<OptionsDialog> dialog;
    int beeps = 0;

    void SetUp() override
    {
        printers.printers = {FakePrinterBackend::a4("Office")};
        printers.defaultName = "Office";
        data.settings = StartingSettings();
        hotKeys.RegisterHotKeys(data.settings, AppState::Idle);
        registrar.calls.clear();
    }

    void TearDown() override { delete dialog.data(); }

    void open()
    {
        dialog = new OptionsDialog(data, host, boxes, "/home/user/pictures/", QIcon());
        dialog->beep = [this] { ++beeps; };
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    }

    const OptionPages& ui() { return dialog->pages(); }

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
    EXPECT_TRUE(ui().Opt_HardCopy->isChecked());
    EXPECT_TRUE(ui().Opt_Clip->isChecked());
    EXPECT_TRUE(ui().Opt_Clip->isEnabled());
    EXPECT_FALSE(ui().ChkByo->isChecked());
    EXPECT_EQ(ui().TxtByo->text(), QStringLiteral("5"));
    EXPECT_FALSE(ui().TxtByo->isEnabled());
    EXPECT_TRUE(ui().ChkDialog->isChecked());
    EXPECT_FALSE(ui().ChkReverse->isChecked());
    EXPECT_EQ(ui().Txt_AppName->text(), QStringLiteral("トヴリモ"));
    EXPECT_TRUE(ui().Txt_IconPath->text().isEmpty());
    EXPECT_FALSE(ui().BtnTekiyo->isEnabled());
    EXPECT_FALSE(ui().Picture1->pixmap().isNull());
    EXPECT_FALSE(dialog->windowIcon().isNull());

    EXPECT_TRUE(ui().Chk_Enable[0]->isChecked());
    EXPECT_TRUE(ui().Chk_CTRL[0]->isChecked());
    EXPECT_TRUE(ui().Chk_Alt[0]->isChecked());
    EXPECT_FALSE(ui().Chk_Shift[0]->isChecked());
    EXPECT_EQ(ui().Cmb_Key[0]->currentText(), QStringLiteral("P"));
    EXPECT_EQ(ui().Cmb_Key[3]->currentText(), QStringLiteral("F5"));
    // Slot 6 is off: greyed out, with its values kept.
    EXPECT_FALSE(ui().Chk_CTRL[6]->isEnabled());
    EXPECT_TRUE(ui().Chk_CTRL[6]->isChecked());
    EXPECT_FALSE(ui().Cmb_Key[6]->isEnabled());
    EXPECT_EQ(ui().Cmb_Key[6]->currentText(), QStringLiteral("C"));
    // Key code 0 selects nothing.
    EXPECT_EQ(ui().Cmb_Key[1]->currentIndex(), -1);
    for (QComboBox* list : ui().Cmb_Key) EXPECT_EQ(list->count(), 51);

    cTabStrip& tabs = dialog->tabStrip();
    ASSERT_EQ(tabs.TabsCount(), 3);
    EXPECT_EQ(tabs.TabCaption(0), QStringLiteral("基本設定"));
    EXPECT_EQ(tabs.TabCaption(1), QStringLiteral("ホットキー設定"));
    EXPECT_EQ(tabs.TabCaption(2), QStringLiteral("その他"));
    EXPECT_EQ(tabs.SelectedItem(), 1);
    EXPECT_TRUE(ui().Fra_Tab[0]->isVisible());
    EXPECT_FALSE(ui().Fra_Tab[1]->isVisible());
    EXPECT_FALSE(ui().Fra_Tab[2]->isVisible());
    EXPECT_EQ(dialog->workingCopy(), data.settings);
}

TEST_F(OptionsDialogTest, UnknownStoredChoicesShowNoActionAndTheDesktop)
{
    data.settings.DoubleClick = 7;
    data.settings.DoubleClickDo = 0;
    open();
    for (QRadioButton* r : {ui().Opt_HardCopy, ui().Opt_Copy, ui().Opt_Fusen, ui().Opt_Redo})
        EXPECT_FALSE(r->isChecked());
    EXPECT_TRUE(ui().Opt_DeskTop->isChecked());
    EXPECT_EQ(dialog->workingCopy().DoubleClickDo, 1);
    EXPECT_EQ(dialog->workingCopy().DoubleClick, 7);
}

TEST_F(OptionsDialogTest, TabsShowTheirOwnPage)
{
    open();
    QTabBar* bar = dialog->tabStrip().tabBar();
    for (int tab : {1, 2, 0}) {
        SCOPED_TRACE(tab);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ui().Fra_Tab[i]->isVisible(), i == tab);
    }
}

TEST_F(OptionsDialogTest, ApplyStoresSavesAndReRegistersWithOldThenNewKeys)
{
    open();
    ui().ChkReverse->click();
    ui().Opt_Fusen->click();
    ui().Chk_Enable[1]->click();
    ui().Chk_CTRL[1]->click();
    ui().Cmb_Key[1]->setCurrentIndex(47);  // F12
    ui().Chk_Enable[3]->click();           // slot 3 goes
    ui().Txt_AppName->setText(QStringLiteral("スクリーン"));
    EXPECT_TRUE(ui().BtnTekiyo->isEnabled());
    // Nothing reaches the program before apply.
    EXPECT_EQ(data.settings, StartingSettings());

    ui().BtnTekiyo->click();

    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(dialog->errorFlag());
    EXPECT_FALSE(ui().BtnTekiyo->isEnabled());
    const Settings& s = data.settings;
    EXPECT_EQ(s.ReversePrint, 1);
    EXPECT_EQ(s.DoubleClick, 3);
    EXPECT_EQ(s.DoubleClickDo, 5);
    EXPECT_EQ(s.Title, "スクリーン");
    EXPECT_EQ(s.HotKeyOn[1], 1);
    EXPECT_EQ(s.HotKeyCTRL[1], 1);
    EXPECT_EQ(s.HotKeyButton[1], 123);
    EXPECT_EQ(s.HotKeyOn[3], 0);
    EXPECT_EQ(s.HotKeyButton[3], 116);

    EXPECT_EQ(host.calls, (std::vector<std::string>{"save", "reregister"}));
    ASSERT_EQ(host.oldKeys.size(), 1u);
    EXPECT_EQ(host.oldKeys[0], StartingSettings());
    // The keys in force go first, then those of the new settings.
    EXPECT_EQ(registrar.calls, (std::vector<std::string>{"unregister:0", "unregister:3",
                                                         "register:0:3:80", "register:1:2:123"}));
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
    ASSERT_EQ(store.LoadSettings(reread), LoadResult::Loaded);
    EXPECT_EQ(reread.settings.Title, "スクリーン");
    EXPECT_EQ(reread.settings.HotKeyButton, s.HotKeyButton);
    EXPECT_EQ(reread.settings.HotKeyOn, s.HotKeyOn);
}

TEST_F(OptionsDialogTest, FullDetailBoxSitsUnderReverseAndWritesItsKeyOnlyWhenTicked)
{
    open();
    QCheckBox* box = ui().fullDetailBox;
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("画像を縮小せずに高精細で印刷する"));
    EXPECT_FALSE(box->isChecked());
    // On the first tab, directly below the reverse-printing box.
    EXPECT_TRUE(ui().Fra_Tab[0]->isAncestorOf(box));
    EXPECT_TRUE(box->isVisible());
    const QPoint reverseBottom =
        ui().ChkReverse->mapTo(dialog, QPoint(0, ui().ChkReverse->height()));
    const QPoint boxTop = box->mapTo(dialog, QPoint(0, 0));
    EXPECT_GE(boxTop.y(), reverseBottom.y());
    EXPECT_EQ(boxTop.x(), ui().ChkReverse->mapTo(dialog, QPoint(0, 0)).x());

    box->click();
    EXPECT_EQ(data.settings.FullDetailPrint, 0);  // nothing before apply
    ui().BtnTekiyo->click();
    EXPECT_EQ(data.settings.FullDetailPrint, 1);
    EXPECT_NE(files.files[kIni].find("\nFullDetailPrint=1\n"), std::string::npos);

    box->click();
    ui().BtnTekiyo->click();
    EXPECT_EQ(data.settings.FullDetailPrint, 0);
    EXPECT_EQ(files.files[kIni].find("FullDetailPrint"), std::string::npos);
}

TEST_F(OptionsDialogTest, FullDetailBoxShowsTheStoredValue)
{
    data.settings.FullDetailPrint = 1;
    open();
    EXPECT_TRUE(ui().fullDetailBox->isChecked());
    EXPECT_FALSE(ui().BtnTekiyo->isEnabled());
    ui().BtnOK->click();
    EXPECT_EQ(data.settings.FullDetailPrint, 1);
}

TEST_F(OptionsDialogTest, OkStoresTheLoadedValuesAgainAndCloses)
{
    open();
    ui().BtnOK->click();
    closeAndSettle();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(host.closed, 1);
    EXPECT_EQ(data.settings.DoubleClick, 1);
    EXPECT_EQ(data.settings.DoubleClickDo, 5);
    ASSERT_TRUE(files.files.count(kIni));
    EXPECT_NE(files.files[kIni].find("DoubleClickDo=5\n"), std::string::npos);
}

TEST_F(OptionsDialogTest, RefusedValuesShowTheirMessageAndStoreNothing)
{
    struct Case {
        const char* name;
        std::function<void(const OptionPages&)> edit;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"empty title", [](const OptionPages& ui) { ui.Txt_AppName->clear(); },
         "アプリケーションタイトルに、空白は設定できません。"},
        {"blank title", [](const OptionPages& ui) { ui.Txt_AppName->setText("  "); },
         "アプリケーションタイトルに、空白は設定できません。"},
        {"zero title", [](const OptionPages& ui) { ui.Txt_AppName->setText("0"); },
         "アプリケーションタイトルに、この文字列は設定できません。"},
        {"copy from the clipboard", [](const OptionPages& ui) { ui.Opt_Copy->click(); },
         "タスクトレイアイコンをダブルクリックしたときの動作設定が不正です。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.shown.clear();
        open();
        c.edit(ui());
        const Settings edited = dialog->workingCopy();
        ui().BtnOK->click();
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].caption, "トヴリモ");
        EXPECT_EQ(boxes.shown[0].text, c.message);
        EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Critical);
        EXPECT_TRUE(dialog->errorFlag());
        EXPECT_TRUE(dialog->isVisible());  // OK after a refusal stays open
        EXPECT_TRUE(ui().BtnTekiyo->isEnabled());
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
    ui().Txt_AppName->setText(QStringLiteral("00"));
    EXPECT_TRUE(dialog->BtnTekiyo_Click());
    EXPECT_EQ(data.settings.Title, "00");
}

TEST_F(OptionsDialogTest, CopyGreysOutTheClipboardSourceButKeepsItChosen)
{
    open();
    ui().Opt_Copy->click();
    EXPECT_FALSE(ui().Opt_Clip->isEnabled());
    EXPECT_TRUE(ui().Opt_Clip->isChecked());
    EXPECT_EQ(dialog->workingCopy().DoubleClickDo, 5);
    for (QRadioButton* other : {ui().Opt_Fusen, ui().Opt_Redo, ui().Opt_HardCopy}) {
        other->click();
        EXPECT_TRUE(ui().Opt_Clip->isEnabled()) << other->objectName().toStdString();
        ui().Opt_Copy->click();
        EXPECT_FALSE(ui().Opt_Clip->isEnabled());
    }
    ui().Opt_RS->click();
    EXPECT_EQ(dialog->workingCopy().DoubleClickDo, 3);
    EXPECT_TRUE(dialog->BtnTekiyo_Click());
    EXPECT_EQ(data.settings.DoubleClick, 2);
    EXPECT_EQ(data.settings.DoubleClickDo, 3);
}

TEST_F(OptionsDialogTest, SecondsBoxFollowsTheSelfTimerAndRefusesOtherKeys)
{
    open();
    ui().ChkByo->click();
    EXPECT_TRUE(ui().TxtByo->isEnabled());
    EXPECT_EQ(dialog->workingCopy().SelfTimer, 1);
    ui().TxtByo->setFocus(Qt::TabFocusReason);
    ui().TxtByo->clear();
    QTest::keyClicks(ui().TxtByo, QStringLiteral("1a-b2."));
    EXPECT_EQ(ui().TxtByo->text(), QStringLiteral("12"));
    EXPECT_EQ(beeps, 4);
    QTest::keyClick(ui().TxtByo, Qt::Key_Backspace);
    EXPECT_EQ(ui().TxtByo->text(), QStringLiteral("1"));
    EXPECT_EQ(beeps, 4);
    // Leaving the box stores the number.
    QTest::keyClick(ui().TxtByo, Qt::Key_Tab);
    EXPECT_EQ(dialog->workingCopy().SelfTime, 1);
    EXPECT_TRUE(boxes.shown.empty());

    ui().ChkByo->click();
    EXPECT_FALSE(ui().TxtByo->isEnabled());
    EXPECT_EQ(dialog->workingCopy().SelfTimer, 0);
}

TEST_F(OptionsDialogTest, MoreThanTwentySecondsIsRefusedAndTheFocusComesBack)
{
    data.settings.SelfTimer = 1;
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
        ui().TxtByo->setFocus(Qt::TabFocusReason);
        ui().TxtByo->setText(c.typed);
        QTest::keyClick(ui().TxtByo, Qt::Key_Tab);
        QCoreApplication::processEvents();
        if (c.refused) {
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].text, "セルフタイマの秒数は20秒以内で設定してください");
            EXPECT_EQ(boxes.shown[0].caption, "トヴリモ");
            EXPECT_EQ(boxes.shown[0].icon, MsgIcon::None);
            EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
            EXPECT_TRUE(ui().TxtByo->hasFocus());
        } else {
            EXPECT_TRUE(boxes.shown.empty());
            EXPECT_FALSE(ui().TxtByo->hasFocus());
        }
        EXPECT_EQ(dialog->workingCopy().SelfTime, c.stored);
    }
}

TEST_F(OptionsDialogTest, TooManySecondsStillInTheBoxStopOk)
{
    data.settings.SelfTimer = 1;
    open();
    ui().TxtByo->setFocus(Qt::TabFocusReason);
    ui().TxtByo->setText(QStringLiteral("45"));
    // Enter presses OK without the box losing the focus.
    QTest::keyClick(ui().TxtByo, Qt::Key_Return);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "セルフタイマの秒数は20秒以内で設定してください");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->errorFlag());
    EXPECT_EQ(data.settings.SelfTime, 5);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(OptionsDialogTest, CancelDoesNotNagAboutTheSecondsBox)
{
    data.settings.SelfTimer = 1;
    open();
    ui().TxtByo->setFocus(Qt::TabFocusReason);
    ui().TxtByo->setText(QStringLiteral("99"));
    QTest::mouseClick(ui().BtnCancel, Qt::LeftButton);
    closeAndSettle();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(dialog.isNull());
    Settings expected = StartingSettings();
    expected.SelfTimer = 1;
    EXPECT_EQ(data.settings, expected);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(OptionsDialogTest, DisablingASlotGreysItOutAndKeepsItsValues)
{
    open();
    ui().Chk_Enable[0]->click();
    for (QWidget* w : std::initializer_list<QWidget*>{ui().Chk_CTRL[0], ui().Chk_Shift[0],
                                                      ui().Chk_Alt[0], ui().Cmb_Key[0]})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(dialog->workingCopy().HotKeyOn[0], 0);
    ui().Chk_Enable[0]->click();
    for (QWidget* w : std::initializer_list<QWidget*>{ui().Chk_CTRL[0], ui().Chk_Shift[0],
                                                      ui().Chk_Alt[0], ui().Cmb_Key[0]})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(ui().Chk_CTRL[0]->isChecked());
    EXPECT_TRUE(ui().Chk_Alt[0]->isChecked());
    EXPECT_EQ(ui().Cmb_Key[0]->currentText(), QStringLiteral("P"));
    EXPECT_EQ(dialog->workingCopy().HotKeyButton[0], 80);
}

TEST_F(OptionsDialogTest, EnablingASlotWithoutAKeyRegistersKeyZeroQuietly)
{
    open();
    ui().Chk_Enable[2]->click();
    EXPECT_TRUE(dialog->BtnTekiyo_Click());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(data.settings.HotKeyOn[2], 1);
    EXPECT_EQ(data.settings.HotKeyButton[2], 0);
    EXPECT_NE(std::find(registrar.calls.begin(), registrar.calls.end(), "register:2:0:0"),
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
    QComboBox* list = ui().Cmb_Key[0];
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
        EXPECT_EQ(dialog->workingCopy().HotKeyButton[0], c.code);
    }
    // Leaving an untouched list says nothing, even when it has no selection.
    boxes.shown.clear();
    emit ui().Cmb_Key[1]->lineEdit()->editingFinished();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OptionsDialogTest, CancelEscapeAndCloseChangeNothing)
{
    const std::vector<std::pair<const char*, std::function<void(OptionsDialog*)>>> ways = {
        {"cancel", [](OptionsDialog* d) { d->pages().BtnCancel->click(); }},
        {"escape", [](OptionsDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }},
        {"close", [](OptionsDialog* d) { d->close(); }},
    };
    int closed = 0;
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        open();
        ui().ChkReverse->click();
        ui().Chk_Enable[5]->click();
        ui().Txt_AppName->setText(QStringLiteral("別名"));
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
    ui().ChkKakure->click();
    ASSERT_TRUE(dialog->BtnTekiyo_Click());
    ui().ChkDialog->click();  // not applied
    ui().BtnCancel->click();
    closeAndSettle();
    EXPECT_EQ(data.settings.IconDelete, 1);
    EXPECT_EQ(data.settings.ConfirmBeforePrint, 1);
    EXPECT_EQ(files.writes, 1);
}

TEST_F(OptionsDialogTest, AFailedSaveKeepsTheOldOptionsInForce)
{
    files.failWrites = true;
    open();
    ui().ChkReverse->click();
    ui().Chk_Enable[0]->click();
    ui().BtnOK->click();
    ASSERT_EQ(boxes.shown.size(), 1u);  // the settings store's own message
    EXPECT_EQ(data.settings, StartingSettings());
    EXPECT_TRUE(registrar.calls.empty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->errorFlag());
    EXPECT_TRUE(ui().BtnTekiyo->isEnabled());

    files.failWrites = false;
    ui().BtnTekiyo->click();
    EXPECT_EQ(data.settings.ReversePrint, 1);
    EXPECT_EQ(registrar.calls,
              (std::vector<std::string>{"unregister:0", "unregister:3", "register:3:4:116"}));
}

TEST_F(OptionsDialogTest, NamedSettingsSavedMeanwhileAreKept)
{
    open();
    // The print dialog saved two named settings while this dialog was open.
    data.settings.PrinterCount = 2;
    data.settings.LastSet = 1;
    data.named[0].Title = "A";
    data.named[1].Title = "B";
    ui().ChkReverse->click();
    ASSERT_TRUE(dialog->BtnTekiyo_Click());
    EXPECT_EQ(data.settings.PrinterCount, 2);
    EXPECT_EQ(data.settings.LastSet, 1);
    EXPECT_NE(files.files[kIni].find("[Printer2]"), std::string::npos);
}

TEST_F(OptionsDialogTest, ApplyWithNoKeysBeforeOrAfterTouchesNoKeys)
{
    data.settings.HotKeyOn = {};
    hotKeys.UnregisterHotKeys();
    registrar.calls.clear();
    open();
    ui().ChkReverse->click();
    ASSERT_TRUE(dialog->BtnTekiyo_Click());
    EXPECT_TRUE(registrar.calls.empty());
}

TEST_F(OptionsDialogTest, IconFileComesFromTheFileDialog)
{
    open();
    host.iconFile = std::nullopt;
    ui().Btn_IconSansho->click();
    ASSERT_EQ(host.iconRequests.size(), 1u);
    EXPECT_EQ(host.iconRequests[0].title, "アイコンファイルの指定");
    EXPECT_EQ(host.iconRequests[0].filter, "アイコンファイル(*.ICO)|*.ico|");
    EXPECT_EQ(host.iconRequests[0].startFolder, "/home/user/pictures/");
    EXPECT_TRUE(ui().Txt_IconPath->text().isEmpty());
    EXPECT_FALSE(ui().BtnTekiyo->isEnabled());

    host.iconFile = "/home/user/icons/camera.ico";
    ui().Btn_IconSansho->click();
    EXPECT_EQ(ui().Txt_IconPath->text(), QStringLiteral("/home/user/icons/camera.ico"));
    EXPECT_EQ(dialog->workingCopy().Icon, "/home/user/icons/camera.ico");
    EXPECT_TRUE(ui().BtnTekiyo->isEnabled());
}

TEST_F(OptionsDialogTest, HelpOpensTheGuide)
{
    open();
    ui().BtnHelp->click();
    EXPECT_EQ(host.helpShown, 1);
}

TEST_F(OptionsDialogTest, EveryPageFitsAndScreenshotsAreSaved)
{
    data.settings.SelfTimer = 1;
    data.settings.Icon = "/home/user/icons/camera.ico";
    open();
    QTabBar* bar = dialog->tabStrip().tabBar();
    const QRect client = dialog->tabStrip().ClientRect();
    for (int tab = 0; tab < 3; ++tab) {
        SCOPED_TRACE(tab);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        QWidget* page = ui().Fra_Tab[tab];
        EXPECT_GE(page->width(), page->sizeHint().width());
        EXPECT_GE(page->height(), page->sizeHint().height());
        EXPECT_TRUE(ui().Pic_Tab->rect().contains(client));
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

}  // namespace
}  // namespace tovrimo
