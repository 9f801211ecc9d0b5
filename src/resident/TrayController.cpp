#include "resident/TrayController.h"

#include <QApplication>
#include <QCursor>
#include <QImageReader>
#include <QMenu>

#include "platform/TrayIcon.h"
#include "platform/WindowStacking.h"
#include "platform/qt/ProgramIcon.h"
#include "resident/CountdownTexts.h"
#include "resident/CountdownWindow.h"
#include "resident/TrayCommands.h"
#include "resident/TrayStatus.h"

namespace tovrimo {

TrayController::TrayController(std::unique_ptr<TrayIcon> tray, const TrayStatus& status,
                               QWidget* parent)
    : QWidget(parent), tray_(std::move(tray)), status_(status), icon_(builtInIcon())
{
    setObjectName(QStringLiteral("trayController"));
    setWindowTitle(tr("トヴリモ"));
    buildMenus();
    menuUpdate_.setSingleShot(true);
    menuUpdate_.setInterval(0);
    connect(&menuUpdate_, &QTimer::timeout, this, &TrayController::updateTrayMenu);
    connect(tray_.get(), &TrayIcon::clicked, this, &TrayController::onTrayClick);
}

TrayController::~TrayController()
{
    removeTrayIcon();
}

QIcon TrayController::builtInIcon()
{
    return ProgramIcon();
}

QAction* TrayController::fillCommandMenu(QMenu* menu)
{
    auto item = [this](QMenu* into, const char* name, const char* caption, auto handler) {
        QAction* a = into->addAction(tr(caption));
        a->setObjectName(QString::fromUtf8(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto command = [this](Command c) { return [this, c] { emit commandChosen(c); }; };
    auto print = [&command](CaptureSource from) {
        return command(CaptureRequest{from, CaptureDestination::Printer});
    };
    auto copy = [&command](CaptureSource from) {
        return command(CaptureRequest{from, CaptureDestination::Clipboard});
    };
    auto separator = [](QMenu* into, const char* name) {
        into->addSeparator()->setObjectName(QString::fromUtf8(name));
    };

    QMenu* printMenu = menu->addMenu(tr("ハードコピー"));
    printMenu->menuAction()->setObjectName(QStringLiteral("printMenu"));
    item(printMenu, "printDesktop", QT_TR_NOOP("デスクトップ画面全体"),
         print(CaptureSource::Desktop));
    item(printMenu, "printActiveWindow", QT_TR_NOOP("アクティブなウィンドウ"),
         print(CaptureSource::ActiveWindow));
    item(printMenu, "printRegion", QT_TR_NOOP("領域指定"), print(CaptureSource::Region));
    separator(printMenu, "printFromSourcesSeparator");
    item(printMenu, "printClipboard", QT_TR_NOOP("クリップボードから"),
         print(CaptureSource::Clipboard));
    item(printMenu, "printFile", QT_TR_NOOP("画像ファイルを指定"), print(CaptureSource::ImageFile));

    QMenu* copyMenu = menu->addMenu(tr("コピー"));
    copyMenu->menuAction()->setObjectName(QStringLiteral("copyMenu"));
    item(copyMenu, "copyDesktop", QT_TR_NOOP("デスクトップ画面全体"), copy(CaptureSource::Desktop));
    item(copyMenu, "copyActiveWindow", QT_TR_NOOP("アクティブなウィンドウ"),
         copy(CaptureSource::ActiveWindow));
    item(copyMenu, "copyRegion", QT_TR_NOOP("領域指定"), copy(CaptureSource::Region));
    separator(copyMenu, "copyFromSourcesSeparator");
    item(copyMenu, "copyFile", QT_TR_NOOP("画像ファイルを指定"), copy(CaptureSource::ImageFile));

    QMenu* notesMenu = menu->addMenu(tr("付せん操作"));
    notesMenu->menuAction()->setObjectName(QStringLiteral("notesMenu"));
    item(notesMenu, "removeAllNotes", QT_TR_NOOP("全ての付せんをはがす"),
         command(ProgramAction::RemoveAllNotes));
    item(menu, "noteFromClipboard", QT_TR_NOOP("クリップボードから付せんを作成"),
         command(CaptureRequest{CaptureSource::Clipboard, CaptureDestination::StickyNote}));
    separator(menu, "repeatSeparator");
    QAction* repeat = item(menu, "repeatItem", QT_TR_NOOP("繰り返し"), [this] {
        if (const auto last = status_.lastCapture()) emit commandChosen(*last);
    });
    separator(menu, "optionsSeparator");
    item(menu, "options", QT_TR_NOOP("オプション"), command(ProgramAction::OpenOptions));
    separator(menu, "helpSeparator");
    item(menu, "help", QT_TR_NOOP("ヘルプ"), command(ProgramAction::OpenHelp));
    item(menu, "about", QT_TR_NOOP("トヴリモについて..."), command(ProgramAction::OpenAbout));
    separator(menu, "quitSeparator");
    item(menu, "quit", QT_TR_NOOP("トヴリモの終了"), command(ProgramAction::Quit));
    separator(menu, "closeMenuSeparator");
    item(menu, "closeMenu", QT_TR_NOOP("メニューを閉じる"), [] {});
    return repeat;
}

QAction* TrayController::fillCancelMenu(QMenu* menu)
{
    QAction* cancel = menu->addAction(tr("キャンセル"));
    cancel->setObjectName(QStringLiteral("cancelCapture"));
    connect(cancel, &QAction::triggered, this, &TrayController::cancelChosen);
    return cancel;
}

void TrayController::buildMenus()
{
    commandMenu_ = new QMenu(tr("メニュー"), this);
    commandMenu_->setObjectName(QStringLiteral("commandMenu"));
    repeatItem_ = fillCommandMenu(commandMenu_);

    cancelMenu_ = new QMenu(tr("メニュー２"), this);
    cancelMenu_->setObjectName(QStringLiteral("cancelMenu"));
    fillCancelMenu(cancelMenu_);

    // The menu handed to a host that draws it: both menus in one, of which only the part a
    // right click would show is visible. It is one menu for the life of the icon, because Qt
    // 6.4 crashes when an exported menu is exchanged for another.
    exported_ = new QMenu(this);
    exported_->setObjectName(QStringLiteral("exportedMenu"));
    exportedRepeat_ = fillCommandMenu(exported_);
    commandItems_ = exported_->actions();
    exportedCancel_ = fillCancelMenu(exported_);

    // A host that draws the exported menu shows it without telling us first.
    connect(commandMenu_, &QMenu::aboutToShow, this, &TrayController::refreshRepeatItem);
    connect(exported_, &QMenu::aboutToShow, this, &TrayController::refreshRepeatItem);

    refreshRepeatItem();
}

bool TrayController::applyTrayIconImage(const std::string& iconPath)
{
    icon_ = builtInIcon();
    if (iconPath.empty()) return true;
    QImageReader reader(QString::fromStdString(iconPath));
    const QImage image = reader.read();
    if (image.isNull()) return true;  // silently keep the built-in picture
    icon_ = QIcon(QPixmap::fromImage(image));
    setWindowIcon(icon_);
    return false;
}

void TrayController::addTrayIcon(const std::string& tooltip)
{
    // The icon comes back with the tooltip it is given, which a countdown still running then
    // gives back at its end.
    if (countingDown_) tooltipBeforeCountdown_ = tooltip;
    tray_->add(icon_, countingDown_ ? texts::CountdownTooltip(countdown_->seconds()) : tooltip);
}

void TrayController::showCountdown(int secondsLeft)
{
    if (!countdown_) countdown_ = std::make_unique<CountdownWindow>();
    if (!countingDown_) tooltipBeforeCountdown_ = tray_->tooltip();
    countingDown_ = true;
    countdown_->showSeconds(secondsLeft);
    tray_->setTooltip(texts::CountdownTooltip(secondsLeft));
}

void TrayController::endCountdown()
{
    if (countdown_) countdown_->hide();
    if (!countingDown_) return;
    countingDown_ = false;
    tray_->setTooltip(tooltipBeforeCountdown_);
}

void TrayController::removeTrayIcon()
{
    tray_->remove();
}

void TrayController::refreshRepeatItem()
{
    const RepeatItem repeat = RepeatCaption(status_.lastCapture());
    for (QAction* redo : {repeatItem_, exportedRepeat_}) {
        if (!redo) continue;
        redo->setText(QString::fromStdString(repeat.caption));
        redo->setEnabled(repeat.enabled);
    }
}

void TrayController::updateTrayMenu()
{
    refreshRepeatItem();
    const TrayMenuKind kind = TrayMenuFor(status_.appState(), status_.captureDelayRunning());
    for (QAction* a : commandItems_) a->setVisible(kind == TrayMenuKind::Commands);
    exportedCancel_->setVisible(kind == TrayMenuKind::Cancel);
    tray_->setMenu(exported_);
}

void TrayController::scheduleTrayMenuUpdate()
{
    menuUpdate_.start();
}

void TrayController::showMenuAtPointer()
{
    onTrayClick(TrayClick::Right);
}

void TrayController::popUp(QMenu* menu)
{
    // Right-aligned at the pointer, the way a tray menu opens from the corner of the screen.
    const QPoint at = QCursor::pos();
    if (!MenusCanOpenAnywhere()) {
        // The menu becomes a window of its own: at its own size the compositor floats it in
        // the middle of the screen, where it would otherwise tile it across the whole screen.
        menu->setFixedSize(menu->sizeHint());
        menu->setWindowTitle(tr("トヴリモ"));
    }
    menu->exec(QPoint(at.x() - menu->sizeHint().width(), at.y()));
}

void TrayController::onTrayClick(TrayClick click)
{
    if (!TrayClickAccepted(status_.appState())) return;

    refreshRepeatItem();

    switch (click) {
    case TrayClick::Right:
        QApplication::processEvents();
        // A capture waiting for its delay offers only to cancel it.
        if (TrayMenuFor(status_.appState(), status_.captureDelayRunning()) == TrayMenuKind::Cancel)
            popUp(cancelMenu_);
        else
            popUp(commandMenu_);
        break;
    case TrayClick::Left:
        emit commandChosen(ProgramAction::BringNotesToFront);
        break;
    case TrayClick::Double:
        if (const auto request =
                DoubleClickRequest(status_.doubleClickDestination(), status_.doubleClickSource(),
                                   status_.lastCapture()))
            emit commandChosen(*request);
        break;
    }
}

}  // namespace tovrimo
