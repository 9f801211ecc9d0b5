#include "platform/dbus/StatusNotifierWatch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace tovrimo {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kWatcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");

}  // namespace

StatusNotifierWatch::StatusNotifierWatch()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    connected_ = bus.isConnected();
    if (!connected_) return;
    services_ = new QDBusServiceWatcher(kWatcherService, bus,
                                        QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(services_, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] { refresh(); });
    bus.connect(kWatcherService, kWatcherPath, kWatcherInterface,
                QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(onHostRegistered()));
    bus.connect(kWatcherService, kWatcherPath, kWatcherInterface,
                QStringLiteral("StatusNotifierHostUnregistered"), this, SLOT(onHostUnregistered()));
    hostRegistered_ = queryHostRegistered();
}

StatusNotifierWatch::~StatusNotifierWatch() = default;

bool StatusNotifierWatch::queryHostRegistered() const
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.interface()->isServiceRegistered(kWatcherService)) return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherService, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcherInterface << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

void StatusNotifierWatch::refresh()
{
    const bool registered = queryHostRegistered();
    if (registered == hostRegistered_) return;
    hostRegistered_ = registered;
    emit hostChanged();
}

void StatusNotifierWatch::onHostRegistered()
{
    refresh();
}

void StatusNotifierWatch::onHostUnregistered()
{
    refresh();
}

}  // namespace tovrimo
