#pragma once

#include <QObject>
#include <memory>

#include "platform/TrayIcon.h"

class QSystemTrayIcon;

namespace tovrimo {

// QSystemTrayIcon mapped onto the resident window's mouse notifications: a trigger is the left
// press, a double click arrives after its trigger, the context request is the right press.
// Menus are popped up by the resident window itself, never through setContextMenu.
class QtTrayIcon : public QObject, public TrayIcon {
    Q_OBJECT
public:
    QtTrayIcon();
    ~QtTrayIcon() override;
    void add(const QIcon& icon, const std::string& tooltip) override;
    void remove() override;
    bool isShown() const override;
    std::string tooltip() const override;

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace tovrimo
