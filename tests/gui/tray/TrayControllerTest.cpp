#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include "doubles/FakeTrayIcon.h"
#include "resident/CountdownWindow.h"
#include "resident/TrayController.h"
#include "resident/TrayStatus.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

class RecordingCommands : public TrayStatus {
public:
    AppState appState() const override { return state; }
    std::optional<CaptureRequest> lastCapture() const override { return last; }
    bool captureDelayRunning() const override { return delayRunning; }
    std::optional<CaptureDestination> doubleClickDestination() const override
    {
        return doubleClick;
    }
    std::optional<CaptureSource> doubleClickSource() const override { return doubleClickDo; }
    // Records the commands and cancels the controller signals.
    void listenTo(TrayController& form)
    {
        QObject::connect(&form, &TrayController::commandChosen, &receiver_,
                         [this](const Command& c) { run(c); });
        QObject::connect(&form, &TrayController::cancelChosen, &receiver_,
                         [this] { cancelCapture(); });
    }
    void run(const Command& c)
    {
        if (c == Command(ProgramAction::RemoveAllNotes))
            ++removals;
        else if (c == Command(ProgramAction::BringNotesToFront))
            ++raises;
        else
            runs.push_back(c);
    }
    void cancelCapture() { ++cancels; }

    AppState state = AppState::Idle;
    std::optional<CaptureRequest> last;
    bool delayRunning = false;
    std::optional<CaptureDestination> doubleClick = CaptureDestination::Printer;
    std::optional<CaptureSource> doubleClickDo = CaptureSource::Desktop;
    std::vector<Command> runs;
    int cancels = 0, raises = 0, removals = 0;

private:
    QObject receiver_;
};

// Right-clicks the icon and reports which menu popped up, closing it again.
QString MenuShownOnRightClick(TrayController& form)
{
    QString shown;
    QTimer::singleShot(200, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            shown = popup->objectName();
            popup->close();
        }
    });
    form.onTrayClick(TrayClick::Right);
    return shown;
}

}  // namespace

TEST(TrayController, RightClickOffersOnlyCancelWhileACaptureWaitsForItsDelay)
{
    RecordingCommands commands;
    TrayController form(std::make_unique<FakeTrayIcon>(), commands);
    commands.listenTo(form);
    EXPECT_EQ(MenuShownOnRightClick(form), "commandMenu");
    commands.state = AppState::PrintDesktopPending;  // a self-timer runs for a desktop hard copy
    commands.delayRunning = true;
    EXPECT_EQ(MenuShownOnRightClick(form), "cancelMenu");
    ASSERT_EQ(form.cancelMenu()->actions().size(), 1);
    EXPECT_EQ(form.cancelMenu()->actions()[0]->text(), "キャンセル");
    form.cancelMenu()->actions()[0]->trigger();
    EXPECT_EQ(commands.cancels, 1);
}

TEST(TrayController, ClicksInBusyStatesAreDroppedAndTheRepeatItemFollowsTheLastOperation)
{
    RecordingCommands commands;
    TrayController form(std::make_unique<FakeTrayIcon>(), commands);
    commands.listenTo(form);
    EXPECT_EQ(form.repeatItem()->text(), "繰り返し");
    EXPECT_FALSE(form.repeatItem()->isEnabled());

    commands.state = AppState::OptionsOpen;
    EXPECT_EQ(MenuShownOnRightClick(form), "") << "no menu while the options dialog is open";
    form.onTrayClick(TrayClick::Double);
    form.onTrayClick(TrayClick::Left);
    EXPECT_TRUE(commands.runs.empty());
    EXPECT_EQ(commands.raises, 0);

    commands.state = AppState::Idle;
    commands.last = CaptureRequest{CaptureSource::Region, CaptureDestination::Clipboard};
    form.refreshRepeatItem();  // as the menu does before it shows
    EXPECT_EQ(form.repeatItem()->text(), "繰り返し - コピー ＞ 領域指定");
    EXPECT_TRUE(form.repeatItem()->isEnabled());

    commands.doubleClick = CaptureDestination::Clipboard;
    commands.doubleClickDo = CaptureSource::Clipboard;
    form.onTrayClick(TrayClick::Left);
    form.onTrayClick(TrayClick::Double);
    EXPECT_EQ(commands.raises, 1) << "the first press of a double click raises the notes";
    EXPECT_TRUE(commands.runs.empty()) << "copy from the clipboard does nothing";
}

TEST(TrayController, MenuTreeHasEveryItemInOrder)
{
    RecordingCommands commands;
    TrayController form(std::make_unique<FakeTrayIcon>(), commands);
    commands.listenTo(form);
    QStringList top;
    for (QAction* a : form.commandMenu()->actions())
        top << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(top,
              (QStringList{"ハードコピー", "コピー", "付せん操作", "クリップボードから付せんを作成",
                           "-", "繰り返し", "-", "オプション", "-", "ヘルプ", "トヴリモについて...",
                           "-", "トヴリモの終了", "-", "メニューを閉じる"}));
    QStringList hardCopy;
    for (QAction* a : form.commandMenu()->actions()[0]->menu()->actions())
        hardCopy << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(hardCopy, (QStringList{"デスクトップ画面全体", "アクティブなウィンドウ", "領域指定",
                                     "-", "クリップボードから", "画像ファイルを指定"}));
}

