// The Wayland backends' portal side against a stand-in portal on a private session bus: the
// calls they make, the answers they take, and what the user is told when the desktop says no.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <memory>

#include "doubles/RecordingMessageBoxes.h"
#include "harness/Process.h"
#include "platform/wayland/KWinScreenGrabber.h"
#include "platform/wayland/PortalHotKeyRegistrar.h"
#include "platform/wayland/PortalScreenGrabber.h"
#include "platform/wayland/WaylandTexts.h"

namespace tovrimo {
namespace {

using namespace std::chrono_literals;
using test::Process;
using test::RecordingMessageBoxes;

// A session bus of the test's own, so no real portal can answer: it activates no services
// (the machine's session configuration would start the installed xdg-desktop-portal, whose
// backends may offer anything).
class PrivateBus {
public:
    PrivateBus()
    {
        address_ = "unix:path=" + folder_.filePath(QStringLiteral("bus")).toStdString();
        const QString config = folder_.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) return;
        file.write(
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
            "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>");
        file.write(address_.c_str());
        file.write(
            "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
            "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
            "<allow own=\"*\"/></policy></busconfig>\n");
        file.close();
        daemon_ = std::make_unique<Process>(
            "dbus-daemon", Process::Options{{"--config-file=" + config.toStdString(), "--nofork"}});
        if (!daemon_->start()) return;
        for (int i = 0; i < 200 && !QFile::exists(folder_.filePath(QStringLiteral("bus"))); ++i)
            QThread::msleep(10);
        static int connections = 0;
        connection_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
            QString::fromStdString(address_), QStringLiteral("portal-test-%1").arg(++connections)));
    }
    ~PrivateBus()
    {
        if (connection_) QDBusConnection::disconnectFromBus(connection_->name());
        if (daemon_) daemon_->stop();
    }
    bool connected() const { return connection_ && connection_->isConnected(); }
    QDBusConnection connection() const { return *connection_; }
    const std::string& address() const { return address_; }

private:
    QTemporaryDir folder_;
    std::string address_;
    std::unique_ptr<Process> daemon_;
    std::unique_ptr<QDBusConnection> connection_;
};

// The stand-in portal. Its lines on stdout tell what it was asked; "activate <id>" on its
// stdin makes it report a shortcut as pressed.
class StubPortal {
public:
    StubPortal(const PrivateBus& bus, const QStringList& switches) : bus_(bus)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                   QString::fromStdString(bus.address()));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(TOVRIMO_PORTAL_STUB), switches);
    }
    ~StubPortal()
    {
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
        // The bus lets go of the portal's name a moment after the stub is gone; the next
        // stub of the same test must not find it still taken.
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 3000 && bus_.connection().interface()->isServiceRegistered(
                                             QStringLiteral("org.freedesktop.portal.Desktop")))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    // Runs our event loop until the stub prints a line starting with `prefix`; the line, or
    // an empty string at the timeout. Earlier lines are kept in `lines`.
    QString waitForLine(const QString& prefix, std::chrono::milliseconds timeout = 10s)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeout.count()) {
            while (process_.canReadLine()) {
                const QString line = QString::fromUtf8(process_.readLine()).trimmed();
                lines << line;
                if (line.startsWith(prefix)) return line;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            process_.waitForReadyRead(10);
        }
        return {};
    }
    void send(const QByteArray& line) { process_.write(line + '\n'); }
    QStringList lines;

private:
    const PrivateBus& bus_;
    QProcess process_;
};

// Runs the event loop until the condition holds (signals from the bus arrive through it);
// false after the timeout.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout = 5s)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeout.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs the event loop for a while: signals from the bus arrive through it.
void Settle(std::chrono::milliseconds time)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < time.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class PortalHotKeysTest : public ::testing::Test {
protected:
    PrivateBus bus;
};

