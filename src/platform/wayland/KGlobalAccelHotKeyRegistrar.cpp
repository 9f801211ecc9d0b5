#include "platform/wayland/KGlobalAccelHotKeyRegistrar.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QList>
#include <cstdio>

#include "platform/KeySyms.h"
#include "platform/Translated.h"
#include "platform/wayland/ShortcutTriggers.h"

namespace tovrimo {

namespace {

const QString kService = QStringLiteral("org.kde.kglobalaccel");
const QString kPath = QStringLiteral("/kglobalaccel");
const QString kInterface = QStringLiteral("org.kde.KGlobalAccel");
const QString kComponentInterface = QStringLiteral("org.kde.kglobalaccel.Component");
const QString kComponent = QStringLiteral("tovrimo");
// The desktop shows these names in its shortcut settings, in the user's language.
constexpr const char* kNamesContext = "tovrimo::HotKeys";
constexpr const char* kComponentName = QT_TRANSLATE_NOOP("tovrimo::HotKeys", "トヴリモ");
constexpr int kCallTimeoutMs = 5000;

// setShortcut's flags: the action is there now, and takes the keys given rather than the
// ones the service stored for it.
constexpr uint kSetPresent = 2;
constexpr uint kNoAutoloading = 4;

// What System Settings shows for each slot.
const char* const kActionNames[] = {
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "デスクトップ全体を印刷"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "アクティブなウィンドウを印刷"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "領域指定で印刷"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "ファイル指定で印刷"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "デスクトップ全体をコピー"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "アクティブなウィンドウをコピー"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "領域指定でコピー"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "ファイル指定でコピー"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "オプション設定"),
    QT_TRANSLATE_NOOP("tovrimo::HotKeys", "クリップボードから付せん作成"),
};

QDBusMessage Call(const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments(arguments);
    return call;
}

}  // namespace

std::optional<int> QtKeyCode(QKeyCombination keys)
{
    // Only the keys the other desktops can bind too, so that a hot key works the same on each.
    if (!KeysymForKey(keys.key())) return std::nullopt;
    const Qt::KeyboardModifiers kept =
        keys.keyboardModifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier);
    return QKeyCombination(kept, keys.key()).toCombined();
}

KGlobalAccelHotKeyRegistrar::KGlobalAccelHotKeyRegistrar(QDBusConnection bus) : bus_(std::move(bus))
{
}

KGlobalAccelHotKeyRegistrar::~KGlobalAccelHotKeyRegistrar()
{
    for (int slot = 0; slot < static_cast<int>(bound_.size()); ++slot) unregisterHotKey(slot);
}

bool KGlobalAccelHotKeyRegistrar::Offered(const QDBusConnection& bus)
{
    if (!bus.isConnected()) return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << kService;
    const QDBusMessage reply = bus.call(ask, QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

bool KGlobalAccelHotKeyRegistrar::offersGlobalHotKeys() const
{
    if (!offered_) offered_ = Offered(bus_);
    return *offered_;
}

QStringList KGlobalAccelHotKeyRegistrar::actionId(int slot) const
{
    // The service's action id: component, action, and the names the settings show for them.
    return {kComponent, QString::fromStdString(ShortcutId(slot)),
            Translated(kNamesContext, kComponentName),
            Translated(kNamesContext, kActionNames[slot])};
}

bool KGlobalAccelHotKeyRegistrar::listen()
{
    if (listening_) return true;
    // The component's object exists once one of its actions is registered.
    const QDBusMessage reply =
        bus_.call(Call(QStringLiteral("getComponent"), {kComponent}), QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    const QString path = reply.arguments().constFirst().value<QDBusObjectPath>().path();
    if (path.isEmpty()) return false;
    listening_ =
        bus_.connect(kService, path, kComponentInterface, QStringLiteral("globalShortcutPressed"),
                     this, SLOT(onShortcutPressed(QString, QString, qlonglong)));
    return listening_;
}

bool KGlobalAccelHotKeyRegistrar::registerHotKey(int slot, QKeyCombination keys)
{
    if (slot < 0 || slot >= static_cast<int>(bound_.size())) return false;
    const auto key = QtKeyCode(keys);
    if (!key || !offersGlobalHotKeys()) return false;
    if (bound_[slot]) unregisterHotKey(slot);
    const QStringList id = actionId(slot);
    const QDBusMessage registered =
        bus_.call(Call(QStringLiteral("doRegister"), {id}), QDBus::Block, kCallTimeoutMs);
    if (registered.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "tovrimo: KDE's shortcut service refused the hot key: %s\n",
                     qPrintable(registered.errorMessage()));
        return false;
    }
    const QDBusMessage set =
        bus_.call(Call(QStringLiteral("setShortcut"),
                       {id, QVariant::fromValue(QList<int>{*key}), kSetPresent | kNoAutoloading}),
                  QDBus::Block, kCallTimeoutMs);
    if (set.type() != QDBusMessage::ReplyMessage || set.arguments().isEmpty()) return false;
    // The keys the service gave the action: none when another action holds the combination.
    const QList<int> given = qdbus_cast<QList<int>>(set.arguments().constFirst());
    if (!given.contains(*key)) {
        release(slot);
        return false;
    }
    if (!listen()) {
        std::fprintf(stderr, "tovrimo: cannot listen for KDE's global shortcuts\n");
        return false;
    }
    bound_[slot] = true;
    return true;
}

void KGlobalAccelHotKeyRegistrar::unregisterHotKey(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(bound_.size()) || !bound_[slot]) return;
    release(slot);
}

void KGlobalAccelHotKeyRegistrar::release(int slot)
{
    const QStringList id = actionId(slot);
    // The key goes first, so that it is free at once, then the action itself.
    bus_.call(Call(QStringLiteral("setShortcut"),
                   {id, QVariant::fromValue(QList<int>{}), kSetPresent | kNoAutoloading}),
              QDBus::Block, kCallTimeoutMs);
    bus_.call(Call(QStringLiteral("unregister"), {kComponent, id.at(1)}), QDBus::Block,
              kCallTimeoutMs);
    bound_[slot] = false;
}

void KGlobalAccelHotKeyRegistrar::onShortcutPressed(const QString& component, const QString& action,
                                                    qlonglong)
{
    if (component != kComponent) return;
    const auto slot = SlotOfShortcutId(action.toStdString());
    if (!slot || !bound_[*slot]) return;
    emit pressed(*slot);
}

}  // namespace tovrimo
