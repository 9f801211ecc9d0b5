#pragma once

#include <QIcon>
#include <QList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "core/CaptureRequest.h"

class QAction;
class QMenu;

namespace tovrimo {

class CountdownWindow;
class TrayIcon;
class TrayStatus;
enum class TrayClick;

// The hidden resident window: owns the notification-area icon, the command menu and the cancel
// menu, and turns clicks on the icon and menu items into commands, which it signals.
class TrayController : public QWidget {
    Q_OBJECT
public:
    TrayController(std::unique_ptr<TrayIcon> tray, const TrayStatus& status,
                   QWidget* parent = nullptr);
    ~TrayController() override;

    // Sets the window's icon from an .ico file, or keeps the built-in one when the path is empty
    // or the file cannot be loaded. Returns whether the built-in icon is in use.
    bool applyTrayIconImage(const std::string& iconPath);
    void addTrayIcon(const std::string& tooltip);
    void removeTrayIcon();
    QIcon currentIcon() const { return icon_; }

    // The seconds left before a self-timed capture, in the tooltip and in a counter on the
    // screen; the end takes the counter away and gives the icon its tooltip back.
    void showCountdown(int secondsLeft);
    void endCountdown();
    // The counter, once a countdown has made it.
    CountdownWindow* countdownWindow() const { return countdown_.get(); }

    // What a click on the icon does: a left press raises the notes, a double click runs the
    // chosen command, a right press pops up the menu of the moment. Dropped in busy states.
    void onTrayClick(TrayClick click);
    void refreshRepeatItem();

    // Hands the tray the menu a right click would show now, with a current repeat caption, for
    // hosts that draw the menu themselves. updateTrayMenu() does it at once; the scheduled form
    // waits until the current step is over (a timer tick disables its timer last) and folds
    // many changes into one.
    void updateTrayMenu();
    void scheduleTrayMenuUpdate();
    // What a right click does, for a request that does not come from the icon (another start
    // of the program): the menu of the moment pops up at the pointer.
    void showMenuAtPointer();

    TrayIcon& tray() { return *tray_; }
    QMenu* commandMenu() const { return commandMenu_; }
    QMenu* cancelMenu() const { return cancelMenu_; }
    // The menu handed to the tray: the command items or the cancel item, whichever a right
    // click would show, or nothing visible in the busy states.
    QMenu* exportedMenu() const { return exported_; }
    QAction* repeatItem() const { return repeatItem_; }
    static QIcon builtInIcon();

signals:
    // A menu item or a click on the icon asks for a command.
    void commandChosen(const tovrimo::Command& command);
    // The cancel item: the capture waiting for its delay is called off.
    void cancelChosen();

private:
    void buildMenus();
    QAction* fillCommandMenu(QMenu* menu);
    QAction* fillCancelMenu(QMenu* menu);
    void popUp(QMenu* menu);

    std::unique_ptr<TrayIcon> tray_;
    const TrayStatus& status_;
    QIcon icon_;
    QMenu* commandMenu_ = nullptr;
    QMenu* cancelMenu_ = nullptr;
    QMenu* exported_ = nullptr;
    QList<QAction*> commandItems_;  // the exported menu's command part
    QAction* exportedCancel_ = nullptr;
    QAction* exportedRepeat_ = nullptr;
    QAction* repeatItem_ = nullptr;
    QTimer menuUpdate_;
    // A window of its own, with no parent a compositor would have to place it by.
    std::unique_ptr<CountdownWindow> countdown_;
    bool countingDown_ = false;
    std::string tooltipBeforeCountdown_;
};

}  // namespace tovrimo