TEST_F(PortalHotKeysTest, TheSlotsAreBoundTogetherWithTheirCombinationsAndAnActivationRunsTheSlot)
{
    ASSERT_TRUE(bus.connected());
    StubPortal portal(bus, {QStringLiteral("--shortcuts")});
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
    PortalHotKeyRegistrar registrar(bus.connection());
    std::vector<int> pressed;
    QObject::connect(&registrar, &HotKeyRegistrar::pressed,
                     [&](int slot) { pressed.push_back(slot); });

    EXPECT_TRUE(registrar.offersGlobalHotKeys());
    EXPECT_TRUE(registrar.registerHotKey(0, Qt::ControlModifier | Qt::AltModifier | Qt::Key_P));
    EXPECT_TRUE(registrar.registerHotKey(9, Qt::ShiftModifier | Qt::Key_F5));  // F5
    // Another slot may not take a combination that is already bound.
    EXPECT_FALSE(registrar.registerHotKey(4, Qt::AltModifier | Qt::ControlModifier | Qt::Key_P));
    // Nor can a key without a name be bound.
    EXPECT_FALSE(registrar.registerHotKey(5, Qt::ControlModifier | Qt::Key_unknown));

    ASSERT_FALSE(portal.waitForLine(QStringLiteral("bind done")).isEmpty())
        << portal.lines.join('\n').toStdString();
    const QString session = registrar.sessionHandle();
    ASSERT_FALSE(session.isEmpty());
    EXPECT_TRUE(portal.lines.contains(QStringLiteral("bound %1 slot0 CTRL+ALT+p").arg(session)))
        << portal.lines.join('\n').toStdString();
    EXPECT_TRUE(portal.lines.contains(QStringLiteral("bound %1 slot9 SHIFT+F5").arg(session)));
    EXPECT_EQ(portal.lines.filter(QStringLiteral("bound ")).size(), 2);
    // The desktop's answer named both: they are in force, the refused ones are not.
    EXPECT_TRUE(WaitUntil([&] { return registrar.isBound(0) && registrar.isBound(9); }));
    EXPECT_FALSE(registrar.isBound(4));
    EXPECT_FALSE(registrar.isBound(5));

    portal.send("activate slot9");
    Settle(300ms);
    EXPECT_EQ(pressed, std::vector<int>{9});
    // An id that is none of ours is ignored.
    portal.send("activate screenshot");
    Settle(300ms);
    EXPECT_EQ(pressed, std::vector<int>{9});
}

// Plasma 5.27's portal takes the session and binds an empty list: nothing is in force, so
// nothing may say the hot keys work.
TEST_F(PortalHotKeysTest, ADesktopThatBindsNothingLeavesEverySlotUnbound)
{
    ASSERT_TRUE(bus.connected());
    StubPortal portal(bus, {QStringLiteral("--shortcuts=none")});
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
    PortalHotKeyRegistrar registrar(bus.connection());
    EXPECT_TRUE(registrar.registerHotKey(0, Qt::ControlModifier | Qt::AltModifier | Qt::Key_P));
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("bind done")).isEmpty());
    Settle(300ms);
    EXPECT_TRUE(registrar.offersGlobalHotKeys());
    EXPECT_FALSE(registrar.isBound(0));
}

TEST_F(PortalHotKeysTest, AChangedSetClosesTheOldSessionAndBindsTheNewSetInANewOne)
{
    ASSERT_TRUE(bus.connected());
    StubPortal portal(bus, {QStringLiteral("--shortcuts")});
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
    PortalHotKeyRegistrar registrar(bus.connection());
    std::vector<int> pressed;
    QObject::connect(&registrar, &HotKeyRegistrar::pressed,
                     [&](int slot) { pressed.push_back(slot); });
    ASSERT_TRUE(registrar.registerHotKey(1, Qt::ControlModifier | Qt::Key_A));
    ASSERT_TRUE(registrar.registerHotKey(2, Qt::ControlModifier | Qt::Key_B));
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("bind done")).isEmpty());
    const QString first = registrar.sessionHandle();

    registrar.unregisterHotKey(2);
    // The freed combination may go to another slot.
    ASSERT_TRUE(registrar.registerHotKey(3, Qt::ControlModifier | Qt::Key_B));
    portal.lines.clear();
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("bind done")).isEmpty());
    const QString second = registrar.sessionHandle();
    EXPECT_NE(second, first);
    EXPECT_TRUE(portal.lines.contains(QStringLiteral("closed %1").arg(first)))
        << portal.lines.join('\n').toStdString();
    EXPECT_EQ(portal.lines.filter(QStringLiteral("bound ")),
              (QStringList{QStringLiteral("bound %1 slot1 CTRL+a").arg(second),
                           QStringLiteral("bound %1 slot3 CTRL+b").arg(second)}));

    portal.send("activate slot3");
    Settle(300ms);
    EXPECT_EQ(pressed, std::vector<int>{3});
}

