#include "app/DesktopTrayHosts.h"

#include "platform/dbus/StatusNotifierWatch.h"
#include "platform/x11/X11TraySelectionWatch.h"

namespace tovrimo {

DesktopTrayHosts::DesktopTrayHosts(bool withXEmbed) : sni_(std::make_unique<StatusNotifierWatch>())
{
    if (withXEmbed) {
        xembed_ = std::make_unique<X11TraySelectionWatch>();
        connect(xembed_.get(), &X11TraySelectionWatch::ownerChanged, this,
                &DesktopTrayHosts::onSelectionOwnerChanged);
    }
    grace_.setSingleShot(true);
    grace_.setInterval(kStatusNotifierGraceMs);
    connect(&grace_, &QTimer::timeout, this, [this] {
        if (available()) emit appeared();
    });
    connect(sni_.get(), &StatusNotifierWatch::hostChanged, this,
            &DesktopTrayHosts::onStatusNotifierHostChanged);
}

DesktopTrayHosts::~DesktopTrayHosts() = default;

bool DesktopTrayHosts::available() const
{
    return sni_->hostRegistered() || (xembed_ && xembed_->owner() != 0 && !grace_.isActive());
}

bool DesktopTrayHosts::hostDrawsMenus() const
{
    return sni_->hostRegistered();
}

void DesktopTrayHosts::onSelectionOwnerChanged()
{
    if (!xembed_ || xembed_->owner() == 0 || sni_->hostRegistered()) return;
    if (sni_->busConnected()) {
        grace_.start();
        return;
    }
    emit appeared();
}

void DesktopTrayHosts::onStatusNotifierHostChanged()
{
    if (!sni_->hostRegistered()) return;
    grace_.stop();
    emit appeared();
}

}  // namespace tovrimo
