#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <memory>

#include "platform/TrayClickSequence.h"
#include "platform/TrayIcon.h"

class QMenu;
class QSystemTrayIcon;

namespace tovrimo {

class TrayHostWatcher;

// QSystemTrayIcon mapped onto the resident window's mouse notifications.
//
// Qt decides once per process, when the first QSystemTrayIcon is made, whether icons go to a
// StatusNotifierItem host or to an XEmbed tray; an icon made while there is no notification
// area at all would never reach a panel that starts later. So the QSystemTrayIcon is made only
// once the watcher reports a host, and remade whenever a host appears anew.
//
// An XEmbed tray passes the clicks on, and the resident window pops its menus up itself; a
// StatusNotifierItem host draws the menu the item exports and never asks for one, so there the
// menu is handed to Qt to export.
class QtTrayIcon : public TrayIcon {
    Q_OBJECT
public:
    // hosts: null takes the notification area as given.
    explicit QtTrayIcon(TrayHostWatcher* hosts);
    ~QtTrayIcon() override;
    void add(const QIcon& icon, const std::string& tooltip) override;
    void remove() override;
    bool isShown() const override;
    std::string tooltip() const override;
    void setTooltip(const std::string& tooltip) override;
    void setMenu(QMenu* menu) override;

private:
    void materialise();
    void onActivated(int reason);

    TrayHostWatcher* hosts_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    bool wanted_ = false;
    bool exportsMenu_ = false;
    QIcon picture_;
    QString tooltip_;
    QPointer<QMenu> menu_;
    TrayClickSequence clicks_;
};

}  // namespace tovrimo
