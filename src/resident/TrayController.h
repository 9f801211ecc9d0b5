#pragma once

#include <QIcon>
#include <QList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

class QAction;
class QMenu;

namespace tovrimo {

class ResidentCommands;
class TrayIcon;

// The hidden resident window: owns the notification-area icon, the command menu and the cancel
// menu, and turns tray notifications into commands.
class TrayController : public QWidget {
    Q_OBJECT
public:
    TrayController(std::unique_ptr<TrayIcon> tray, ResidentCommands& commands,
               QWidget* parent = nullptr);
    ~TrayController() override;

    // Sets the window's icon from an .ico file, or keeps the built-in one when the path is empty
    // or the file cannot be loaded. Returns whether the built-in icon is in use.
    bool ApplyTrayIconImage(const std::string& iconPath);
    void AddTrayIcon(const std::string& tooltip);
    void RemoveTrayIcon();
    QIcon currentIcon() const { return icon_; }

    // The notification handler: message is 513 (left press), 515 (double click), 516 (right
    // press) or anything else.
    void onTrayNotification(int message);
    void refreshRepeatItem();

    // Hands the tray the menu a right click would show now, with a current repeat caption, for
    // hosts that draw the menu themselves. updateTrayMenu() does it at once; the scheduled form
    // waits until the current step is over (a timer tick disables its timer last) and folds
    // many changes into one.
    void updateTrayMenu();
    void scheduleTrayMenuUpdate();
    // What a right click does, for a request that does not come from the icon (another start
    // of the program): the menu of the moment pops up at the pointer.
    void ShowMenuAtPointer();

    TrayIcon& tray() { return *tray_; }
    QMenu* commandMenu() const { return commandMenu_; }
    QMenu* cancelMenu() const { return cancelMenu_; }
    // The menu handed to the tray: the command items or the cancel item, whichever a right
    // click would show, or nothing visible in the busy states.
    QMenu* exportedMenu() const { return exported_; }
    QAction* repeatItem() const { return repeatItem_; }
    static QIcon BuiltInIcon();

private:
    void buildMenus();
    QAction* fillCommandMenu(QMenu* menu1);
    QAction* fillCancelMenu(QMenu* menu2);
    void popUp(QMenu* menu);

    std::unique_ptr<TrayIcon> tray_;
    ResidentCommands& commands_;
    QIcon icon_;
    QMenu* commandMenu_ = nullptr;
    QMenu* cancelMenu_ = nullptr;
    QMenu* exported_ = nullptr;
    QList<QAction*> commandItems_;  // the exported menu's command part
    QAction* exportedCancel_ = nullptr;
    QAction* exportedRepeat_ = nullptr;
    QAction* repeatItem_ = nullptr;
    QTimer menuUpdate_;
};

}  // namespace tovrimo
