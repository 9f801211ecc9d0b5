// Types keys into a GNOME Shell session through mutter's own remote-desktop service, which a
// session's programs may use without a prompt (a headless GNOME Shell takes no other input
// from outside). The service ends a session when its caller's connection goes, so this stays:
//   mutter_keys
// It prints "ready" once its session has started; each line on standard input is an X keysym
// in decimal or 0x hexadecimal, pressed and released; it prints "sent <keysym>" after each.

#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QSocketNotifier>
#include <cstdio>

namespace {

const QString kService = QStringLiteral("org.gnome.Mutter.RemoteDesktop");

QDBusMessage Call(const QString& path, const QString& interface, const QString& method,
                  const QVariantList& arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 10000);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QDBusMessage created = Call(QStringLiteral("/org/gnome/Mutter/RemoteDesktop"), kService,
                                      QStringLiteral("CreateSession"));
    if (created.type() != QDBusMessage::ReplyMessage || created.arguments().isEmpty()) {
        std::fprintf(stderr, "mutter_keys: no session: %s\n", qPrintable(created.errorMessage()));
        return 3;
    }
    const QString session = created.arguments().constFirst().value<QDBusObjectPath>().path();
    const QString sessionInterface = kService + QStringLiteral(".Session");
    const QDBusMessage started = Call(session, sessionInterface, QStringLiteral("Start"));
    if (started.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "mutter_keys: the session did not start: %s\n",
                     qPrintable(started.errorMessage()));
        return 3;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            app.quit();
            return;
        }
        pending.append(buffer, got);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            bool ok = false;
            const uint keysym = line.toUInt(&ok, 0);
            if (!ok) continue;
            for (bool pressed : {true, false}) {
                const QDBusMessage sent =
                    Call(session, sessionInterface, QStringLiteral("NotifyKeyboardKeysym"),
                         {keysym, pressed});
                if (sent.type() != QDBusMessage::ReplyMessage)
                    std::fprintf(stderr, "mutter_keys: %s\n", qPrintable(sent.errorMessage()));
            }
            std::printf("sent %u\n", keysym);
            std::fflush(stdout);
        }
    });
    const int code = app.exec();
    Call(session, sessionInterface, QStringLiteral("Stop"));
    return code;
}
