// Stands in for the desktop portal on whatever session bus it is started on: owns
// org.freedesktop.portal.Desktop and answers at /org/freedesktop/portal/desktop with only the
// interfaces its switches ask for, so that a test decides what the program gets.
//
//   portal_stub [--screenshot=refuse|fail|silent|abandon|vanish|file:<png>] [--shortcuts]
//               [--shortcuts=none] [--permission=yes|no|none] [--kwin=refuse|file:<png>]
//
// "silent" takes a Screenshot request and never answers; "abandon" drops the request after a
// moment without answering (a portal whose dialog timed out); "vanish" ends the stub a moment
// after taking the request (a portal that went away). --shortcuts=none takes the sessions and
// answers every binding with no shortcut bound. --permission also owns the permission
// store and answers its Lookup for the screenshot table ("none": no entry). --kwin also owns
// KWin's screenshot service: refusing every caller as unauthorised, or writing the picture's
// pixels into the caller's pipe as KWin does.
//
// Each request answers the way the real portal does: the call returns the request's path
// (/org/freedesktop/portal/desktop/request/<sender>/<handle_token>), and the Response signal
// then comes from that path, addressed to the caller. On standard output, one line each:
//   ready                                      the name is owned
//   screenshot interactive=<0|1>               a Screenshot call
//   file <path>                                the picture a granted Screenshot hands over
//   request closed <request>                   Request.Close (the caller gave up waiting)
//   request dropped <request>                  an abandoned request went away unanswered
//   permission looked up                       a Lookup of the screenshot permission
//   kwin <method>                              a call of KWin's screenshot service
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
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <map>
#include <set>

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
        bool bindNothing = false;  // takes the session and binds no shortcut (Plasma 5.27)
    };
    // Requests taken and not answered yet: they are there, as the real portal's are.
    std::set<QString> pending;

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
        if (pending.count(path))
            return QStringLiteral(
                "<interface name=\"org.freedesktop.portal.Request\">"
                "<method name=\"Close\"/><signal name=\"Response\"><arg type=\"u\" "
                "name=\"response\"/><arg type=\"a{sv}\" name=\"results\"/></signal>"
                "</interface>");
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
        if (interface == kRequest && member == QLatin1String("Close")) {
            pending.erase(path);
            Say(QStringLiteral("request closed ") + path);
            bus_.send(message.createReply());
            return true;
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
            Say(QStringLiteral("file ") + copy);
            answer(message, request, kGranted,
                   {{QStringLiteral("uri"), QStringLiteral("file://") + copy}});
        } else if (mode == QLatin1String("silent")) {
            // Takes the request and never answers, like a portal whose dialog nobody closes.
            message.setDelayedReply(true);
            bus_.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
            pending.insert(request);
        } else if (mode == QLatin1String("abandon")) {
            message.setDelayedReply(true);
            bus_.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
            pending.insert(request);
            QTimer::singleShot(300, [this, request] {
                pending.erase(request);
                Say(QStringLiteral("request dropped ") + request);
            });
        } else if (mode == QLatin1String("vanish")) {
            message.setDelayedReply(true);
            bus_.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
            pending.insert(request);
            QTimer::singleShot(300, [] {
                Say(QStringLiteral("vanishing"));
                QCoreApplication::exit(0);
            });
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
               {{QStringLiteral("shortcuts"),
                 ShortcutList(switches_.bindNothing ? QList<Shortcut>() : shortcuts)}});
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

// The portal's permission store, answering Lookup for the screenshot permission of programs
// outside a sandbox (application id "").
class PermissionStore : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.impl.portal.PermissionStore")
public:
    explicit PermissionStore(QString answer) : answer_(std::move(answer)) {}

public slots:
    void Lookup(const QString& table, const QString& id, const QDBusMessage& message)
    {
        Say(QStringLiteral("permission looked up"));
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (table != QLatin1String("screenshot") || id != QLatin1String("screenshot") ||
            answer_ == QLatin1String("none")) {
            bus.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                                         QStringLiteral("No entry for ") + id));
            return;
        }
        QMap<QString, QStringList> permissions;
        permissions.insert(QString(), {answer_});
        QDBusMessage reply = message.createReply();
        reply << QVariant::fromValue(permissions) << QVariant::fromValue(QDBusVariant(0));
        bus.send(reply);
    }

private:
    QString answer_;
};

// KWin's screenshot service: refuses every caller, or writes the picture into the caller's
// pipe as raw ARGB32 rows and answers with their description.
class KWinScreenShot : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.ScreenShot2")
public:
    explicit KWinScreenShot(QString mode) : mode_(std::move(mode)) {}

