// Stands in for the desktop portal on whatever session bus it is started on: owns
// org.freedesktop.portal.Desktop and answers at /org/freedesktop/portal/desktop with only the
// interfaces its switches ask for, so that a test decides what the program gets.
//
//   portal_stub [--screenshot=refuse|fail|file:<png>] [--shortcuts]
//
// Each request answers the way the real portal does: the call returns the request's path
// (/org/freedesktop/portal/desktop/request/<sender>/<handle_token>), and the Response signal
// then comes from that path, addressed to the caller. On standard output, one line each:
//   ready                                      the name is owned
//   screenshot interactive=<0|1>               a Screenshot call
//   session <session>                          a CreateSession call
//   bound <session> <id> <preferred_trigger>   each shortcut of a BindShortcuts call,
//   bind done                                  then this
//   closed <session>                           Session.Close
//   activated <id>                             after the signals of an "activate" line
// Lines on standard input:
//   activate <id>   emits Activated and Deactivated for the shortcut in the latest session.

#include <unistd.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <map>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kScreenshot = QStringLiteral("org.freedesktop.portal.Screenshot");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

constexpr uint kGranted = 0;
constexpr uint kCancelled = 1;
constexpr uint kFailed = 2;

void Say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// ":1.42" becomes "1_42", as in the portal's request and session paths.
QString SenderPart(const QString& uniqueName)
{
    QString part = uniqueName;
    if (part.startsWith(QLatin1Char(':'))) part.remove(0, 1);
    part.replace(QLatin1Char('.'), QLatin1Char('_'));
    return part;
}

struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

}  // namespace

Q_DECLARE_METATYPE(Shortcut)

namespace {

class Portal : public QDBusVirtualObject {
public:
    struct Switches {
        QString screenshot;  // empty: no Screenshot interface
        bool shortcuts = false;
    };

    Portal(QDBusConnection bus, Switches switches) : bus_(std::move(bus)), switches_(switches) {}