TEST(TrayController, CopyAndNoteSubmenusHaveTheirItemsInOrder)
{
    RecordingCommands commands;
    TrayController form(std::make_unique<FakeTrayIcon>(), commands);
    commands.listenTo(form);
    auto captions = [](QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    };
    for (QMenu* menu : {form.commandMenu(), form.exportedMenu()}) {
        const QList<QAction*> top = menu->actions();
        ASSERT_GE(top.size(), 3);
        ASSERT_EQ(top[1]->text(), "コピー");
        ASSERT_NE(top[1]->menu(), nullptr);
        EXPECT_EQ(captions(top[1]->menu()),
                  (QStringList{"デスクトップ画面全体", "アクティブなウィンドウ", "領域指定", "-",
                               "画像ファイルを指定"}));
        ASSERT_EQ(top[2]->text(), "付せん操作");
        ASSERT_NE(top[2]->menu(), nullptr);
        EXPECT_EQ(captions(top[2]->menu()), QStringList{"全ての付せんをはがす"});
    }

    // Each item runs its own command.
    QMenu* copy = form.commandMenu()->actions()[1]->menu();
    const std::vector<Command> expected = {
        CaptureRequest{CaptureSource::Desktop, CaptureDestination::Clipboard},
        CaptureRequest{CaptureSource::ActiveWindow, CaptureDestination::Clipboard},
        CaptureRequest{CaptureSource::Region, CaptureDestination::Clipboard},
        CaptureRequest{CaptureSource::ImageFile, CaptureDestination::Clipboard}};
    for (QAction* a : copy->actions())
        if (!a->isSeparator()) a->trigger();
    EXPECT_EQ(commands.runs, expected);
    form.commandMenu()->actions()[2]->menu()->actions()[0]->trigger();
    EXPECT_EQ(commands.removals, 1);
}

TEST(TrayController, CountdownShowsInTheTooltipAndInACounterInTheCornerNearThePointer)
{
    RecordingCommands commands;
    auto icon = std::make_unique<FakeTrayIcon>();
    FakeTrayIcon& tray = *icon;
    TrayController form(std::move(icon), commands);
    commands.listenTo(form);
    form.addTrayIcon("スクリーン");
    QCursor::setPos(1900, 1000);
    QApplication::processEvents();

    form.showCountdown(3);
    CountdownWindow* counter = form.countdownWindow();
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(tray.tooltip(), "あと 3 秒でキャプチャします");
    EXPECT_TRUE(counter->isVisible());
    EXPECT_EQ(counter->numberLabel()->text(), "3");
    EXPECT_TRUE(counter->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(counter->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(counter->testAttribute(Qt::WA_ShowWithoutActivating));
    // The bottom-right corner of the screen, with the margin.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(counter->geometry().right(), screen.right() - 24);
    EXPECT_EQ(counter->geometry().bottom(), screen.bottom() - 24);
    EXPECT_NE(QApplication::activeWindow(), counter);

    form.showCountdown(2);
    EXPECT_EQ(counter->numberLabel()->text(), "2");
    EXPECT_EQ(tray.tooltip(), "あと 2 秒でキャプチャします");
    QString artifacts = qEnvironmentVariable("TOVRIMO_ARTIFACTS");
    if (artifacts.isEmpty()) artifacts = QDir::currentPath() + QStringLiteral("/artifacts");
    QDir().mkpath(artifacts);
    EXPECT_TRUE(counter->grab().save(artifacts + QStringLiteral("/countdown-counter.png")));

    form.endCountdown();
    EXPECT_FALSE(counter->isVisible());
    EXPECT_EQ(tray.tooltip(), "スクリーン") << "the tooltip from before comes back";
    form.endCountdown();  // a second end changes nothing
    EXPECT_EQ(tray.tooltip(), "スクリーン");
    EXPECT_EQ(tray.adds, (std::vector<std::string>{"スクリーン"})) << "never re-added";
}

TEST(TrayController, AnIconAddedBackDuringTheCountdownKeepsItsTooltipForAfterwards)
{
    RecordingCommands commands;
    auto icon = std::make_unique<FakeTrayIcon>();
    FakeTrayIcon& tray = *icon;
    TrayController form(std::move(icon), commands);
    commands.listenTo(form);
    form.addTrayIcon("スクリーン");
    form.showCountdown(2);
    form.removeTrayIcon();
    form.addTrayIcon("トヴリモ");
    EXPECT_EQ(tray.tooltip(), "あと 2 秒でキャプチャします");
    form.endCountdown();
    EXPECT_EQ(tray.tooltip(), "トヴリモ");
}
