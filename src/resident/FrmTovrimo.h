#pragma once

#include <QIcon>
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
class FrmTovrimo : public QWidget {
    Q_OBJECT
public:
    FrmTovrimo(std::unique_ptr<TrayIcon> tray, ResidentCommands& commands,
               QWidget* parent = nullptr);
    ~FrmTovrimo() override;

    // Sets the window's icon from an .ico file, or keeps the built-in one when the path is empty
    // or the file cannot be loaded. Returns whether the built-in icon is in use.
    bool ApplyTrayIconImage(const std::string& iconPath);
    void AddTrayIcon(const std::string& tooltip);
    void RemoveTrayIcon();
    QIcon currentIcon() const { return icon_; }

    // The notification handler: message is 513 (left press), 515 (double click), 516 (right
    // press) or anything else.
    void Form_MouseMove(int message);
    void refreshRepeatItem();

    TrayIcon& tray() { return *tray_; }
    QMenu* Pop_Menu1() const { return menu1_; }
    QMenu* Pop_Menu2() const { return menu2_; }
    QAction* Pop_Redo() const { return redo_; }
    static QIcon BuiltInIcon();

private:
    void buildMenus();
    void popUp(QMenu* menu);

    std::unique_ptr<TrayIcon> tray_;
    ResidentCommands& commands_;
    QIcon icon_;
    QMenu* menu1_ = nullptr;
    QMenu* menu2_ = nullptr;
    QAction* redo_ = nullptr;
};

}  // namespace tovrimo
