#include "platform/wayland/PortalHotKeyRegistrar.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <cstdio>

#include "platform/Translated.h"
#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/ShortcutTriggers.h"

namespace tovrimo {

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
constexpr int kSessionTimeoutMs = 10000;

// One entry of BindShortcuts' a(sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

}  // namespace

}  // namespace tovrimo

Q_DECLARE_METATYPE(tovrimo::PortalShortcut)

namespace tovrimo {

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

// What the desktop's shortcut settings show for each slot.
const char* const kSlotDescriptions[] = {
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: デスクトップ全体を印刷"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: アクティブなウィンドウを印刷"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: 領域指定で印刷"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: ファイル指定で印刷"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: デスクトップ全体をコピー"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: アクティブなウィンドウをコピー"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: 領域指定でコピー"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: ファイル指定でコピー"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: オプション設定"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ: クリップボードから付せん作成"),
};

QString SlotDescription(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(std::size(kSlotDescriptions)))
        return QString::fromStdString(ShortcutId(slot));
    return Translated("tovrimo::HotKeys", kSlotDescriptions[slot]);
}

}  // namespace

PortalHotKeyRegistrar::PortalHotKeyRegistrar(QDBusConnection bus) : bus_(std::move(bus))
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    bindTimer_.setSingleShot(true);
    bindTimer_.setInterval(0);
    connect(&bindTimer_, &QTimer::timeout, this, &PortalHotKeyRegistrar::bindAll);
}

bool PortalHotKeyRegistrar::offersGlobalHotKeys() const
{
    // Asked on first use, not at start: a command-line job never needs the answer.
    if (offered_) return *offered_;
    offered_ = PortalOffers(bus_, kInterface);
    if (*offered_) {
        // The slot's argument types are looked up by name, which works only once their types
        // are registered: on a process's first connection it would otherwise fail.
        QMetaType::fromType<QDBusObjectPath>().id();
        const bool listening = bus_.connect(
            QString::fromLatin1(kPortalService), QString::fromLatin1(kPortalPath), kInterface,
            QStringLiteral("Activated"), const_cast<PortalHotKeyRegistrar*>(this),
            SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        if (!listening) {
            std::fprintf(stderr, "tovrimo: cannot listen for the desktop's global shortcuts\n");
            offered_ = false;
        }
    }
    return *offered_;
}

PortalHotKeyRegistrar::~PortalHotKeyRegistrar()
{
    closeSession();
}

bool PortalHotKeyRegistrar::registerHotKey(int slot, QKeyCombination keys)
{
    if (!offersGlobalHotKeys()) return false;
    const auto trigger = ShortcutTrigger(keys);
    if (!trigger) return false;
    for (const auto& [other, otherTrigger] : triggers_) {
        if (other != slot && otherTrigger == *trigger) return false;
    }
    triggers_[slot] = *trigger;
    bindLater();
    return true;
}

void PortalHotKeyRegistrar::unregisterHotKey(int slot)
{
    if (triggers_.erase(slot) > 0) bindLater();
}

void PortalHotKeyRegistrar::bindLater()
{
    // The program claims its slots one after another; the portal hears of them all at once.
    bindTimer_.start();
}

void PortalHotKeyRegistrar::closeSession()
{
    bound_.clear();
    if (!bindRequest_.isEmpty()) {
        bus_.disconnect(QString::fromLatin1(kPortalService), bindRequest_,
                        QStringLiteral("org.freedesktop.portal.Request"),
                        QStringLiteral("Response"), this, SLOT(onBound(uint, QVariantMap)));
        bindRequest_.clear();
    }
    if (session_.isEmpty()) return;
    bus_.call(QDBusMessage::createMethodCall(QString::fromLatin1(kPortalService), session_,
                                             QStringLiteral("org.freedesktop.portal.Session"),
                                             QStringLiteral("Close")),
              QDBus::NoBlock);
    session_.clear();
}

void PortalHotKeyRegistrar::bindAll()
{
    // A session binds its shortcuts once, so a change starts a new one.
    closeSession();
    if (triggers_.empty()) return;
    static int sessions = 0;
    const PortalAnswer created = CallPortalRequest(
        bus_, kInterface, QStringLiteral("CreateSession"), {},
        {{QStringLiteral("session_handle_token"), QStringLiteral("tovrimo%1").arg(++sessions)}},
        kSessionTimeoutMs);
    if (created.outcome != PortalAnswer::Outcome::Granted) {
        std::fprintf(stderr, "tovrimo: the desktop opened no global-shortcuts session%s%s\n",
                     created.error.isEmpty() ? "" : ": ", qPrintable(created.error));
        return;
    }
    const QVariant handle = created.results.value(QStringLiteral("session_handle"));
    session_ = handle.canConvert<QDBusObjectPath>() && handle.userType() != QMetaType::QString
                   ? handle.value<QDBusObjectPath>().path()
                   : handle.toString();
    if (session_.isEmpty()) return;

    QList<PortalShortcut> shortcuts;
    for (const auto& [slot, trigger] : triggers_) {
        shortcuts.append(
            {QString::fromStdString(ShortcutId(slot)),
             {{QStringLiteral("description"), SlotDescription(slot)},
              {QStringLiteral("preferred_trigger"), QString::fromStdString(trigger)}}});
    }
    QDBusMessage bind = QDBusMessage::createMethodCall(QString::fromLatin1(kPortalService),
                                                       QString::fromLatin1(kPortalPath), kInterface,
                                                       QStringLiteral("BindShortcuts"));
    static int binds = 0;
    const QString token = QStringLiteral("tovrimobind%1").arg(++binds);
    const QVariantMap options{{QStringLiteral("handle_token"), token}};
    // The answer names the shortcuts the desktop really bound; listen before asking.
    bindRequest_ = PortalRequestPath(bus_.baseService(), token);
    bus_.connect(QString::fromLatin1(kPortalService), bindRequest_,
                 QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"), this,
                 SLOT(onBound(uint, QVariantMap)));
    bind << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts)
         << QString() << options;
    // The desktop may ask the user about the keys in a dialog of its own; nobody waits for it.
    bus_.call(bind, QDBus::NoBlock);
}

void PortalHotKeyRegistrar::onBound(uint response, const QVariantMap& results)
{
    bound_.clear();
    if (response != 0) {
        std::fprintf(stderr, "tovrimo: the desktop bound none of the hot keys\n");
        return;
    }
    const QVariant listed = results.value(QStringLiteral("shortcuts"));
    QList<PortalShortcut> shortcuts;
    if (listed.canConvert<QDBusArgument>())
        listed.value<QDBusArgument>() >> shortcuts;
    else
        shortcuts = listed.value<QList<PortalShortcut>>();
    for (const PortalShortcut& shortcut : shortcuts) {
        const auto slot = SlotOfShortcutId(shortcut.id.toStdString());
        if (slot && triggers_.count(*slot)) bound_.insert(*slot);
    }
    if (bound_.empty()) std::fprintf(stderr, "tovrimo: the desktop bound none of the hot keys\n");
}

void PortalHotKeyRegistrar::onActivated(const QDBusObjectPath& session, const QString& shortcutId,
                                        qulonglong, const QVariantMap&)
{
    if (session.path() != session_) return;
    const auto slot = SlotOfShortcutId(shortcutId.toStdString());
    if (!slot || triggers_.count(*slot) == 0) return;
    emit pressed(*slot);
}

}  // namespace tovrimo
