#include "platform/wayland/PortalScreenGrabber.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/CoreTexts.h"
#include "platform/DesktopKind.h"
#include "platform/MessageBoxes.h"
#include "platform/Translated.h"
#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/WaylandTexts.h"

namespace tovrimo {

PortalScreenGrabber::PortalScreenGrabber(MessageBoxes& messages, QDBusConnection bus)
    : messages_(messages),
      bus_(std::move(bus)),
      asksForPermission_(CurrentDesktop() == DesktopKind::Gnome)
{
}

PixelRect PortalScreenGrabber::primaryScreenRect()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return {};
    const QRect logical = primary->geometry();
    const qreal ratio = primary->devicePixelRatio();
    const auto device = [ratio](int value) { return static_cast<int>(std::lround(value * ratio)); };
    return {device(logical.left()), device(logical.top()), device(logical.right() + 1),
            device(logical.bottom() + 1)};
}

QImage PortalScreenGrabber::grab(const PixelRect& rect)
{
    const bool interactive = interactiveNext_;
    interactiveNext_ = false;
    if (!interactive && (rect.width() <= 0 || rect.height() <= 0)) return QImage();
    const QImage shot = takeScreenshot(interactive);
    if (shot.isNull() || interactive) return shot;
    // The portal's picture covers the whole layout.
    return CutFromLayout(shot, rect);
}

std::optional<bool> PortalScreenGrabber::StoredPermission(const QDBusConnection& bus)
{
    if (!bus.isConnected()) return std::nullopt;
    QDBusMessage lookup = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.impl.portal.PermissionStore"),
        QStringLiteral("/org/freedesktop/impl/portal/PermissionStore"),
        QStringLiteral("org.freedesktop.impl.portal.PermissionStore"), QStringLiteral("Lookup"));
    lookup << QStringLiteral("screenshot") << QStringLiteral("screenshot");
    const QDBusMessage reply = bus.call(lookup, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;  // no store, or no entry yet (NotFound)
    // a{sas}: application id → its answers; programs outside a sandbox have the id "".
    QMap<QString, QStringList> permissions;
    reply.arguments().constFirst().value<QDBusArgument>() >> permissions;
    const auto found = permissions.constFind(QString());
    if (found == permissions.constEnd() || found->isEmpty()) return std::nullopt;
    if (found->constFirst() == QLatin1String("yes")) return true;
    if (found->constFirst() == QLatin1String("no")) return false;
    return std::nullopt;  // "ask"
}

QImage PortalScreenGrabber::takeScreenshot(bool interactive)
{
    // Only a request without the portal's own dialog needs the stored permission.
    std::optional<bool> stored;
    if (asksForPermission_ && !interactive) {
        stored = StoredPermission(bus_);
        if (!stored) {
            std::fprintf(stderr, "tovrimo: %s\n", texts::kScreenshotPermissionAsked);
            std::fflush(stderr);
            // Closed before the desktop asks, so it is never in the picture.
            messages_.show(texts::kAppCaption, texts::kScreenshotPermissionAsked, MsgButtons::Ok,
                           MsgIcon::Information);
        }
    }
    const bool unasked = asksForPermission_ && !interactive && !stored;
    // The portal asks its question with D-Bus's default timeout (25 s). When that passes
    // unanswered it gives up without a word and keeps the request: it will never answer, so
    // the wait ends a moment after the portal has given up.
    constexpr int kQuestionTimeoutMs = 25000 + 2000;
    const int timeoutMs = unasked ? std::min(timeoutMs_, kQuestionTimeoutMs) : timeoutMs_;
    PortalAnswer answer = CallPortalRequest(
        bus_, QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"),
        {QString()}, {{QStringLiteral("interactive"), interactive}}, timeoutMs);
    using Outcome = PortalAnswer::Outcome;
    if (unasked && answer.outcome == Outcome::NoAnswer) answer.outcome = Outcome::Abandoned;
    const bool storedRefusal = stored.has_value() && !*stored;
    // A stored "no" makes the portal fail the request without asking anybody. Where the desktop
    // put a question or its own dialog before the user, an end "in some other way" (GNOME 48's
    // portal, for a dismissed dialog or a question left unanswered) is no permission either.
    const bool userAsked = interactive || unasked;
    if (answer.outcome == Outcome::Cancelled ||
        ((storedRefusal || userAsked) && answer.outcome == Outcome::Failed) ||
        (unasked && answer.outcome == Outcome::Abandoned)) {
        const char* text = storedRefusal ? texts::kScreenshotPermissionRefused
                           : unasked     ? texts::kScreenshotPermissionNotGiven
                                         : texts::kScreenshotRefused;
        std::string told = TranslatedUtf8(kMessageBoxContext, text);
        if (!refusalNote_.empty()) told += "\n\n" + refusalNote_;
        refusalNote_.clear();
        messages_.show(texts::kAppCaption, told, MsgButtons::Ok, MsgIcon::Warning);
        return QImage();
    }
    QImage shot;
    QString problem = answer.error;
    if (answer.outcome == Outcome::Granted) {
        const QUrl uri(answer.results.value(QStringLiteral("uri")).toString());
        const QString file = uri.isLocalFile() ? uri.toLocalFile() : QString();
        if (!file.isEmpty()) {
            shot.load(file);
            // The picture is ours now; it must not pile up where the portal put it.
            QFile::remove(file);
        }
        if (shot.isNull()) problem = QStringLiteral("unreadable picture: ") + uri.toString();
    } else if (answer.outcome == Outcome::Failed) {
        problem = QStringLiteral("the portal reported a failure");
    } else if (answer.outcome == Outcome::NoAnswer) {
        problem = Translated(kMessageBoxContext, texts::kScreenshotNoAnswer);
    } else if (answer.outcome == Outcome::Abandoned) {
        problem = Translated(kMessageBoxContext, texts::kScreenshotAbandoned);
    }
    if (shot.isNull()) {
        std::string text = TranslatedUtf8(kMessageBoxContext, texts::kScreenshotFailed);
        if (!problem.isEmpty()) text += "\n(" + problem.toStdString() + ")";
        messages_.show(texts::kAppCaption, text, MsgButtons::Ok, MsgIcon::Warning);
        return QImage();
    }
    return shot.convertToFormat(QImage::Format_RGB32);
}

}  // namespace tovrimo
