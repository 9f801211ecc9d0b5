#include "platform/qt/QtTrayIcon.h"

#include <QSystemTrayIcon>

namespace tovrimo {

QtTrayIcon::QtTrayIcon() = default;
QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::add(const QIcon& icon, const std::string& tooltip)
{
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>();
        connect(icon_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (!onNotification) return;
                    switch (reason) {
                    case QSystemTrayIcon::Trigger: onNotification(TrayNotification::LeftDown); break;
                    case QSystemTrayIcon::DoubleClick:
                        onNotification(TrayNotification::DoubleClick);
                        break;
                    case QSystemTrayIcon::Context: onNotification(TrayNotification::RightDown); break;
                    default: onNotification(TrayNotification::Other); break;
                    }
                });
    }
    icon_->setIcon(icon);
    icon_->setToolTip(QString::fromStdString(CutTooltip(tooltip)));
    icon_->show();
}

void QtTrayIcon::remove()
{
    if (icon_) icon_->hide();
}

bool QtTrayIcon::isShown() const
{
    return icon_ && icon_->isVisible();
}

std::string QtTrayIcon::tooltip() const
{
    return icon_ ? icon_->toolTip().toStdString() : std::string();
}

}  // namespace tovrimo
