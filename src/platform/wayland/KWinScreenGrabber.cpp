#include "platform/wayland/KWinScreenGrabber.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/Translated.h"
#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/PortalScreenGrabber.h"
#include "platform/wayland/WaylandTexts.h"

namespace tovrimo {

namespace {

const QString kService = QStringLiteral("org.kde.KWin.ScreenShot2");
const QString kPath = QStringLiteral("/org/kde/KWin/ScreenShot2");
const QString kInterface = QStringLiteral("org.kde.KWin.ScreenShot2");
const QLatin1String kNotAuthorized("org.kde.KWin.ScreenShot2.Error.NoAuthorized");
constexpr int kCallTimeoutMs = 10000;

// Everything written into the pipe until its writer closes it, or until the time is up.
class PipeReader {
public:
    explicit PipeReader(int fd) : fd_(fd), thread_([this] { run(); }) {}
    ~PipeReader()
    {
        if (thread_.joinable()) thread_.join();
        ::close(fd_);
    }
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;
    QByteArray take()
    {
        thread_.join();
        return complete_ ? data_ : QByteArray();
    }

private:
    void run()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        char buffer[1 << 16];
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd waiting{fd_, POLLIN, 0};
            const int ready = ::poll(&waiting, 1, 200);
            if (ready < 0) return;
            if (ready == 0) continue;
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got < 0) return;
            if (got == 0) {
                complete_ = true;
                return;
            }
            data_.append(buffer, got);
        }
    }

    int fd_;
    QByteArray data_;
    bool complete_ = false;
    std::thread thread_;
};

// A window comes with its shadow, a margin of pixels that are not fully opaque: the window is
// the opaque part (its rounded corners included, since its edges are opaque between them).
QImage WithoutShadow(const QImage& picture)
{
    if (!picture.hasAlphaChannel()) return picture;
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    int left = argb.width(), right = -1, top = argb.height(), bottom = -1;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(row[x]) != 255) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < left || bottom < top) return picture;
    return argb.copy(QRect(QPoint(left, top), QPoint(right, bottom)));
}

// A raw picture as KWin describes it: its size, row length and QImage format.
QImage RawPicture(const QVariantMap& results, const QByteArray& bytes)
{
    if (results.value(QStringLiteral("type")).toString() != QLatin1String("raw")) return QImage();
    const int width = results.value(QStringLiteral("width")).toInt();
    const int height = results.value(QStringLiteral("height")).toInt();
    const qsizetype stride = results.value(QStringLiteral("stride")).toLongLong();
    const uint format = results.value(QStringLiteral("format")).toUInt();
    if (width <= 0 || height <= 0 || stride < qsizetype(width) || format == 0 ||
        format >= QImage::NImageFormats)
        return QImage();
    if (bytes.size() < stride * height) return QImage();
    const QImage view(reinterpret_cast<const uchar*>(bytes.constData()), width, height, stride,
                      static_cast<QImage::Format>(format));
    if (view.depth() * qsizetype(width) > stride * 8) return QImage();
    return WithoutShadow(view).convertToFormat(QImage::Format_RGB32);  // a copy: the bytes go
}

}  // namespace

std::string KWinAllowanceNote(const std::string& binaryPath)
{
    return TranslatedUtf8(kMessageBoxContext, texts::kKWinNotAllowed) +
           "\n\n[Desktop Entry]\nType=Application\nName=Tovrimo\nExec=" + binaryPath +
           "\nNoDisplay=true\nX-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2";
}

KWinScreenGrabber::KWinScreenGrabber(PortalScreenGrabber& fallback, QDBusConnection bus)
    : fallback_(fallback), bus_(std::move(bus))
{
}

bool KWinScreenGrabber::Offered(const QDBusConnection& bus)
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

PixelRect KWinScreenGrabber::primaryScreenRect()
{
    return fallback_.primaryScreenRect();
}

QImage KWinScreenGrabber::grab(const PixelRect& rect)
{
    const bool activeWindow = activeWindowNext_;
    activeWindowNext_ = false;
    if (!activeWindow && (rect.width() <= 0 || rect.height() <= 0)) return QImage();
    if (access_ != Access::Refused && access_ != Access::Absent) {
        const auto shot = capture(activeWindow ? QStringLiteral("CaptureActiveWindow")
                                               : QStringLiteral("CaptureWorkspace"));
        if (shot) return activeWindow ? *shot : CutFromLayout(*shot, rect);
    }
    if (activeWindow) fallback_.grabActiveWindowNext();
    return fallback_.grab(rect);
}

std::optional<QImage> KWinScreenGrabber::capture(const QString& method)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
    PipeReader reader(ends[0]);
    // The message keeps a copy of the writing end: it must be gone, with ours, before the
    // pipe can end.
    const QDBusMessage reply = [&] {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
        // Frames as the user sees them, in device pixels, without the pointer (the options
        // say whether to draw one).
        const QVariantMap options{{QStringLiteral("include-decoration"), true},
                                  {QStringLiteral("include-cursor"), false},
                                  {QStringLiteral("include-shadow"), false},
                                  {QStringLiteral("native-resolution"), true}};
        call << options << QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
        ::close(ends[1]);
        return bus_.call(call, QDBus::Block, kCallTimeoutMs);
    }();
    if (reply.type() != QDBusMessage::ReplyMessage) {
        reader.take();
        if (reply.errorName() == kNotAuthorized) {
            access_ = Access::Refused;
            if (!toldHowToAllow_) {
                // Said once: on the terminal now, and with the portal's refusal that follows
                // (Plasma 5.27's portal refuses a capture without its dialog).
                toldHowToAllow_ = true;
                const std::string note =
                    KWinAllowanceNote(QCoreApplication::applicationFilePath().toStdString());
                std::fprintf(stderr, "tovrimo: %s\n", note.c_str());
                std::fflush(stderr);
                fallback_.setRefusalNote(note);
            }
        } else {
            access_ = Access::Absent;
            std::fprintf(stderr, "tovrimo: KWin took no screenshot (%s); the portal takes it\n",
                         qPrintable(reply.errorMessage().isEmpty() ? reply.errorName()
                                                                   : reply.errorMessage()));
        }
        return std::nullopt;
    }
    const QVariantMap results = reply.arguments().isEmpty()
                                    ? QVariantMap()
                                    : qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    const QImage picture = RawPicture(results, reader.take());
    if (picture.isNull()) {
        // KWin answered but gave no usable picture: this time the portal does the work.
        std::fprintf(stderr, "tovrimo: KWin's screenshot could not be read; the portal takes it\n");
        return std::nullopt;
    }
    access_ = Access::Allowed;
    return picture;
}

}  // namespace tovrimo
