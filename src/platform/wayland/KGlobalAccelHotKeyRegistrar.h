#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "platform/HotKeyRegistrar.h"

namespace tovrimo {

// The Qt key code (modifiers included, as Qt::CTRL | Qt::Key_P combine) of a hot-key
// combination, as KDE's shortcut service stores keys; nothing for a key this program does not
// offer. Modifiers other than Alt, Control and Shift are left out.
std::optional<int> QtKeyCode(QKeyCombination keys);

// Global hot keys through KDE's shortcut service (org.kde.kglobalaccel, served by KWin on
// Plasma's Wayland session): the component "tovrimo" with one action per slot, each with the
// options' combination as its key, so that they also show in System Settings → Shortcuts. The
// service binds a key at once and says so; a key another program holds stays unbound.
class KGlobalAccelHotKeyRegistrar : public HotKeyRegistrar {
    Q_OBJECT
public:
    explicit KGlobalAccelHotKeyRegistrar(QDBusConnection bus = QDBusConnection::sessionBus());
    ~KGlobalAccelHotKeyRegistrar() override;

    bool registerHotKey(int slot, QKeyCombination keys) override;
    void unregisterHotKey(int slot) override;
    bool offersGlobalHotKeys() const override;

    // Whether KDE's shortcut service is on the bus.
    static bool Offered(const QDBusConnection& bus);

private slots:
    void onShortcutPressed(const QString& component, const QString& action, qlonglong timestamp);

private:
    QStringList actionId(int slot) const;
    bool listen();
    void release(int slot);

    mutable QDBusConnection bus_;
    mutable std::optional<bool> offered_;
    bool listening_ = false;
    std::array<bool, 10> bound_{};
};

}  // namespace tovrimo
