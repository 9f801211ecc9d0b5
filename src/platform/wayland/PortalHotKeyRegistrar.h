#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/HotKeyRegistrar.h"

namespace tovrimo {

// Global hot keys through the desktop portal's GlobalShortcuts service (KDE Plasma, GNOME 48
// and later). The slots are bound together in one portal session, each with the options'
// combination as its preferred trigger; the desktop may let the user change or refuse it.
// Where the session has no such service, nothing can be claimed.
class PortalHotKeyRegistrar : public HotKeyRegistrar {
    Q_OBJECT
public:
    explicit PortalHotKeyRegistrar(QDBusConnection bus = QDBusConnection::sessionBus());
    ~PortalHotKeyRegistrar() override;

    // True when the combination is valid and unique among the slots and the portal is there.
    // The portal learns of the change a moment later, together with the other slots' changes.
    bool registerHotKey(int slot, QKeyCombination keys) override;
    void unregisterHotKey(int slot) override;
    bool offersGlobalHotKeys() const override;
    // Bound when the desktop's answer to the binding named the slot's shortcut.
    bool isBound(int slot) const override { return bound_.count(slot) > 0; }

    // The portal session the slots are bound in; empty when none is open.
    QString sessionHandle() const { return session_; }

private slots:
    void onActivated(const QDBusObjectPath& session, const QString& shortcutId,
                     qulonglong timestamp, const QVariantMap& options);
    void onBound(uint response, const QVariantMap& results);

private:
    void bindLater();
    void bindAll();
    void closeSession();

    mutable QDBusConnection bus_;
    mutable std::optional<bool> offered_;
    std::map<int, std::string> triggers_;  // slot → preferred trigger
    std::set<int> bound_;                  // the slots the desktop's answer named
    QString bindRequest_;                  // the binding whose answer is awaited
    QString session_;
    QTimer bindTimer_;
};

}  // namespace tovrimo