TEST_F(PortalHotKeysTest, WithoutTheServiceNothingCanBeClaimed)
{
    ASSERT_TRUE(bus.connected());
    // A portal that offers screenshots only, as sway's and GNOME 43's do.
    StubPortal portal(bus, {QStringLiteral("--screenshot=refuse")});
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
    PortalHotKeyRegistrar registrar(bus.connection());
    EXPECT_FALSE(registrar.offersGlobalHotKeys());
    EXPECT_FALSE(registrar.registerHotKey(0, Qt::ControlModifier | Qt::AltModifier | Qt::Key_P));

    // No portal on the bus at all.
    PrivateBus empty;
    ASSERT_TRUE(empty.connected());
    PortalHotKeyRegistrar lonely(empty.connection());
    EXPECT_FALSE(lonely.offersGlobalHotKeys());
    EXPECT_FALSE(lonely.registerHotKey(0, Qt::ControlModifier | Qt::AltModifier | Qt::Key_P));
}

class PortalScreenshotTest : public ::testing::Test {
protected:
    PrivateBus bus;
    RecordingMessageBoxes boxes;
    QTemporaryDir folder;

    // A 300×200 picture with a different colour in each quarter.
    QString writePicture()
    {
        QImage picture(300, 200, QImage::Format_RGB32);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                picture.setPixel(x, y, qRgb(x < 150 ? 200 : 20, y < 100 ? 180 : 40, 90));
        const QString path = folder.filePath(QStringLiteral("desktop.png"));
        EXPECT_TRUE(picture.save(path));
        picture_ = picture;
        return path;
    }
    QImage picture_;
};

TEST_F(PortalScreenshotTest, TheRectangleIsCutFromThePortalsPictureAndItsFileIsDeleted)
{
    ASSERT_TRUE(bus.connected());
    StubPortal portal(bus, {QStringLiteral("--screenshot=file:") + writePicture()});
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
    PortalScreenGrabber grabber(boxes, bus.connection());

    const QImage part = grabber.grab({140, 90, 190, 130});
    ASSERT_EQ(part.size(), QSize(50, 40));
    EXPECT_EQ(part.format(), QImage::Format_RGB32);
    for (const QPoint p : {QPoint(0, 0), QPoint(9, 9), QPoint(10, 10), QPoint(49, 39)})
        EXPECT_EQ(part.pixel(p), picture_.pixel(p + QPoint(140, 90))) << p.x() << "," << p.y();
    const QString answered = portal.waitForLine(QStringLiteral("screenshot"));
    EXPECT_EQ(answered, QStringLiteral("screenshot interactive=0"));
    const QString handedOver = portal.waitForLine(QStringLiteral("file "));
    ASSERT_FALSE(handedOver.isEmpty());
    EXPECT_FALSE(QFile::exists(handedOver.mid(5))) << "the portal's file was left behind";

    // Beyond the picture's edge the rectangle is black, as off the screen on X11.
    const QImage edge = grabber.grab({280, 190, 320, 210});
    ASSERT_EQ(edge.size(), QSize(40, 20));
    EXPECT_EQ(edge.pixel(5, 5), picture_.pixel(285, 195));
    EXPECT_EQ(edge.pixel(30, 5), qRgb(0, 0, 0));
    EXPECT_EQ(edge.pixel(5, 15), qRgb(0, 0, 0));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PortalScreenshotTest, APickedWindowComesBackWholeFromAnInteractiveRequest)
{
    ASSERT_TRUE(bus.connected());
    StubPortal portal(bus, {QStringLiteral("--screenshot=file:") + writePicture()});
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
    PortalScreenGrabber grabber(boxes, bus.connection());
    grabber.pickNextGrabInteractively();
    const QImage picked = grabber.grab({0, 0, 10, 10});
    EXPECT_EQ(picked.size(), QSize(300, 200));
    EXPECT_EQ(portal.waitForLine(QStringLiteral("screenshot")),
              QStringLiteral("screenshot interactive=1"));
    // Only the next grab: the one after is an ordinary one again.
    EXPECT_EQ(grabber.grab({0, 0, 10, 10}).size(), QSize(10, 10));
    EXPECT_EQ(portal.waitForLine(QStringLiteral("screenshot")),
              QStringLiteral("screenshot interactive=0"));
}

