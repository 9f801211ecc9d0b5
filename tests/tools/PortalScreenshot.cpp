// Asks the desktop's Screenshot portal for a picture the way a sandboxed program does, and
// prints the answer:
//   response <code> <uri>
// (code 0: granted; the uri is empty when there was none), or "no response" after the
// timeout. The portal drops a request as soon as its caller leaves the bus, so the caller
// has to stay until the Response signal came: one call of gdbus cannot do that.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QObject>
#include <QTimer>
#include <QVariantMap>
#include <cstdio>

namespace {

class Receiver : public QObject {
    Q_OBJECT
public slots:
    void response(uint code, const QVariantMap& results)
    {
        std::printf("response %u %s\n", code, results.value("uri").toString().toUtf8().constData());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "portal screenshot: no session bus\n");
        return 2;
    }
    // The request's object path is known before the call: subscribing first means the
    // Response cannot come before we listen.
    const QString token = QStringLiteral("tovrimoprobe");
    QString sender = bus.baseService().mid(1);
    sender.replace('.', '_');
    const QString path =
        QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    Receiver receiver;
    bus.connect(QStringLiteral("org.freedesktop.portal.Desktop"), path,
                QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                &receiver, SLOT(response(uint, QVariantMap)));

    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    call << QString() << QVariantMap{{"handle_token", token}, {"interactive", false}};
    const QDBusReply<QDBusObjectPath> handle = bus.call(call);
    if (!handle.isValid()) {
        std::fprintf(stderr, "portal screenshot: %s\n",
                     handle.error().message().toUtf8().constData());
        return 3;
    }
    if (handle.value().path() != path)
        std::fprintf(stderr, "portal screenshot: the request is %s, not %s\n",
                     handle.value().path().toUtf8().constData(), path.toUtf8().constData());
    QTimer::singleShot(20000, &app, [] {
        std::printf("no response\n");
        std::fflush(stdout);
        QCoreApplication::exit(1);
    });
    return app.exec();
}

#include "PortalScreenshot.moc"
