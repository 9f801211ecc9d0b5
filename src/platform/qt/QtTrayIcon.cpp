#include "platform/qt/QtTrayIcon.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QMenu>
#include <QStyleHints>
#include <QSystemTrayIcon>

#include "platform/TrayHostWatcher.h"

namespace tovrimo {

namespace {

// Qt picks the kind of tray once, at the first icon: later icons of the process go the same
// way. Remembered here so that the menu goes to Qt only where a host draws it.
int g_exportsMenu = -1;

}  // namespace

QtTrayIcon::QtTrayIcon(TrayHostWatcher* hosts)
    : hosts_(hosts), clicks_(QGuiApplication::styleHints()->mouseDoubleClickInterval())
{
    if (!hosts_) return;
    connect(hosts_, &TrayHostWatcher::appeared, this, [this] {
        // A panel that (re)starts knows nothing of an icon made before it: make it again.
        icon_.reset();
        if (wanted_) materialise();
    });
}

QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::materialise()
{
    if (hosts_ && !hosts_->available()) return;  // made when a notification area appears
    if (!icon_) {
        if (g_exportsMenu < 0) g_exportsMenu = hosts_ && hosts_->hostDrawsMenus() ? 1 : 0;
        exportsMenu_ = g_exportsMenu == 1;
        icon_ = std::make_unique<QSystemTrayIcon>();
        connect(icon_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
        if (exportsMenu_ && menu_) icon_->setContextMenu(menu_);
    }
    icon_->setIcon(picture_);
    icon_->setToolTip(tooltip_);
    icon_->show();
}

void QtTrayIcon::onActivated(int reason)
{
    using A = TrayClickSequence::Activation;
    A activation = A::Other;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        activation = A::Click;
        break;
    case QSystemTrayIcon::DoubleClick:
        activation = A::DoubleClick;
        break;
    case QSystemTrayIcon::Context:
        activation = A::Context;
        break;
    default:
        break;
    }
    const auto click = clicks_.interpret(activation, QDateTime::currentMSecsSinceEpoch());
    if (click) emit clicked(*click);
}

void QtTrayIcon::add(const QIcon& icon, const std::string& tooltip)
{
    wanted_ = true;
    picture_ = icon;
    tooltip_ = QString::fromStdString(CutTooltip(tooltip));
    materialise();
}

void QtTrayIcon::remove()
{
    wanted_ = false;
    if (icon_) icon_->hide();
}

bool QtTrayIcon::isShown() const
{
    return icon_ && icon_->isVisible();
}

std::string QtTrayIcon::tooltip() const
{
    return tooltip_.toStdString();
}

void QtTrayIcon::setTooltip(const std::string& tooltip)
{
    tooltip_ = QString::fromStdString(CutTooltip(tooltip));
    if (icon_) icon_->setToolTip(tooltip_);
}

void QtTrayIcon::setMenu(QMenu* menu)
{
    if (menu_ == menu) return;
    menu_ = menu;
    if (icon_ && exportsMenu_) icon_->setContextMenu(menu);
}

}  // namespace tovrimo