    QString introspect(const QString& path) const override
    {
        if (path == kPath) {
            QString xml;
            if (!switches_.screenshot.isEmpty())
                xml += QStringLiteral(
                    "<interface name=\"org.freedesktop.portal.Screenshot\">"
                    "<method name=\"Screenshot\"><arg type=\"s\" name=\"parent_window\" "
                    "direction=\"in\"/><arg type=\"a{sv}\" name=\"options\" direction=\"in\"/>"
                    "<arg type=\"o\" name=\"handle\" direction=\"out\"/></method>"
                    "<property name=\"version\" type=\"u\" access=\"read\"/></interface>");
            if (switches_.shortcuts)
                xml += QStringLiteral(
                    "<interface name=\"org.freedesktop.portal.GlobalShortcuts\">"
                    "<method name=\"CreateSession\"><arg type=\"a{sv}\" name=\"options\" "
                    "direction=\"in\"/><arg type=\"o\" name=\"handle\" direction=\"out\"/>"
                    "</method>"
                    "<method name=\"BindShortcuts\"><arg type=\"o\" name=\"session_handle\" "
                    "direction=\"in\"/><arg type=\"a(sa{sv})\" name=\"shortcuts\" "
                    "direction=\"in\"/><arg type=\"s\" name=\"parent_window\" "
                    "direction=\"in\"/><arg type=\"a{sv}\" name=\"options\" direction=\"in\"/>"
                    "<arg type=\"o\" name=\"request_handle\" direction=\"out\"/></method>"
                    "<method name=\"ListShortcuts\"><arg type=\"o\" name=\"session_handle\" "
                    "direction=\"in\"/><arg type=\"a{sv}\" name=\"options\" direction=\"in\"/>"
                    "<arg type=\"o\" name=\"request_handle\" direction=\"out\"/></method>"
                    "<signal name=\"Activated\"><arg type=\"o\" name=\"session_handle\"/>"
                    "<arg type=\"s\" name=\"shortcut_id\"/><arg type=\"t\" name=\"timestamp\"/>"
                    "<arg type=\"a{sv}\" name=\"options\"/></signal>"
                    "<signal name=\"Deactivated\"><arg type=\"o\" name=\"session_handle\"/>"
                    "<arg type=\"s\" name=\"shortcut_id\"/><arg type=\"t\" name=\"timestamp\"/>"
                    "<arg type=\"a{sv}\" name=\"options\"/></signal>"
                    "<signal name=\"ShortcutsChanged\"><arg type=\"o\" name=\"session_handle\"/>"
                    "<arg type=\"a(sa{sv})\" name=\"shortcuts\"/></signal>"
                    "<property name=\"version\" type=\"u\" access=\"read\"/></interface>");
            return xml;
        }
        if (sessions_.count(path))
            return QStringLiteral(
                "<interface name=\"org.freedesktop.portal.Session\">"
                "<method name=\"Close\"/><signal name=\"Closed\"><arg type=\"a{sv}\" "
                "name=\"details\"/></signal>"
                "<property name=\"version\" type=\"u\" access=\"read\"/></interface>");
        return {};
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override
    {
        const QString interface = message.interface();
        const QString member = message.member();
        const QString path = message.path();
        if (interface == kProperties) return properties(message);
        if (path == kPath && interface == kScreenshot && !switches_.screenshot.isEmpty() &&
            member == QLatin1String("Screenshot"))
            return screenshot(message);
        if (path == kPath && interface == kShortcuts && switches_.shortcuts) {
            if (member == QLatin1String("CreateSession")) return createSession(message);
            if (member == QLatin1String("BindShortcuts")) return bindShortcuts(message);
            if (member == QLatin1String("ListShortcuts")) return listShortcuts(message);
        }
        if (interface == kSession && member == QLatin1String("Close") && sessions_.count(path)) {
            sessions_.erase(path);
            if (latestSession_ == path) latestSession_.clear();
            Say(QStringLiteral("closed ") + path);
            bus_.send(message.createReply());
            return true;
        }
        return false;
    }

    // A line from standard input.
    void command(const QString& line)
    {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() != 2 || words[0] != QLatin1String("activate")) {
            std::fprintf(stderr, "portal stub: not understood: %s\n", line.toUtf8().constData());
            return;
        }
        if (latestSession_.isEmpty() || !sessions_.count(latestSession_)) {
            std::fprintf(stderr, "portal stub: no session to activate %s in\n",
                         words[1].toUtf8().constData());
            return;
        }
        const QString owner = sessions_.at(latestSession_).owner;
        for (const char* name : {"Activated", "Deactivated"}) {
            QDBusMessage signal = QDBusMessage::createTargetedSignal(owner, kPath, kShortcuts,
                                                                     QString::fromLatin1(name));
            signal << QVariant::fromValue(QDBusObjectPath(latestSession_)) << words[1]
                   << QVariant::fromValue(
                          static_cast<qulonglong>(QDateTime::currentMSecsSinceEpoch()))
                   << QVariantMap();
            bus_.send(signal);
        }
        Say(QStringLiteral("activated ") + words[1]);
    }

private:
    struct Session {
        QString owner;
        QList<Shortcut> shortcuts;
    };

    static QVariantMap OptionsAt(const QDBusMessage& message, int index)
    {
        const QVariantList args = message.arguments();
        if (index >= args.size()) return {};
        const QVariant value = args.at(index);
        if (value.canConvert<QDBusArgument>()) return qdbus_cast<QVariantMap>(value);
        return value.toMap();
    }

    QString requestPath(const QDBusMessage& message, const QVariantMap& options)
    {
        QString token = options.value(QStringLiteral("handle_token")).toString();
        if (token.isEmpty()) token = QStringLiteral("stub%1").arg(++counter_);
        return kPath + QStringLiteral("/request/") + SenderPart(message.service()) +
               QLatin1Char('/') + token;
    }

