#include "platform/wayland/PortalScreenGrabber.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <cmath>

#include "core/CoreTexts.h"
#include "platform/MessageBoxes.h"
#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/WaylandTexts.h"

namespace tovrimo {

PortalScreenGrabber::PortalScreenGrabber(MessageBoxes& messages, QDBusConnection bus)
    : messages_(messages), bus_(std::move(bus))
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
    // The portal's picture covers the whole layout; parts of the rectangle beyond it stay
    // black, as they do on X11.
    QImage result(rect.width(), rect.height(), QImage::Format_RGB32);
    result.fill(Qt::black);
    const QRect wanted(rect.left, rect.top, rect.width(), rect.height());
    const QRect available = wanted.intersected(shot.rect());
    for (int y = available.top(); y <= available.bottom(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(shot.constScanLine(y)) + available.left();
        auto* to =
            reinterpret_cast<QRgb*>(result.scanLine(y - rect.top)) + (available.left() - rect.left);
        std::copy(from, from + available.width(), to);
    }
    return result;
}

QImage PortalScreenGrabber::takeScreenshot(bool interactive)
{
    const PortalAnswer answer = CallPortalRequest(
        bus_, QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"),
        {QString()}, {{QStringLiteral("interactive"), interactive}}, timeoutMs_);
    using Outcome = PortalAnswer::Outcome;
    if (answer.outcome == Outcome::Cancelled) {
        messages_.show(texts::kAppCaption, texts::kScreenshotRefused, MsgButtons::Ok,
                       MsgIcon::Warning);
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
        problem = QStringLiteral("no answer in time");
    }
    if (shot.isNull()) {
        std::string text = texts::kScreenshotFailed;
        if (!problem.isEmpty()) text += "\n(" + problem.toStdString() + ")";
        messages_.show(texts::kAppCaption, text, MsgButtons::Ok, MsgIcon::Warning);
        return QImage();
    }
    return shot.convertToFormat(QImage::Format_RGB32);
}

}  // namespace tovrimo