// The portal's own dialog to pick a window, closed by the user: a refusal, whether the portal
// says "cancelled" (GNOME 43) or "ended in some other way" (GNOME 48).
TEST_F(PortalScreenshotTest, APickerClosedWithoutAChoiceIsARefusalHoweverThePortalEndsIt)
{
    ASSERT_TRUE(bus.connected());
    for (const char* ending : {"refuse", "fail"}) {
        SCOPED_TRACE(ending);
        RecordingMessageBoxes told;
        StubPortal portal(bus, {QStringLiteral("--screenshot=") + QLatin1String(ending)});
        ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
        PortalScreenGrabber grabber(told, bus.connection());
        grabber.pickNextGrabInteractively();
        EXPECT_TRUE(grabber.grab({0, 0, 10, 10}).isNull());
        ASSERT_EQ(told.shown.size(), 1u);
        EXPECT_EQ(told.shown[0].text.rfind("画面の取り込みが許可されませんでした。", 0), 0u)
            << told.shown[0].text;
    }
}

TEST_F(PortalScreenshotTest, ARefusalOrAFailureIsToldAndGivesNothing)
{
    struct Case {
        const char* name;
        QStringList switches;
        const char* message;
    };
    const Case cases[] = {
        {"refused", {QStringLiteral("--screenshot=refuse")}, texts::kScreenshotRefused},
        {"failed", {QStringLiteral("--screenshot=fail")}, texts::kScreenshotFailed},
        // The portal is there but offers no screenshots.
        {"not offered", {QStringLiteral("--shortcuts")}, texts::kScreenshotFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingMessageBoxes told;
        StubPortal portal(bus, c.switches);
        ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
        PortalScreenGrabber grabber(told, bus.connection());
        EXPECT_TRUE(grabber.grab({0, 0, 100, 100}).isNull());
        ASSERT_EQ(told.shown.size(), 1u);
        EXPECT_EQ(told.shown[0].caption, "トヴリモ");
        EXPECT_EQ(told.shown[0].text.rfind(c.message, 0), 0u) << told.shown[0].text;
    }
}

TEST_F(PortalScreenshotTest, APortalThatNeverAnswersIsGivenUpAfterTheTimeAllowed)
{
    ASSERT_TRUE(bus.connected());
    StubPortal portal(bus, {QStringLiteral("--screenshot=silent")});
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
    PortalScreenGrabber grabber(boxes, bus.connection());
    grabber.setAnswerTimeout(500);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(grabber.grab({0, 0, 100, 100}).isNull());
    EXPECT_LT(clock.elapsed(), 5000);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.rfind(texts::kScreenshotFailed, 0), 0u);
    // The request is withdrawn, so a dialog the portal shows for it goes away.
    EXPECT_FALSE(portal.waitForLine(QStringLiteral("request closed")).isEmpty())
        << portal.lines.join('\n').toStdString();
}

}  // namespace
}  // namespace tovrimo

