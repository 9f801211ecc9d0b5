#include "resident/TrayController.h"

#include <QApplication>
#include <QCursor>
#include <QImageReader>
#include <QMenu>

#include "platform/TrayIcon.h"
#include "platform/qt/ProgramIcon.h"
#include "resident/ResidentCommands.h"

namespace tovrimo {

TrayController::TrayController(std::unique_ptr<TrayIcon> tray, ResidentCommands& commands, QWidget* parent)
    : QWidget(parent), tray_(std::move(tray)), commands_(commands), icon_(BuiltInIcon())
{
    setObjectName(QStringLiteral("TrayController"));
    setWindowTitle(QStringLiteral("トヴリモ"));
    buildMenus();
    menuUpdate_.setSingleShot(true);
    menuUpdate_.setInterval(0);
    connect(&menuUpdate_, &QTimer::timeout, this, &TrayController::updateTrayMenu);
    tray_->onNotification = [this](TrayNotification n) { onTrayNotification(static_cast<int>(n)); };
}

TrayController::~TrayController()
{
    RemoveTrayIcon();
}

QIcon TrayController::BuiltInIcon()
{
    return ProgramIcon();
}

QAction* TrayController::fillCommandMenu(QMenu* menu1)
{
    auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto command = [this](MenuCommand c) { return [this, c] { commands_.run(c); }; };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromUtf8(name));
    };

    QMenu* copy = menu1->addMenu(QStringLiteral("ハードコピー"));
    copy->menuAction()->setObjectName(QStringLiteral("Pop_Copy"));
    item(copy, "printDesktop", "デスクトップ画面全体", command(MenuCommand::PrintDesktop));
    item(copy, "printActiveWindow", "アクティブなウィンドウ", command(MenuCommand::PrintActiveWindow));
    item(copy, "printRegion", "領域指定", command(MenuCommand::PrintRegion));
    separator(copy, "Pop_Hifun2");
    item(copy, "Pop_ClipCopy", "クリップボードから", command(MenuCommand::PrintClipboard));
    item(copy, "Pop_FileCopy", "画像ファイルを指定", command(MenuCommand::PrintFile));

    QMenu* capture = menu1->addMenu(QStringLiteral("コピー"));
    capture->menuAction()->setObjectName(QStringLiteral("Pop_Capture"));
    item(capture, "copyDesktop", "デスクトップ画面全体", command(MenuCommand::CopyDesktop));
    item(capture, "copyActiveWindow", "アクティブなウィンドウ", command(MenuCommand::CopyActiveWindow));
    item(capture, "copyRegion", "領域指定", command(MenuCommand::CopyRegion));
    separator(capture, "Pop_Hifun4");
    item(capture, "Pop_FileCapture", "画像ファイルを指定", command(MenuCommand::CopyFile));

    QMenu* notes = menu1->addMenu(QStringLiteral("付せん操作"));
    notes->menuAction()->setObjectName(QStringLiteral("Pop_FusenDel"));
    item(notes, "Pop_FusenAllDelete", "全ての付せんをはがす",
         [this] { commands_.removeAllNotes(); });
    item(menu1, "Pop_Fusen", "クリップボードから付せんを作成", command(MenuCommand::NoteFromClipboard));
    separator(menu1, "Pop_Hifun7");
    QAction* redo = item(menu1, "repeatItem", "繰り返し", command(MenuCommand::Repeat));
    separator(menu1, "Pop_Hifun5");
    item(menu1, "Pop_Option", "オプション", [this] { commands_.openOptions(); });
    separator(menu1, "Pop_Hifun0");
    item(menu1, "Pop_Help", "ヘルプ", [this] { commands_.openHelp(); });
    item(menu1, "Pop_About", "トヴリモについて...", [this] { commands_.openAbout(); });
    separator(menu1, "Pop_Hifun3");
    item(menu1, "Pop_End", "トヴリモの終了", [this] { commands_.quit(); });
    separator(menu1, "Pop_Hifun6");
    item(menu1, "Pop_CloseMenu", "メニューを閉じる", [] {});
    return redo;
}

QAction* TrayController::fillCancelMenu(QMenu* menu2)
{
    QAction* cancel = menu2->addAction(QStringLiteral("キャンセル"));
    cancel->setObjectName(QStringLiteral("Pop_Can"));
    connect(cancel, &QAction::triggered, this, [this] { commands_.cancelCapture(); });
    return cancel;
}

