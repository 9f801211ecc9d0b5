#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

namespace tovrimo {

inline constexpr const char* kPortalService = "org.freedesktop.portal.Desktop";
inline constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";

// How a desktop-portal request ended.
struct PortalAnswer {
    enum class Outcome {
        Granted,    // the portal answered with response 0
        Cancelled,  // the user (or the portal's policy) refused: response 1
        Failed,     // the portal answered with any other response
        NoPortal,   // nobody on the bus offers the interface, or the call itself failed
        NoAnswer,   // the portal took the call but never answered within the time allowed
        Abandoned,  // the portal dropped the request unanswered (its dialog timed out, or it
                    // or its backend went away)
    };
    Outcome outcome = Outcome::NoPortal;
    QVariantMap results;
    QString error;  // the D-Bus error of a failed call, for the message shown
};

// Calls a portal method that answers through a request object (the portal's
// "handle_token" pattern) and waits for the request's Response signal.
//
// The wait blocks the calling thread without running its event loop, so nothing of the
// program runs in between: a capture that waits for the portal cannot be overtaken by another
// command. The signal is received on a thread of its own. While it waits, it looks every
// `pollMs` whether the request still exists: a portal that gives up on a dialog nobody
// answered drops the request without a word, and so does a portal that goes away.
//
// `arguments` are the method's arguments before its options; `options` get the handle token.
PortalAnswer CallPortalRequest(const QDBusConnection& bus, const QString& interface,
                               const QString& method, const QVariantList& arguments,
                               QVariantMap options, int timeoutMs, int pollMs = 1000);

// The object path the portal gives a request made with this token on this connection.
QString PortalRequestPath(const QString& uniqueName, const QString& token);

// Whether the portal on the bus offers the interface at all.
bool PortalOffers(const QDBusConnection& bus, const QString& interface);

}  // namespace tovrimo