namespace tovrimo {
namespace {

// A portal that drops the request without answering (GNOME's, when its dialog timed out) or
// goes away: the capture ends within seconds, not after the two minutes allowed for a dialog.
TEST_F(PortalScreenshotTest, ADroppedRequestOrAPortalThatGoesAwayEndsTheCaptureWithinSeconds)
{
    for (const char* mode : {"abandon", "vanish"}) {
        SCOPED_TRACE(mode);
        RecordingMessageBoxes told;
        StubPortal portal(bus, {QStringLiteral("--screenshot=") + QLatin1String(mode)});
        ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
        PortalScreenGrabber grabber(told, bus.connection());
        QElapsedTimer clock;
        clock.start();
        EXPECT_TRUE(grabber.grab({0, 0, 100, 100}).isNull());
        EXPECT_LT(clock.elapsed(), 5000);
        ASSERT_EQ(told.shown.size(), 1u);
        EXPECT_EQ(told.shown[0].text.rfind(texts::kScreenshotFailed, 0), 0u) << told.shown[0].text;
        EXPECT_NE(told.shown[0].text.find(texts::kScreenshotAbandoned), std::string::npos)
            << told.shown[0].text;
    }
}

// GNOME keeps its answer in the permission store: what the user is told follows from it.
TEST_F(PortalScreenshotTest, GnomesStoredPermissionDecidesWhatTheUserIsTold)
{
    const QString picture = writePicture();
    struct Case {
        const char* name;
        QString permission;
        QString screenshot;
        const char* message;  // nullptr: a picture, no message
    };
    const Case cases[] = {
        {"allowed: no question, a picture", QStringLiteral("yes"),
         QStringLiteral("file:") + picture, nullptr},
        // A stored "no" makes the portal fail the request without asking: it is a refusal,
        // with the way to allow it.
        {"refused", QStringLiteral("no"), QStringLiteral("fail"),
         texts::kScreenshotPermissionRefused},
        // Nothing stored: the desktop asks; unanswered, the program says what was asked.
        {"unanswered", QStringLiteral("none"), QStringLiteral("silent"),
         texts::kScreenshotPermissionNotGiven},
        {"denied in the dialog", QStringLiteral("none"), QStringLiteral("refuse"),
         texts::kScreenshotPermissionNotGiven},
        // GNOME 48 ends an unanswered question "in some other way": still not given.
        {"question ended otherwise", QStringLiteral("none"), QStringLiteral("fail"),
         texts::kScreenshotPermissionNotGiven},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingMessageBoxes told;
        StubPortal portal(bus, {QStringLiteral("--screenshot=") + c.screenshot,
                                QStringLiteral("--permission=") + c.permission});
        ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
        PortalScreenGrabber grabber(told, bus.connection());
        grabber.setAsksForPermission(true);
        grabber.setAnswerTimeout(500);
        const QImage shot = grabber.grab({0, 0, 100, 100});
        EXPECT_FALSE(portal.waitForLine(QStringLiteral("permission looked up")).isEmpty());
        if (!c.message) {
            EXPECT_EQ(shot.size(), QSize(100, 100));
            EXPECT_TRUE(told.shown.empty());
            continue;
        }
        EXPECT_TRUE(shot.isNull());
        // With nothing stored, the program first says what the desktop is about to ask.
        const bool asked = c.permission == QLatin1String("none");
        ASSERT_EQ(told.shown.size(), asked ? 2u : 1u);
        if (asked) {
            EXPECT_EQ(told.shown[0].text, texts::kScreenshotPermissionAsked);
        }
        EXPECT_EQ(told.shown.back().text, c.message);
        // Its first line is the refusal's, which a failed job writes on stderr.
        EXPECT_EQ(told.shown.back().text.rfind("画面の取り込みが許可されませんでした。\n", 0), 0u);
    }
    // Elsewhere (KDE, sway) the store is not the desktop's concern and is not asked.
    RecordingMessageBoxes told;
    StubPortal portal(
        bus, {QStringLiteral("--screenshot=file:") + picture, QStringLiteral("--permission=no")});
    ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
    PortalScreenGrabber grabber(told, bus.connection());
    grabber.setAsksForPermission(false);
    EXPECT_FALSE(grabber.grab({0, 0, 100, 100}).isNull());
    EXPECT_TRUE(portal.waitForLine(QStringLiteral("permission looked up"), 300ms).isEmpty());
}

// KWin's own service: the picture comes through the pipe, the active window without its
// shadow; a refusal falls back to the portal, whose refusal then says how to allow us.
TEST_F(PortalScreenshotTest, KWinsPictureComesThroughItsPipeAndItsRefusalFallsBackToThePortal)
{
    // A window of 60 x 40 inside a 10-pixel shadow that is not fully opaque.
    QImage window(80, 60, QImage::Format_ARGB32);
    window.fill(qRgba(0, 0, 0, 60));
    for (int y = 10; y < 50; ++y)
        for (int x = 10; x < 70; ++x) window.setPixel(x, y, qRgb(x * 3, y * 4, 120));
    const QString windowFile = folder.filePath(QStringLiteral("window.png"));
    ASSERT_TRUE(window.save(windowFile));
    const QString desktopFile = writePicture();
    {
        StubPortal portal(bus, {QStringLiteral("--screenshot=refuse"),
                                QStringLiteral("--kwin=file:") + desktopFile});
        ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
        PortalScreenGrabber fallback(boxes, bus.connection());
        KWinScreenGrabber grabber(fallback, bus.connection());
        const QImage part = grabber.grab({140, 90, 190, 130});
        ASSERT_EQ(part.size(), QSize(50, 40));
        for (const QPoint p : {QPoint(0, 0), QPoint(10, 10), QPoint(49, 39)})
            EXPECT_EQ(part.pixel(p), picture_.pixel(p + QPoint(140, 90))) << p.x() << "," << p.y();
        EXPECT_EQ(portal.waitForLine(QStringLiteral("kwin")),
                  QStringLiteral("kwin CaptureWorkspace"));
        EXPECT_EQ(grabber.access(), KWinScreenGrabber::Access::Allowed);
        EXPECT_TRUE(portal.lines.filter(QStringLiteral("screenshot")).isEmpty())
            << "the portal was asked as well";
        EXPECT_TRUE(boxes.shown.empty());
    }
    {
        StubPortal portal(bus, {QStringLiteral("--screenshot=refuse"),
                                QStringLiteral("--kwin=file:") + windowFile});
        ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
        PortalScreenGrabber fallback(boxes, bus.connection());
        KWinScreenGrabber grabber(fallback, bus.connection());
        grabber.grabActiveWindowNext();
        const QImage picked = grabber.grab({0, 0, 10, 10});
        EXPECT_EQ(portal.waitForLine(QStringLiteral("kwin")),
                  QStringLiteral("kwin CaptureActiveWindow"));
        ASSERT_EQ(picked.size(), QSize(60, 40)) << "the shadow was kept";
        EXPECT_EQ(picked.pixel(0, 0), window.pixel(10, 10));
        EXPECT_EQ(picked.pixel(59, 39), window.pixel(69, 49));
    }
    {
        RecordingMessageBoxes told;
        StubPortal portal(bus,
                          {QStringLiteral("--screenshot=refuse"), QStringLiteral("--kwin=refuse")});
        ASSERT_FALSE(portal.waitForLine(QStringLiteral("ready")).isEmpty());
        PortalScreenGrabber fallback(told, bus.connection());
        KWinScreenGrabber grabber(fallback, bus.connection());
        EXPECT_TRUE(grabber.grab({0, 0, 100, 100}).isNull());
        EXPECT_EQ(grabber.access(), KWinScreenGrabber::Access::Refused);
        EXPECT_EQ(portal.waitForLine(QStringLiteral("screenshot")),
                  QStringLiteral("screenshot interactive=0"));
        ASSERT_EQ(told.shown.size(), 1u);
        const std::string& text = told.shown[0].text;
        EXPECT_EQ(text.rfind(texts::kScreenshotRefused, 0), 0u) << text;
        EXPECT_NE(text.find(texts::kKWinNotAllowed), std::string::npos) << text;
        EXPECT_NE(text.find("X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2"),
                  std::string::npos);
        EXPECT_NE(text.find("Exec=" + QCoreApplication::applicationFilePath().toStdString()),
                  std::string::npos)
            << text;
        // KWin has said no for this process: the next capture goes straight to the portal, and
        // the way to allow it is not said again.
        portal.lines.clear();
        EXPECT_TRUE(grabber.grab({0, 0, 100, 100}).isNull());
        EXPECT_FALSE(portal.waitForLine(QStringLiteral("screenshot")).isEmpty());
        EXPECT_TRUE(portal.lines.filter(QStringLiteral("kwin")).isEmpty());
        ASSERT_EQ(told.shown.size(), 2u);
        EXPECT_EQ(told.shown[1].text, texts::kScreenshotRefused);
    }
}

}  // namespace
}  // namespace tovrimo