    // Returns the request's path to the caller, then answers from that path, to the caller
    // only, once the reply is on its way.
    void answer(const QDBusMessage& message, const QString& request, uint response,
                const QVariantMap& results)
    {
        message.setDelayedReply(true);
        bus_.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        const QString caller = message.service();
        QDBusConnection bus = bus_;
        QTimer::singleShot(0, [bus, caller, request, response, results]() mutable {
            QDBusMessage signal = QDBusMessage::createTargetedSignal(caller, request, kRequest,
                                                                     QStringLiteral("Response"));
            signal << response << results;
            bus.send(signal);
        });
    }

    bool screenshot(const QDBusMessage& message)
    {
        const QVariantMap options = OptionsAt(message, 1);
        const bool interactive = options.value(QStringLiteral("interactive")).toBool();
        Say(QStringLiteral("screenshot interactive=%1").arg(interactive ? 1 : 0));
        const QString request = requestPath(message, options);
        const QString& mode = switches_.screenshot;
        if (mode == QLatin1String("refuse")) {
            answer(message, request, kCancelled, {});
        } else if (mode.startsWith(QLatin1String("file:"))) {
            // A fresh file each time: the program may remove the one it was given.
            const QString copy = QDir::temp().filePath(
                QStringLiteral("portal-stub-%1-%2.png").arg(::getpid()).arg(++counter_));
            QFile::remove(copy);
            if (!QFile::copy(mode.mid(5), copy)) {
                std::fprintf(stderr, "portal stub: cannot copy %s\n",
                             mode.mid(5).toUtf8().constData());
                answer(message, request, kFailed, {});
                return true;
            }
            QFile::setPermissions(
                copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
            answer(message, request, kGranted,
                   {{QStringLiteral("uri"), QStringLiteral("file://") + copy}});
        } else {
            answer(message, request, kFailed, {});
        }
        return true;
    }

    bool createSession(const QDBusMessage& message)
    {
        const QVariantMap options = OptionsAt(message, 0);
        QString token = options.value(QStringLiteral("session_handle_token")).toString();
        if (token.isEmpty()) token = QStringLiteral("session%1").arg(++counter_);
        const QString session = kPath + QStringLiteral("/session/") +
                                SenderPart(message.service()) + QLatin1Char('/') + token;
        sessions_[session] = Session{message.service(), {}};
        latestSession_ = session;
        Say(QStringLiteral("session ") + session);
        answer(message, requestPath(message, options), kGranted,
               {{QStringLiteral("session_handle"), session}});
        return true;
    }

    // The shortcuts as the Response's "shortcuts" entry: each with its description and the
    // trigger it asked for.
    static QVariant ShortcutList(const QList<Shortcut>& shortcuts)
    {
        QList<Shortcut> answered;
        for (const Shortcut& shortcut : shortcuts) {
            QVariantMap properties;
            properties.insert(QStringLiteral("description"),
                              shortcut.properties.value(QStringLiteral("description")));
            properties.insert(QStringLiteral("trigger_description"),
                              shortcut.properties.value(QStringLiteral("preferred_trigger")));
            answered.push_back(Shortcut{shortcut.id, properties});
        }
        return QVariant::fromValue(answered);
    }

    bool bindShortcuts(const QDBusMessage& message)
    {
        const QVariantList args = message.arguments();
        const QString session = args.value(0).value<QDBusObjectPath>().path();
        const QList<Shortcut> shortcuts = qdbus_cast<QList<Shortcut>>(args.value(1));
        const QVariantMap options = OptionsAt(message, 3);
        const QString request = requestPath(message, options);
        const auto found = sessions_.find(session);
        if (found == sessions_.end()) {
            answer(message, request, kFailed, {});
            return true;
        }
        found->second.shortcuts = shortcuts;
        for (const Shortcut& shortcut : shortcuts)
            Say(QStringLiteral("bound %1 %2 %3")
                    .arg(
                        session, shortcut.id,
                        shortcut.properties.value(QStringLiteral("preferred_trigger")).toString()));
        Say(QStringLiteral("bind done"));
        answer(message, request, kGranted,
               {{QStringLiteral("shortcuts"), ShortcutList(shortcuts)}});
        return true;
    }

    bool listShortcuts(const QDBusMessage& message)
    {
        const QVariantList args = message.arguments();
        const QString session = args.value(0).value<QDBusObjectPath>().path();
        const QString request = requestPath(message, OptionsAt(message, 1));
        const auto found = sessions_.find(session);
        if (found == sessions_.end())
            answer(message, request, kFailed, {});
        else
            answer(message, request, kGranted,
                   {{QStringLiteral("shortcuts"), ShortcutList(found->second.shortcuts)}});
        return true;
    }

    bool properties(const QDBusMessage& message)
    {
        const QVariantList args = message.arguments();
        const QString interface = args.value(0).toString();
        const bool known = (message.path() == kPath &&
                            ((interface == kScreenshot && !switches_.screenshot.isEmpty()) ||
                             (interface == kShortcuts && switches_.shortcuts))) ||
                           (sessions_.count(message.path()) && interface == kSession);
        QVariantMap all;
        if (known) all.insert(QStringLiteral("version"), QVariant::fromValue(1u));
        if (message.member() == QLatin1String("GetAll")) {
            bus_.send(message.createReply(all));
            return true;
        }
        if (message.member() == QLatin1String("Get")) {
            const QString name = args.value(1).toString();
            if (!all.contains(name)) {
                bus_.send(message.createErrorReply(
                    QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                    QStringLiteral("no property %1 on %2").arg(name, interface)));
                return true;
            }
            bus_.send(message.createReply(QVariant::fromValue(QDBusVariant(all.value(name)))));
            return true;
        }
        bus_.send(
            message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"),
                                     QStringLiteral("the portal's properties are read-only")));
        return true;
    }