void TrayController::buildMenus()
{
    commandMenu_ = new QMenu(QStringLiteral("メニュー"), this);
    commandMenu_->setObjectName(QStringLiteral("commandMenu"));
    repeatItem_ = fillCommandMenu(commandMenu_);

    cancelMenu_ = new QMenu(QStringLiteral("メニュー２"), this);
    cancelMenu_->setObjectName(QStringLiteral("cancelMenu"));
    fillCancelMenu(cancelMenu_);

    // The menu handed to a host that draws it: both menus in one, of which only the part a
    // right click would show is visible. It is one menu for the life of the icon, because Qt
    // 6.4 crashes when an exported menu is exchanged for another.
    exported_ = new QMenu(this);
    exported_->setObjectName(QStringLiteral("TrayExportedMenu"));
    exportedRepeat_ = fillCommandMenu(exported_);
    commandItems_ = exported_->actions();
    exportedCancel_ = fillCancelMenu(exported_);

    // A host that draws the exported menu shows it without telling us first.
    connect(commandMenu_, &QMenu::aboutToShow, this, &TrayController::refreshRepeatItem);
    connect(exported_, &QMenu::aboutToShow, this, &TrayController::refreshRepeatItem);

    refreshRepeatItem();
}

bool TrayController::ApplyTrayIconImage(const std::string& iconPath)
{
    icon_ = BuiltInIcon();
    if (iconPath.empty()) return true;
    QImageReader reader(QString::fromStdString(iconPath));
    const QImage image = reader.read();
    if (image.isNull()) return true;  // silently keep the built-in picture
    icon_ = QIcon(QPixmap::fromImage(image));
    setWindowIcon(icon_);
    return false;
}

void TrayController::AddTrayIcon(const std::string& tooltip)
{
    tray_->add(icon_, tooltip);
}

void TrayController::RemoveTrayIcon()
{
    tray_->remove();
}

void TrayController::refreshRepeatItem()
{
    const RepeatItem repeat = RepeatCaption(commands_.lastOperation());
    for (QAction* redo : {repeatItem_, exportedRepeat_}) {
        if (!redo) continue;
        redo->setText(QString::fromStdString(repeat.caption));
        redo->setEnabled(repeat.enabled);
    }
}

void TrayController::updateTrayMenu()
{
    refreshRepeatItem();
    const TrayMenuKind kind = TrayMenuFor(commands_.appState(), commands_.captureDelayRunning());
    for (QAction* a : commandItems_) a->setVisible(kind == TrayMenuKind::Commands);
    exportedCancel_->setVisible(kind == TrayMenuKind::Cancel);
    tray_->setMenu(exported_);
}

void TrayController::scheduleTrayMenuUpdate()
{
    menuUpdate_.start();
}

void TrayController::ShowMenuAtPointer()
{
    onTrayNotification(static_cast<int>(TrayNotification::RightDown));
}

void TrayController::popUp(QMenu* menu)
{
    // Right-aligned at the pointer, the way a tray menu opens from the corner of the screen.
    const QPoint at = QCursor::pos();
    menu->exec(QPoint(at.x() - menu->sizeHint().width(), at.y()));
}

void TrayController::onTrayNotification(int message)
{
    const bool click = message == static_cast<int>(TrayNotification::LeftDown) ||
                       message == static_cast<int>(TrayNotification::DoubleClick) ||
                       message == static_cast<int>(TrayNotification::RightDown);
    if (click && !TrayClickAccepted(commands_.appState())) return;

    refreshRepeatItem();

    switch (message) {
    case static_cast<int>(TrayNotification::RightDown):
        QApplication::processEvents();
        // A capture waiting for its delay offers only to cancel it.
        if (TrayMenuFor(commands_.appState(), commands_.captureDelayRunning()) ==
            TrayMenuKind::Cancel)
            popUp(cancelMenu_);
        else
            popUp(commandMenu_);
        break;
    case static_cast<int>(TrayNotification::LeftDown):
        commands_.BringNotesToFront();
        break;
    case static_cast<int>(TrayNotification::DoubleClick):
        commands_.run(DoubleClickCommand(commands_.doubleClickSetting(),
                                         commands_.doubleClickSourceSetting()));
        break;
    default:
        break;
    }
}

}  // namespace tovrimo