public slots:
    QVariantMap CaptureWorkspace(const QVariantMap& options, const QDBusUnixFileDescriptor& pipe,
                                 const QDBusMessage& message)
    {
        return capture(QStringLiteral("CaptureWorkspace"), options, pipe, message);
    }
    QVariantMap CaptureActiveWindow(const QVariantMap& options, const QDBusUnixFileDescriptor& pipe,
                                    const QDBusMessage& message)
    {
        return capture(QStringLiteral("CaptureActiveWindow"), options, pipe, message);
    }

private:
    QVariantMap capture(const QString& method, const QVariantMap&,
                        const QDBusUnixFileDescriptor& pipe, const QDBusMessage& message)
    {
        Say(QStringLiteral("kwin ") + method);
        if (!mode_.startsWith(QLatin1String("file:"))) {
            message.setDelayedReply(true);
            QDBusConnection::sessionBus().send(message.createErrorReply(
                QStringLiteral("org.kde.KWin.ScreenShot2.Error.NoAuthorized"),
                QStringLiteral("The process is not authorized to take a screenshot")));
            return {};
        }
        const QImage picture =
            QImage(mode_.mid(5)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const int fd = ::dup(pipe.fileDescriptor());
        const char* bytes = reinterpret_cast<const char*>(picture.constBits());
        qsizetype left = picture.sizeInBytes();
        while (left > 0) {
            const ssize_t written = ::write(fd, bytes, static_cast<size_t>(left));
            if (written <= 0) break;
            bytes += written;
            left -= written;
        }
        ::close(fd);
        return {{QStringLiteral("type"), QStringLiteral("raw")},
                {QStringLiteral("width"), static_cast<uint>(picture.width())},
                {QStringLiteral("height"), static_cast<uint>(picture.height())},
                {QStringLiteral("stride"), static_cast<uint>(picture.bytesPerLine())},
                {QStringLiteral("format"), static_cast<uint>(picture.format())}};
    }

    QString mode_;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Portal::Switches switches;
    QString permission;
    QString kwin;
    for (const QString& argument : app.arguments().mid(1)) {
        if (argument.startsWith(QLatin1String("--screenshot="))) {
            switches.screenshot = argument.mid(13);
            const bool valid = switches.screenshot == QLatin1String("refuse") ||
                               switches.screenshot == QLatin1String("silent") ||
                               switches.screenshot == QLatin1String("abandon") ||
                               switches.screenshot == QLatin1String("vanish") ||
                               switches.screenshot == QLatin1String("fail") ||
                               (switches.screenshot.startsWith(QLatin1String("file:")) &&
                                switches.screenshot.size() > 5);
            if (!valid) {
                std::fprintf(stderr,
                             "portal stub: --screenshot=refuse|fail|silent|abandon|vanish|"
                             "file:<png>\n");
                return 2;
            }
        } else if (argument == QLatin1String("--shortcuts")) {
            switches.shortcuts = true;
        } else if (argument == QLatin1String("--shortcuts=none")) {
            switches.shortcuts = true;
            switches.bindNothing = true;
        } else if (argument.startsWith(QLatin1String("--permission="))) {
            permission = argument.mid(13);
        } else if (argument.startsWith(QLatin1String("--kwin="))) {
            kwin = argument.mid(7);
        } else {
            std::fprintf(stderr,
                         "usage: portal_stub [--screenshot=refuse|fail|silent|abandon|vanish|"
                         "file:<png>] [--shortcuts] [--permission=yes|no|none] "
                         "[--kwin=refuse|file:<png>]\n");
            return 2;
        }
    }
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QMap<QString, QStringList>>();
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
    PermissionStore store(permission);
    if (!permission.isEmpty() &&
        (!bus.registerObject(QStringLiteral("/org/freedesktop/impl/portal/PermissionStore"), &store,
                             QDBusConnection::ExportAllSlots) ||
         !bus.registerService(QStringLiteral("org.freedesktop.impl.portal.PermissionStore")))) {
        std::fprintf(stderr, "portal stub: cannot stand in for the permission store\n");
        return 4;
    }
    KWinScreenShot screenshots(kwin);
    if (!kwin.isEmpty() && (!bus.registerObject(QStringLiteral("/org/kde/KWin/ScreenShot2"),
                                                &screenshots, QDBusConnection::ExportAllSlots) ||
                            !bus.registerService(QStringLiteral("org.kde.KWin.ScreenShot2")))) {
        std::fprintf(stderr, "portal stub: cannot stand in for KWin's screenshots\n");
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

#include "PortalStub.moc"