    QDBusConnection bus_;
    Switches switches_;
    std::map<QString, Session> sessions_;
    QString latestSession_;
    int counter_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Portal::Switches switches;
    for (const QString& argument : app.arguments().mid(1)) {
        if (argument.startsWith(QLatin1String("--screenshot="))) {
            switches.screenshot = argument.mid(13);
            const bool valid = switches.screenshot == QLatin1String("refuse") ||
                               switches.screenshot == QLatin1String("fail") ||
                               (switches.screenshot.startsWith(QLatin1String("file:")) &&
                                switches.screenshot.size() > 5);
            if (!valid) {
                std::fprintf(stderr, "portal stub: --screenshot=refuse|fail|file:<png>\n");
                return 2;
            }
        } else if (argument == QLatin1String("--shortcuts")) {
            switches.shortcuts = true;
        } else {
            std::fprintf(stderr,
                         "usage: portal_stub [--screenshot=refuse|fail|file:<png>] "
                         "[--shortcuts]\n");
            return 2;
        }
    }
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "portal stub: no session bus: %s\n",
                     bus.lastError().message().toUtf8().constData());
        return 3;
    }
    Portal portal(bus, switches);
    // The object first, so that no call reaches the name before it can be answered.
    if (!bus.registerVirtualObject(kPath, &portal, QDBusConnection::SubPath)) {
        std::fprintf(stderr, "portal stub: cannot export %s\n", kPath.toUtf8().constData());
        return 3;
    }
    if (!bus.registerService(kService)) {
        std::fprintf(stderr, "portal stub: %s is taken: %s\n", kService.toUtf8().constData(),
                     bus.lastError().message().toUtf8().constData());
        return 4;
    }
    Say(QStringLiteral("ready"));

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[512];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);  // the end of the input: keep serving the bus
            return;
        }
        pending.append(buffer, got);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            if (!line.isEmpty()) portal.command(line);
        }
    });
    return app.exec();
}
