#include "platform/wayland/PortalRequest.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>
#include <QXmlStreamReader>
#include <algorithm>
#include <memory>

namespace tovrimo {

namespace {

const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// Receives one request's Response on the thread that waits for signals, and hands the answer
// to the thread blocked in CallPortalRequest.
class ResponseCatcher : public QObject {
    Q_OBJECT
public:
    bool waitForAnswer(int timeoutMs)
    {
        QMutexLocker lock(&mutex_);
        if (!answered_) done_.wait(&mutex_, static_cast<unsigned long>(timeoutMs));
        return answered_;
    }
    uint response() const { return response_; }
    QVariantMap results() const { return results_; }

public slots:
    void onResponse(uint response, const QVariantMap& results)
    {
        QMutexLocker lock(&mutex_);
        response_ = response;
        results_ = results;
        answered_ = true;
        done_.wakeAll();
    }

private:
    QMutex mutex_;
    QWaitCondition done_;
    bool answered_ = false;
    uint response_ = 2;
    QVariantMap results_;
};

// One thread for the whole process that only receives the portals' answers.
QThread* SignalThread()
{
    static QThread* thread = [] {
        auto* t = new QThread;
        t->setObjectName(QStringLiteral("portal answers"));
        t->start();
        return t;
    }();
    return thread;
}

QString NewToken()
{
    static QAtomicInteger<int> counter = 0;
    return QStringLiteral("tovrimo%1").arg(++counter);
}

}  // namespace

QString PortalRequestPath(const QString& uniqueName, const QString& token)
{
    QString sender = uniqueName;
    if (sender.startsWith(QLatin1Char(':'))) sender.remove(0, 1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') +
           token;
}

namespace {

// The portal's current owner of its name; empty when nobody owns it.
QString PortalOwner(const QDBusConnection& bus)
{
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
    ask << QString::fromLatin1(kPortalService);
    const QDBusMessage reply = bus.call(ask, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return reply.arguments().constFirst().toString();
}

enum class RequestPresence { There, Gone, Unknown };

// Whether the owner still exports the request object. A portal that is too busy to answer
// the question says nothing either way.
RequestPresence RequestObjectPresence(const QDBusConnection& bus, const QString& owner,
                                      const QString& path)
{
    QDBusMessage introspect = QDBusMessage::createMethodCall(
        owner, path, QStringLiteral("org.freedesktop.DBus.Introspectable"),
        QStringLiteral("Introspect"));
    const QDBusMessage reply = bus.call(introspect, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        const QString error = reply.errorName();
        if (error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
            error == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
            error == QLatin1String("org.freedesktop.DBus.Error.UnknownObject") ||
            error == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod") ||
            error == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface"))
            return RequestPresence::Gone;
        return RequestPresence::Unknown;
    }
    if (reply.arguments().isEmpty()) return RequestPresence::Unknown;
    return reply.arguments().constFirst().toString().contains(kRequestInterface)
               ? RequestPresence::There
               : RequestPresence::Gone;
}

}  // namespace

bool PortalOffers(const QDBusConnection& bus, const QString& interface)
{
    if (!bus.isConnected()) return false;
    QDBusMessage introspect = QDBusMessage::createMethodCall(
        QString::fromLatin1(kPortalService), QString::fromLatin1(kPortalPath),
        QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
    const QDBusMessage reply = bus.call(introspect, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    QXmlStreamReader xml(reply.arguments().constFirst().toString());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QLatin1String("interface") &&
            xml.attributes().value(QLatin1String("name")) == interface)
            return true;
    }
    return false;
}

PortalAnswer CallPortalRequest(const QDBusConnection& bus, const QString& interface,
                               const QString& method, const QVariantList& arguments,
                               QVariantMap options, int timeoutMs, int pollMs)
{
    PortalAnswer answer;
    if (!bus.isConnected()) {
        answer.error = QStringLiteral("no session bus");
        return answer;
    }
    QDBusConnection connection = bus;
    // Qt holds back a connection's incoming messages until the event loop has first run; a
    // command-line job asks before it ever has. One turn of the loop lets them through. Once
    // a loop runs (the resident program) nothing is held back, and no turn is taken: it could
    // start another command in the middle of this one.
    if (QCoreApplication::instance() && QThread::currentThread() == qApp->thread() &&
        QThread::currentThread()->loopLevel() == 0)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const QString token = NewToken();
    options.insert(QStringLiteral("handle_token"), token);

    // Listen before asking: a quick portal answers before the call returns.
    auto catcher = std::make_unique<ResponseCatcher>();
    catcher->moveToThread(SignalThread());
    const QString expected = PortalRequestPath(connection.baseService(), token);
    const auto listen = [&](const QString& path) {
        return connection.connect(QString::fromLatin1(kPortalService), path, kRequestInterface,
                                  QStringLiteral("Response"), catcher.get(),
                                  SLOT(onResponse(uint, QVariantMap)));
    };
    const auto stopListening = [&](const QString& path) {
        connection.disconnect(QString::fromLatin1(kPortalService), path, kRequestInterface,
                              QStringLiteral("Response"), catcher.get(),
                              SLOT(onResponse(uint, QVariantMap)));
    };
    listen(expected);

    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kPortalService), QString::fromLatin1(kPortalPath), interface, method);
    QVariantList all = arguments;
    all << options;
    call.setArguments(all);
    const QDBusMessage reply = connection.call(call, QDBus::Block, 10000);
    QString requestPath = expected;
    if (reply.type() != QDBusMessage::ReplyMessage) {
        stopListening(expected);
        answer.error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
        return answer;
    }
    // Portals older than the handle token pick a path of their own.
    if (!reply.arguments().isEmpty()) {
        const QString given = reply.arguments().constFirst().value<QDBusObjectPath>().path();
        if (!given.isEmpty() && given != expected) {
            stopListening(expected);
            listen(given);
            requestPath = given;
        }
    }
    // The request is asked of the portal that holds it, by its unique name: a portal started
    // anew under the same well-known name knows nothing of it.
    const QString owner = PortalOwner(connection);
    bool answered = false;
    bool abandoned = false;
    QElapsedTimer waited;
    waited.start();
    while (!answered && !abandoned) {
        const qint64 left = timeoutMs - waited.elapsed();
        if (left <= 0) break;
        answered = catcher->waitForAnswer(static_cast<int>(std::min<qint64>(left, pollMs)));
        if (answered || owner.isEmpty()) continue;
        // A request is dropped right after its Response is sent, and that Response may
        // still be on its way to the signal thread: give it a moment.
        if (RequestObjectPresence(connection, owner, requestPath) == RequestPresence::Gone) {
            answered = catcher->waitForAnswer(200);
            abandoned = !answered;
        }
    }
    stopListening(requestPath);
    if (abandoned) {
        answer.outcome = PortalAnswer::Outcome::Abandoned;
    } else if (!answered) {
        // Nobody waits any more: tell the portal, so a dialog it shows goes away.
        connection.call(
            QDBusMessage::createMethodCall(QString::fromLatin1(kPortalService), requestPath,
                                           kRequestInterface, QStringLiteral("Close")),
            QDBus::NoBlock);
        answer.outcome = PortalAnswer::Outcome::NoAnswer;
    } else if (catcher->response() == 0) {
        answer.outcome = PortalAnswer::Outcome::Granted;
        answer.results = catcher->results();
    } else {
        answer.outcome = catcher->response() == 1 ? PortalAnswer::Outcome::Cancelled
                                                  : PortalAnswer::Outcome::Failed;
    }
    // The catcher lives on the signal thread; a Response already queued for it must find it
    // alive, so it goes when that thread next runs its events.
    catcher.release()->deleteLater();
    return answer;
}

}  // namespace tovrimo

#include "PortalRequest.moc"
