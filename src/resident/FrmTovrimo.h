#pragma once

#include <QIcon>
#include <QWidget>
#include <memory>
#include <string>

namespace tovrimo {

class TrayIcon;

// The hidden resident window: owns the notification-area icon and the program's commands.
class FrmTovrimo : public QWidget {
    Q_OBJECT
public:
    explicit FrmTovrimo(std::unique_ptr<TrayIcon> tray, QWidget* parent = nullptr);
    ~FrmTovrimo() override;

    // Sets the window's icon from an .ico file, or keeps the built-in one when the path is empty
    // or the file cannot be loaded. Returns whether the built-in icon is in use.
    bool ApplyTrayIconImage(const std::string& iconPath);
    void AddTrayIcon(const std::string& tooltip);
    void RemoveTrayIcon();

    TrayIcon& tray() { return *tray_; }
    static QIcon BuiltInIcon();

signals:
    void exitRequested();

private:
    void onNotification(int message);

    std::unique_ptr<TrayIcon> tray_;
    QIcon icon_;
};

}  // namespace tovrimo
