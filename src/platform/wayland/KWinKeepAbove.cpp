#include "platform/wayland/KWinKeepAbove.h"

#include <unistd.h>

#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QTemporaryFile>
#include <cstdio>

namespace tovrimo {

namespace {

const QString kService = QStringLiteral("org.kde.KWin");
const QString kScriptingPath = QStringLiteral("/Scripting");
const QString kScripting = QStringLiteral("org.kde.kwin.Scripting");
constexpr int kCallTimeoutMs = 3000;

// A JavaScript string literal: JSON's quoting is JavaScript's.
std::string Quoted(const std::string& text)
{
    const QJsonDocument wrapped(QJsonArray{QString::fromStdString(text)});
    QByteArray json = wrapped.toJson(QJsonDocument::Compact);
    return json.mid(1, json.size() - 2).toStdString();  // without the brackets
}

}  // namespace

KWinKeepAbove::KWinKeepAbove(QDBusConnection bus) : bus_(std::move(bus)) {}

bool KWinKeepAbove::Offered(const QDBusConnection& bus)
{
    if (!bus.isConnected()) return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << kService;
    const QDBusMessage reply = bus.call(ask, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

std::string KWinKeepAbove::Script(long long pid, const std::string& windowTitle, bool above)
{
    return "var windows = workspace.clientList();\n"
           "for (var i = 0; i < windows.length; ++i) {\n"
           "    var w = windows[i];\n"
           "    if (w.pid == " +
           std::to_string(pid) + " && w.caption == " + Quoted(windowTitle) + ")\n" +
           "        w.keepAbove = " + (above ? "true" : "false") + ";\n" + "}\n";
}

bool KWinKeepAbove::keepAbove(const std::string& windowTitle, bool above)
{
    // KWin reads the script from a file, runs it when told and lets it go when unloaded.
    QTemporaryFile file(QStringLiteral("/tmp/tovrimo-kwin-XXXXXX.js"));
    if (!file.open()) return false;
    file.write(Script(::getpid(), windowTitle, above).c_str());
    file.flush();
    static int scripts = 0;
    const QString name = QStringLiteral("tovrimo-keep-above-%1-%2").arg(::getpid()).arg(++scripts);
    QDBusMessage load = QDBusMessage::createMethodCall(kService, kScriptingPath, kScripting,
                                                       QStringLiteral("loadScript"));
    load << file.fileName() << name;
    const QDBusMessage loaded = bus_.call(load, QDBus::Block, kCallTimeoutMs);
    if (loaded.type() != QDBusMessage::ReplyMessage || loaded.arguments().isEmpty()) {
        std::fprintf(stderr, "tovrimo: KWin did not take the keep-above script: %s\n",
                     qPrintable(loaded.errorMessage()));
        return false;
    }
    const int id = loaded.arguments().constFirst().toInt();
    const QDBusMessage ran =
        bus_.call(QDBusMessage::createMethodCall(kService, QStringLiteral("/%1").arg(id),
                                                 QStringLiteral("org.kde.kwin.Script"),
                                                 QStringLiteral("run")),
                  QDBus::Block, kCallTimeoutMs);
    QDBusMessage unload = QDBusMessage::createMethodCall(kService, kScriptingPath, kScripting,
                                                         QStringLiteral("unloadScript"));
    unload << name;
    bus_.call(unload, QDBus::Block, kCallTimeoutMs);
    return ran.type() == QDBusMessage::ReplyMessage;
}

}  // namespace tovrimo
