#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QtTest/QTest>

#include "doubles/FakeTrayIcon.h"
#include "resident/FrmTovrimo.h"
#include "resident/ResidentCommands.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

class RecordingCommands : public ResidentCommands {
public:
    AppState appState() const override { return state; }
    LastOperation lastOperation() const override { return last; }
    bool captureDelayRunning() const override { return delayRunning; }
    int16_t doubleClickSetting() const override { return doubleClick; }
    int16_t doubleClickSourceSetting() const override { return doubleClickDo; }
    void run(MenuCommand c) override { runs.push_back(c); }
    void Pop_Can_Click() override { ++cancels; }
    void Pop_Option_Click() override {}
    void Pop_Help_Click() override {}
    void Pop_About_Click() override {}
    void Pop_End_Click() override {}
    void Pop_FusenAllDelete_Click() override {}
    void BringNotesToFront() override { ++raises; }

    AppState state = AppState::Idle;
    LastOperation last;
    bool delayRunning = false;
    int16_t doubleClick = 1, doubleClickDo = 1;
    std::vector<MenuCommand> runs;
    int cancels = 0, raises = 0;
};

// Right-clicks the icon and reports which menu popped up, closing it again.
QString MenuShownOnRightClick(FrmTovrimo& form)
{
    QString shown;
    QTimer::singleShot(200, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            shown = popup->objectName();
            popup->close();
        }
    });
    form.Form_MouseMove(516);
    return shown;
}

}  // namespace

TEST(FrmTovrimo, RightClickOffersOnlyCancelWhileACaptureWaitsForItsDelay)
{
    RecordingCommands commands;
    FrmTovrimo form(std::make_unique<FakeTrayIcon>(), commands);
    EXPECT_EQ(MenuShownOnRightClick(form), "Pop_Menu1");
    commands.state = AppState::DtCopyPending;  // a self-timer runs for a desktop hard copy
    commands.delayRunning = true;
    EXPECT_EQ(MenuShownOnRightClick(form), "Pop_Menu2");
    ASSERT_EQ(form.Pop_Menu2()->actions().size(), 1);
    EXPECT_EQ(form.Pop_Menu2()->actions()[0]->text(), "キャンセル");
    form.Pop_Menu2()->actions()[0]->trigger();
    EXPECT_EQ(commands.cancels, 1);
}

TEST(FrmTovrimo, ClicksInBusyStatesAreDroppedAndTheRepeatItemFollowsTheLastOperation)
{
    RecordingCommands commands;
    FrmTovrimo form(std::make_unique<FakeTrayIcon>(), commands);
    EXPECT_EQ(form.Pop_Redo()->text(), "繰り返し");
    EXPECT_FALSE(form.Pop_Redo()->isEnabled());

    commands.state = AppState::OptionsOpen;
    EXPECT_EQ(MenuShownOnRightClick(form), "") << "no menu while the options dialog is open";
    form.Form_MouseMove(515);
    form.Form_MouseMove(513);
    EXPECT_TRUE(commands.runs.empty());
    EXPECT_EQ(commands.raises, 0);

    commands.state = AppState::Idle;
    commands.last = {ActionCode::Copy, SourceCode::Region};
    form.Form_MouseMove(512);  // a plain move only refreshes the caption
    EXPECT_EQ(form.Pop_Redo()->text(), "繰り返し - コピー ＞ 領域指定");
    EXPECT_TRUE(form.Pop_Redo()->isEnabled());

    commands.doubleClick = 2;
    commands.doubleClickDo = 5;
    form.Form_MouseMove(513);
    form.Form_MouseMove(515);
    EXPECT_EQ(commands.raises, 1) << "the first press of a double click raises the notes";
    ASSERT_EQ(commands.runs.size(), 1u);
    EXPECT_EQ(commands.runs[0], MenuCommand::None) << "copy from the clipboard does nothing";
}

TEST(FrmTovrimo, MenuTreeHasEveryItemInOrder)
{
    RecordingCommands commands;
    FrmTovrimo form(std::make_unique<FakeTrayIcon>(), commands);
    QStringList top;
    for (QAction* a : form.Pop_Menu1()->actions())
        top << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(top, (QStringList{"ハードコピー", "コピー", "付せん操作",
                                "クリップボードから付せんを作成", "-", "繰り返し", "-",
                                "オプション", "-", "ヘルプ", "トヴリモについて...", "-",
                                "トヴリモの終了", "-", "メニューを閉じる"}));
    QStringList hardCopy;
    for (QAction* a : form.Pop_Menu1()->actions()[0]->menu()->actions())
        hardCopy << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(hardCopy, (QStringList{"デスクトップ画面全体", "アクティブなウィンドウ", "領域指定",
                                     "-", "クリップボードから", "画像ファイルを指定"}));
}
