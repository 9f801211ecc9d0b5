#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QTransform>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "harness/Ink.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/Process.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/WaylandSession.h"
#include "harness/WaylandTestSession.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

// The built program in the headless sway session: what it prints, copies and refuses there.
// Pages are rendered at 96 dpi, the screen's own resolution, so that a printed screen pixel at
// actual size is one pixel of the rendered page.

namespace {

constexpr int kDpi = 96;
// Where xdg-desktop-portal-wlr leaves every picture it takes.
constexpr const char* kPortalPicture = "/tmp/out.png";
// Something on the desktop that is neither the background nor the page.
constexpr const char* kWindowColour = "#c03080";
// Waybar's strip along the top of the screen, the tray's home.
constexpr const char* kBarColour = "#202020";
constexpr int kBarHeight = 28;

WaylandSession& Session()
{
    return WaylandTestSession::current().wayland();
}

PrivateCups& Cups()
{
    return WaylandTestSession::current().cups();
}

QColor Background()
{
    return QColor(QString::fromStdString(Session().options().background));
}

std::chrono::milliseconds Since(std::chrono::steady_clock::time_point begin)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 begin);
}

std::string Tail(const std::string& text, size_t length = 1500)
{
    return text.size() <= length ? text : "..." + text.substr(text.size() - length);
}

// Prints at once on the A4 queue's A3 landscape sheet, which holds the whole 1280 x 800
// output at actual size (13.3 x 8.3 in, the printable area is 16 x 11.2 in), in the top-left
// corner of the printable area, without a title.
void WriteSettings(TovrimoProcess& tovrimo, const std::string& options = "")
{
    const std::string file = tovrimo.settingsFile();
    {
        std::ofstream ini(file, std::ios::trunc);
        ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
            << options << "[DefaultPrinter]\nDeviceName=" << TestSession::kA4Queue
            << "\nOrientation=2\nPaperSize=8\nPaperBin=0\n"
            << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\nTitleText=\n"
            << "TitleVAlign=1\n";
    }
    // The program runs as the session's user and saves its settings there.
    if (::geteuid() != Session().uid() && ::chown(file.c_str(), Session().uid(), Session().gid()))
        ADD_FAILURE() << "cannot hand " << file << " to the session's user";
}

// The program's own output and the end of sway's, for a failure message.
std::string Diagnostics(TovrimoProcess& tovrimo)
{
    return "\nprogram's stderr:\n" + Tail(tovrimo.process().standardError()) + "\nsway's log:\n" +
           Tail(Session().swayLog());
}

// Moves the cursor from a pointer device, not through sway's IPC: sway sends a window no
// motion while a button pressed through its IPC is down. The session installed the tool for
// its own pointer; that copy is running and cannot be replaced, so it is used as it is.
bool DeviceMoveTo(int x, int y, const WaylandSession& session = Session())
{
    const std::string tool = session.folder() + "/bin/" +
                             std::filesystem::path(TOVRIMO_VIRTUAL_POINTER).filename().string();
    return session
               .run(tool, {{"--move", std::to_string(x), std::to_string(y),
                            std::to_string(session.layoutWidth()),
                            std::to_string(session.layoutHeight())}})
               .exitCode() == 0;
}

// One window of the program (a message box, the region screen) in sway's tree.
std::optional<WaylandSession::Window> WindowOf(TovrimoProcess& tovrimo, const std::string& title,
                                               std::chrono::milliseconds timeout)
{
    std::optional<WaylandSession::Window> found;
    WaitFor(
        [&] {
            for (const WaylandSession::Window& window : Session().windows())
                if (window.pid == tovrimo.process().pid() &&
                    std::regex_search(window.title, std::regex(title))) {
                    found = window;
                    return true;
                }
            return !tovrimo.running();
        },
        timeout);
    return found;
}

// dbus-send on the session's bus as its user: what it printed, empty when the call failed.
std::string BusCall(std::vector<std::string> args)
{
    args.insert(args.begin(), {"--session", "--print-reply"});
    const Process call = Session().run("dbus-send", Process::Options(args), 10s);
    return call.exitCode() == 0 ? call.standardOutput() : std::string();
}

std::vector<std::string> QuotedStrings(const std::string& text)
{
    std::vector<std::string> strings;
    const std::regex quoted("string \"([^\"]*)\"");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), quoted);
         it != std::sregex_iterator(); ++it)
        strings.push_back((*it)[1]);
    return strings;
}

// Waybar with nothing but its tray: the StatusNotifierItem watcher and host of the session,
// as the notification area of a sway desktop.
class Waybar {
public:
    bool start()
    {
        const std::string folder = Session().folder() + "/waybar";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/config", std::ios::trunc)
            << R"({"layer": "top", "position": "top", "height": )" << kBarHeight
            << R"(, "modules-right": ["tray"],)"
            << R"( "tray": {"icon-size": 20, "spacing": 4}})"
            << "\n";
        // A dark bar, so that it is ink on a printed page and the icon stands out on it.
        std::ofstream(folder + "/style.css", std::ios::trunc)
            << "* { font-family: sans-serif; font-size: 12px; }\n"
            << "window#waybar { background: " << kBarColour << "; }\n";
        process_ =
            Session().launch("waybar", {{"-c", folder + "/config", "-s", folder + "/style.css"}});
        if (process_.pid() <= 0) return false;
        return WaitFor(
                   [&] {
                       if (!process_.running()) return true;
                       return BusCall({"--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus.NameHasOwner",
                                       "string:org.kde.StatusNotifierWatcher"})
                                  .find("boolean true") != std::string::npos;
                   },
                   20s) &&
               process_.running();
    }
    void stop() { process_.stop(); }
    // The middle of the icons in the bar, found on the screen: everything in the bar that is
    // not its colour (nothing when the bar shows no icon).
    std::optional<QPoint> iconCentre() const
    {
        const QImage shot = Session().screenshot();
        QRect icons;
        for (int y = 0; y < kBarHeight && y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (QColor(shot.pixel(x, y)).name() != QColor(kBarColour).name())
                    icons |= QRect(x, y, 1, 1);
        if (icons.isEmpty()) return std::nullopt;
        return icons.center();
    }
    std::string errors() const { return Tail(process_.standardError()); }
    pid_t pid() const { return process_.pid(); }

private:
    Process process_;
};

// The program's item as the watcher registered it, and the menu it exports (dbusmenu).
class TrayItem {
public:
    // Waits until the watcher has an item whose bus connection belongs to the process.
    bool find(pid_t pid, std::chrono::milliseconds timeout)
    {
        return WaitFor(
            [&] {
                const std::string reply = BusCall(
                    {"--dest=org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                     "org.freedesktop.DBus.Properties.Get", "string:org.kde.StatusNotifierWatcher",
                     "string:RegisteredStatusNotifierItems"});
                for (const std::string& item : QuotedStrings(reply)) {
                    std::string service = item;
                    std::string path = "/StatusNotifierItem";
                    if (const auto slash = item.find('/'); slash != std::string::npos) {
                        service = item.substr(0, slash);
                        path = item.substr(slash);
                    }
                    const std::string owner = BusCall(
                        {"--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus.GetConnectionUnixProcessID", "string:" + service});
                    if (owner.find("uint32 " + std::to_string(pid) + "\n") == std::string::npos)
                        continue;
                    service_ = service;
                    path_ = path;
                    return readMenuPath();
                }
                return false;
            },
            timeout);
    }

    // Opens the submenu and clicks its item the way a host does when the user picks it:
    // AboutToShow for the menus on the way, then Event(id, "clicked").
    bool click(const std::string& submenu, const std::string& item, std::string* why)
    {
        const auto menuId = childWithLabel(0, submenu);
        if (!menuId) {
            *why = "no submenu " + submenu + " in the exported menu:\n" + layout(0);
            return false;
        }
        const auto itemId = childWithLabel(*menuId, item);
        if (!itemId) {
            *why = "no item " + item + " in " + submenu + ":\n" + layout(*menuId);
            return false;
        }
        for (int id : {0, *menuId})
            BusCall({"--dest=" + service_, menuPath_, "com.canonical.dbusmenu.AboutToShow",
                     "int32:" + std::to_string(id)});
        const bool sent =
            Session()
                .run("dbus-send",
                     {{"--session", "--print-reply", "--dest=" + service_, menuPath_,
                       "com.canonical.dbusmenu.Event", "int32:" + std::to_string(*itemId),
                       "string:clicked", "variant:int32:0", "uint32:0"}})
                .exitCode() == 0;
        if (!sent) *why = "the item's Event call failed";
        return sent;
    }

    const std::string& service() const { return service_; }

private:
    bool readMenuPath()
    {
        const std::string reply =
            BusCall({"--dest=" + service_, path_, "org.freedesktop.DBus.Properties.Get",
                     "string:org.kde.StatusNotifierItem", "string:Menu"});
        std::smatch m;
        if (!std::regex_search(reply, m, std::regex("object path \"([^\"]+)\""))) return false;
        menuPath_ = m[1];
        return menuPath_ != "/NO_DBUSMENU";
    }

    std::string layout(int parent) const
    {
        return BusCall({"--dest=" + service_, menuPath_, "com.canonical.dbusmenu.GetLayout",
                        "int32:" + std::to_string(parent), "int32:1",
                        "array:string:label,visible,type"});
    }

    // The direct child of the menu item with this label that is not hidden.
    std::optional<int> childWithLabel(int parent, const std::string& label) const
    {
        const std::string text = layout(parent);
        const std::regex child("struct \\{\\s*int32 ([0-9]+)\\s*array \\[([^\\]]*)\\]");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), child);
             it != std::sregex_iterator(); ++it) {
            const int id = std::stoi((*it)[1]);
            const std::string props = (*it)[2];
            if (id == parent) continue;
            if (std::regex_search(props, std::regex("\"visible\"\\s*variant\\s*boolean false")))
                continue;
            if (props.find("string \"" + label + "\"") != std::string::npos) return id;
        }
        return std::nullopt;
    }

    std::string service_;
    std::string path_;
    std::string menuPath_;
};

// A window of one colour, floated to a place and size of the test's choosing.
class ColourWindow {
public:
    ColourWindow(int x, int y, int width, int height)
        : title_("colour-" + std::to_string(::getpid()) + "-" + std::to_string(++count_))
    {
        process_ = Session().launch(Session().installProgram(TOVRIMO_COLOUR_WINDOW),
                                    {{title_, kWindowColour}});
        const std::string criteria = "[title=\"^" + title_ + "$\"] ";
        placed_ = Session().waitForWindow("^" + title_ + "$", 15s).has_value() &&
                  Session().swayCommand(criteria + "floating enable, resize set width " +
                                        std::to_string(width) + " px height " +
                                        std::to_string(height) + " px") &&
                  Session().swayCommand(criteria + "move absolute position " + std::to_string(x) +
                                        " " + std::to_string(y));
    }
    ~ColourWindow() { process_.stop(); }
    // Where sway put the client area, once it has settled.
    std::optional<WaylandSession::Window> window() const
    {
        if (!placed_) return std::nullopt;
        return Session().waitForWindow("^" + title_ + "$", 5s);
    }
    bool shown() const
    {
        return WaitFor(
            [&] { return process_.standardOutput().find("shown\n") != std::string::npos; }, 10s);
    }
    std::string errors() const { return process_.standardError(); }

private:
    static inline int count_ = 0;
    std::string title_;
    Process process_;
    bool placed_ = false;
};

// The pixels that differ between two pictures of the screen, outside the rectangles left out
// (where the cursor was or is, what is already known).
QRect Changed(const QImage& before, const QImage& after, const std::vector<QRect>& leftOut)
{
    QRect changed;
    if (before.size() != after.size()) return changed;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) == after.pixel(x, y)) continue;
            if (std::none_of(leftOut.begin(), leftOut.end(),
                             [&](const QRect& r) { return r.contains(x, y); }))
                changed |= QRect(x, y, 1, 1);
        }
    return changed;
}

// The lines of text of a menu on the screen, top to bottom: runs of rows of the box that hold
// dark pixels. Separators and greyed-out items are light and do not count.
std::vector<QRect> TextLines(const QImage& shot, const QRect& box)
{
    std::vector<QRect> lines;
    bool inLine = false;
    for (int y = box.top(); y <= box.bottom() + 1; ++y) {
        bool dark = false;
        for (int x = box.left(); y <= box.bottom() && x <= box.right() && !dark; ++x) {
            const QColor c(shot.pixel(x, y));
            dark = c.red() < 100 && c.green() < 100 && c.blue() < 100;
        }
        if (dark && !inLine) lines.emplace_back(box.left(), y, box.width(), 1);
        if (dark && inLine) lines.back().setBottom(y);
        inLine = dark;
    }
    return lines;
}

// Right-clicks the program's icon in waybar and picks an item of one of the menu's submenus
// with the pointer, as a user does: the item'th line of the submenu that opens on the
// submenu'th line of the menu. Waybar's menus are popups of its own, not in sway's tree, so
// they are found on the screen as what changed there.
bool PickFromTrayMenu(const Waybar& waybar, int submenu, int item, std::string* why,
                      std::chrono::steady_clock::time_point* clickedAt)
{
    // The pointer off the bar first, so that the icon is all that is not bar there.
    Session().moveTo(Session().layoutWidth() / 2, Session().layoutHeight() / 2);
    const auto icon = waybar.iconCentre();
    if (!icon) {
        *why = "no icon in waybar's bar";
        return false;
    }
    Session().moveTo(icon->x(), icon->y());
    // The icon and the cursor on it change as they are clicked: they are no part of a menu.
    const QRect onIcon(icon->x() - 16, icon->y() - 16, 40, 40);
    constexpr int kLeastMenuWidth = 60;
    const QImage closed = Session().screenshot();
    QImage shot;
    QRect menu;
    Session().click(3);
    if (!WaitFor(
            [&] {
                shot = Session().screenshot();
                menu = Changed(closed, shot, {onIcon});
                return menu.width() >= kLeastMenuWidth &&
                       TextLines(shot, menu).size() > static_cast<size_t>(submenu);
            },
            10s)) {
        *why = "no menu after a right click on the icon at " + std::to_string(icon->x()) + "," +
               std::to_string(icon->y());
        return false;
    }
    const QRect entry = TextLines(shot, menu).at(static_cast<size_t>(submenu));
    // Hovering opens the submenu beside the menu, on whichever side has room.
    Session().moveTo(menu.center().x(), entry.center().y());
    const QImage opened = shot;
    QRect sub;
    if (!WaitFor(
            [&] {
                shot = Session().screenshot();
                sub = Changed(opened, shot, {onIcon, menu});
                return sub.width() >= kLeastMenuWidth &&
                       TextLines(shot, sub).size() > static_cast<size_t>(item);
            },
            10s)) {
        *why = "no submenu on the menu's line " + std::to_string(submenu);
        return false;
    }
    const QRect line = TextLines(shot, sub).at(static_cast<size_t>(item));
    // Into the submenu along the line's own row. GTK ignores a move towards a submenu that has
    // just opened for a moment, so the pointer moves on by a pixel until the item lights up
    // (its row changes at the submenu's edge, away from the cursor), then clicks it.
    const QPoint edge(sub.left() + 4, line.center().y());
    const QRgb unlit = shot.pixel(edge);
    bool nudge = false;
    if (!WaitFor(
            [&] {
                nudge = !nudge;
                Session().moveTo(sub.center().x() + (nudge ? 1 : 0), line.center().y());
                return Session().screenshot().pixel(edge) != unlit;
            },
            10s)) {
        *why = "the submenu's line " + std::to_string(item) + " did not light up under the pointer";
        return false;
    }
    *clickedAt = std::chrono::steady_clock::now();
    return Session().click();
}

// A session bus of our own in the session, with the portal stub on it answering as its
// switches say: programs started with address() meet that portal and no other. The stub reads
// its commands ("activate <id>") from a pipe that activate() writes to.
class PrivatePortal {
public:
    bool start(const std::vector<std::string>& switches)
    {
        static int count = 0;
        control_ = Session().folder() + "/portal-control-" + std::to_string(++count);
        ::unlink(control_.c_str());
        if (::mkfifo(control_.c_str(), 0666) != 0) return false;
        ::chmod(control_.c_str(), 0666);
        // Read and write, so that opening does not wait for the reader.
        controlFd_ = ::open(control_.c_str(), O_RDWR | O_CLOEXEC);
        bus_ = Session().launch("dbus-daemon", {{"--session", "--nofork", "--print-address"}});
        WaitFor(
            [&] {
                const std::string out = bus_.standardOutput();
                if (const auto end = out.find('\n'); end != std::string::npos)
                    address_ = out.substr(0, end);
                return !address_.empty() || !bus_.running();
            },
            10s);
        if (address_.empty()) return false;
        std::vector<std::string> arguments{"-c", "exec \"$0\" \"$@\" < \"$CONTROL\"",
                                           Session().installProgram(TOVRIMO_PORTAL_STUB)};
        arguments.insert(arguments.end(), switches.begin(), switches.end());
        stub_ = Session().launch(
            "/bin/sh",
            {arguments, {{"DBUS_SESSION_BUS_ADDRESS", address_}, {"CONTROL", control_}}});
        return WaitFor(
                   [&] {
                       return !stub_.running() ||
                              stub_.standardOutput().find("ready\n") != std::string::npos;
                   },
                   10s) &&
               stub_.running();
    }
    ~PrivatePortal()
    {
        stub_.stop();
        if (controlFd_ >= 0) ::close(controlFd_);
        ::unlink(control_.c_str());
        bus_.stop();
    }
    const std::string& address() const { return address_; }
    bool said(const std::string& line) const
    {
        return ("\n" + stub_.standardOutput()).find("\n" + line) != std::string::npos;
    }
    // Makes the stub report the shortcut as pressed.
    bool activate(const std::string& id)
    {
        const std::string line = "activate " + id + "\n";
        return ::write(controlFd_, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    }
    Process& stub() { return stub_; }
    std::string errors() const
    {
        return "private bus: " + Tail(bus_.standardError()) +
               "\nportal stub: " + Tail(stub_.standardOutput()) + Tail(stub_.standardError());
    }
    // The interfaces the stub's object offers, as a program finds them.
    std::string introspection() const
    {
        return Session()
            .run("dbus-send",
                 {{"--session", "--print-reply", "--dest=org.freedesktop.portal.Desktop",
                   "/org/freedesktop/portal/desktop",
                   "org.freedesktop.DBus.Introspectable.Introspect"},
                  {{"DBUS_SESSION_BUS_ADDRESS", address_}}})
            .standardOutput();
    }

private:
    Process bus_;
    Process stub_;
    std::string address_;
    std::string control_;
    int controlFd_ = -1;
};

}  // namespace

class WaylandProgramE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cups().clearOutput(TestSession::kA4Queue);
        jobsBefore_ = Cups().jobCount();
    }

    std::unique_ptr<TovrimoProcess> program(const std::map<std::string, std::string>& env = {})
    {
        auto tovrimo = WaylandTestSession::current().tovrimo(env);
        if (!tovrimo) ADD_FAILURE() << "the program's folder could not be handed to the session";
        return tovrimo;
    }

    // Exactly one job more than at the start, and every job finished (the output is whole).
    bool printedOnePage(std::chrono::milliseconds timeout = 30s)
    {
        return WaitFor([&] { return Cups().jobCount() == jobsBefore_ + 1; }, timeout) &&
               Cups().waitForJobs();
    }
    int jobsSinceStart() const { return Cups().jobCount() - jobsBefore_; }
    // The sheet as it comes out is A3 portrait with the landscape picture turned a quarter
    // counter-clockwise; turned back, it reads like the screen.
    QImage printedPage() const
    {
        const QImage sheet = PdfPage(Cups().outputPdf(TestSession::kA4Queue)).render(kDpi);
        if (sheet.isNull() || sheet.width() > sheet.height()) return sheet;
        return sheet.transformed(QTransform().rotate(90));
    }

    int jobsBefore_ = 0;
};

// /d: the whole output at actual size, in the configured background, and the picture the
// portal left in /tmp is gone.
TEST_F(WaylandProgramE2E, DesktopSwitchPrintsTheOutputAtActualSize)
{
    // A leftover from an earlier portal call would prove nothing about this run.
    std::filesystem::remove(kPortalPicture);
    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(tovrimo->start({"/d"}));
    const auto code = tovrimo->waitForExit(60s);
    const auto exited = Since(begin);
    ASSERT_TRUE(code.has_value()) << "still running after 60 s" << Diagnostics(*tovrimo);
    EXPECT_EQ(*code, 0) << Diagnostics(*tovrimo);
    ASSERT_TRUE(printedOnePage()) << "jobs: " << jobsSinceStart() << Diagnostics(*tovrimo);
    std::printf("/d: the program ended after %lld ms, the page was done after %lld ms\n",
                static_cast<long long>(exited.count()),
                static_cast<long long>(Since(begin).count()));

    const QImage page = printedPage();
    ASSERT_FALSE(page.isNull()) << Cups().outputPdf(TestSession::kA4Queue);
    const QRect background = Ink::boundsOf(page, Background(), 40);
    ASSERT_FALSE(background.isEmpty()) << "nothing of the background colour on the page";
    const WaylandSession::Options& options = Session().options();
    // At 96 dpi one screen pixel is one pixel of the page.
    EXPECT_NEAR(background.width(), options.width, 1.5);
    EXPECT_NEAR(background.height(), options.height, 1.5);
    // All of it is the background: the desktop had nothing else on it.
    EXPECT_GT(Ink::count(page, Background(), 40), 0.99 * background.width() * background.height());
    EXPECT_EQ(Ink::bounds(page), background) << "ink beside the desktop's picture";
    EXPECT_FALSE(std::filesystem::exists(kPortalPicture))
        << "the portal's picture was left in " << kPortalPicture;
}

// The region screen: a drag from the desktop into a coloured window prints exactly the dragged
// rectangle, the pixels under the pointer at both corners included.
TEST_F(WaylandProgramE2E, RegionSwitchPrintsTheDraggedRectangle)
{
    ColourWindow colour(400, 250, 320, 200);
    const auto placed = colour.window();
    ASSERT_TRUE(placed.has_value())
        << "the colour window was not placed: " << colour.errors() << "\nsway's log:\n"
        << Tail(Session().swayLog());
    ASSERT_TRUE(colour.shown()) << colour.errors();

    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    ASSERT_TRUE(tovrimo->start({"/r"}));
    const auto screen = WindowOf(*tovrimo, ".*", 30s);
    ASSERT_TRUE(screen.has_value()) << "no region screen" << Diagnostics(*tovrimo);
    EXPECT_EQ(screen->width, Session().layoutWidth()) << "the region screen is not full-screen";
    EXPECT_EQ(screen->height, Session().layoutHeight());

    // From the desktop, up and left of the window, to the middle of the window.
    const int x0 = placed->x - 60, y0 = placed->y - 70;
    const int x1 = placed->x + placed->width / 2, y1 = placed->y + placed->height / 2;
    ASSERT_TRUE(Session().moveTo(x0, y0));
    ASSERT_TRUE(Session().press());
    ASSERT_TRUE(DeviceMoveTo((x0 + x1) / 2, (y0 + y1) / 2));
    ASSERT_TRUE(DeviceMoveTo(x1, y1));
    ASSERT_TRUE(Session().moveTo(x1, y1));
    ASSERT_TRUE(Session().release());

    const auto code = tovrimo->waitForExit(60s);
    ASSERT_TRUE(code.has_value()) << "still running after the drag" << Diagnostics(*tovrimo);
    EXPECT_EQ(*code, 0) << Diagnostics(*tovrimo);
    ASSERT_TRUE(printedOnePage()) << "jobs: " << jobsSinceStart() << Diagnostics(*tovrimo);
    const QImage page = printedPage();
    const QRect ink = Ink::bounds(page);
    EXPECT_NEAR(ink.width(), x1 - x0 + 1, 1.5);
    EXPECT_NEAR(ink.height(), y1 - y0 + 1, 1.5);
    // The window's part: from its top-left corner to the end of the drag.
    const QRect window = Ink::boundsOf(page, QColor(kWindowColour), 40);
    ASSERT_FALSE(window.isEmpty()) << "the window's colour is not on the page";
    EXPECT_NEAR(window.width(), x1 - placed->x + 1, 1.5);
    EXPECT_NEAR(window.height(), y1 - placed->y + 1, 1.5);
    EXPECT_EQ(window.bottomRight(), ink.bottomRight()) << "the drag ended inside the window";
    // The desktop's corner where the drag began.
    EXPECT_EQ(QColor(page.pixel(ink.topLeft() + QPoint(2, 2))).name(), Background().name());
}

// /a under sway: the focused window, found through sway's IPC, is cut from the portal's
// picture of the screen: all of its client area, its decorations, and nothing of the desktop.
TEST_F(WaylandProgramE2E, ActiveWindowSwitchPrintsTheFocusedWindowsFrame)
{
    ColourWindow colour(300, 180, 360, 220);
    const auto placed = colour.window();
    ASSERT_TRUE(placed.has_value()) << "the colour window was not placed: " << colour.errors();
    ASSERT_TRUE(colour.shown()) << colour.errors();
    ASSERT_TRUE(placed->focused) << "sway did not give the new window the focus";

    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    ASSERT_TRUE(tovrimo->start({"/a"}));
    const auto code = tovrimo->waitForExit(60s);
    ASSERT_TRUE(code.has_value()) << "still running after 60 s" << Diagnostics(*tovrimo);
    EXPECT_EQ(*code, 0) << Diagnostics(*tovrimo);
    ASSERT_TRUE(printedOnePage()) << "jobs: " << jobsSinceStart() << Diagnostics(*tovrimo);

    const QImage page = printedPage();
    const QRect window = Ink::boundsOf(page, QColor(kWindowColour), 40);
    ASSERT_FALSE(window.isEmpty()) << "the window's colour is not on the page";
    // At 96 dpi a screen pixel is a pixel of the page: the whole client area, uncut.
    EXPECT_NEAR(window.width(), placed->width, 1.5);
    EXPECT_NEAR(window.height(), placed->height, 1.5);
    // The frame around it is sway's border and title bar, a few pixels, not the desktop.
    const QRect ink = Ink::bounds(page);
    EXPECT_TRUE(ink.contains(window));
    EXPECT_LE(ink.width() - window.width(), 20);
    EXPECT_LE(ink.height() - window.height(), 60);
    EXPECT_EQ(Ink::count(page, Background(), 40), 0) << "the desktop around the window was printed";
}

// Without a notification area, a second start shows the resident program's menu. Wayland
// cannot pop a menu up with no window of ours under it, so it comes as a small floating window
// of its own; its first submenu and first item, picked with the keyboard, print the desktop.
TEST_F(WaylandProgramE2E, ASecondStartShowsTheMenuAsASmallWindowThatWorks)
{
    // Until the resident program listens on its socket, a second start would stay resident.
    // Programs of earlier tests were stopped with a signal and left theirs behind.
    const std::string socket =
        Session().runtimeFolder() + "/tovrimo-display" + Session().waylandDisplay() + ".socket";
    std::filesystem::remove(socket);
    auto resident = program();
    ASSERT_NE(resident, nullptr);
    WriteSettings(*resident);
    ASSERT_TRUE(resident->start());
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(socket); }, 15s))
        << socket << Diagnostics(*resident);

    auto second = program();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(second->start());
    const auto code = second->waitForExit(10s);
    ASSERT_TRUE(code.has_value()) << "the second start did not hand over" << Diagnostics(*second)
                                  << "\nresident:" << Diagnostics(*resident);
    EXPECT_EQ(*code, 0);

    const auto menu = WindowOf(*resident, "^トヴリモ$", 10s);
    ASSERT_TRUE(menu.has_value()) << "no menu window" << Diagnostics(*resident);
    // Menu-sized, not tiled across the screen.
    EXPECT_LT(menu->width, Session().layoutWidth() / 2);
    EXPECT_LT(menu->height, Session().layoutHeight() / 2);
    EXPECT_TRUE(menu->focused);

    // ハードコピー ▸ デスクトップ画面全体: the first item and its first item.
    ASSERT_TRUE(Session().key("Down"));
    ASSERT_TRUE(Session().key("Right"));
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(Session().key("Return"));
    ASSERT_TRUE(printedOnePage()) << "jobs: " << jobsSinceStart() << Diagnostics(*resident);
    const QImage page = printedPage();
    const QRect background = Ink::boundsOf(page, Background(), 40);
    EXPECT_NEAR(background.width(), Session().options().width, 1.5);
    // The menu had gone before the screen was read.
    EXPECT_EQ(Ink::bounds(page), background);
    EXPECT_TRUE(resident->running());
    resident->stop();
}

// On an output at scale 2 the region screen shows the frozen picture pixel for pixel: a drag
// over layout pixels cuts twice as many device pixels, and at actual size (192 dpi) they
// print as large as the drag was on the screen.
TEST_F(WaylandProgramE2E, ARegionOnAScaledOutputIsCutInDevicePixels)
{
    WaylandSession::Options options;
    options.scale = 2;
    options.background = "#ff0000";
    WaylandSession scaled(options);
    ASSERT_TRUE(scaled.start()) << scaled.error();
    auto tovrimo = program(scaled.environment());
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    ASSERT_TRUE(tovrimo->start({"/r"}));
    std::optional<WaylandSession::Window> screen;
    ASSERT_TRUE(WaitFor(
        [&] {
            for (const WaylandSession::Window& window : scaled.windows())
                if (window.pid == tovrimo->process().pid()) screen = window;
            return screen.has_value() || !tovrimo->running();
        },
        30s))
        << "no region screen" << Diagnostics(*tovrimo);
    EXPECT_EQ(screen->width, scaled.layoutWidth());

    const int x0 = 100, y0 = 80, x1 = 300, y1 = 180;  // layout pixels
    ASSERT_TRUE(scaled.moveTo(x0, y0));
    ASSERT_TRUE(scaled.press());
    ASSERT_TRUE(DeviceMoveTo((x0 + x1) / 2, (y0 + y1) / 2, scaled));
    ASSERT_TRUE(DeviceMoveTo(x1, y1, scaled));
    ASSERT_TRUE(scaled.moveTo(x1, y1));
    ASSERT_TRUE(scaled.release());
    const auto code = tovrimo->waitForExit(60s);
    ASSERT_TRUE(code.has_value()) << "still running after the drag" << Diagnostics(*tovrimo);
    EXPECT_EQ(*code, 0) << Diagnostics(*tovrimo);
    ASSERT_TRUE(printedOnePage()) << "jobs: " << jobsSinceStart() << Diagnostics(*tovrimo);

    // Both corner pixels are in: (x1 - x0) * 2 + 1 device pixels, at 192 dpi.
    const QImage page = printedPage();
    const QRect red = Ink::boundsOf(page, QColor(255, 0, 0), 60);
    ASSERT_FALSE(red.isEmpty()) << "nothing red on the page";
    EXPECT_NEAR(red.width(), ((x1 - x0) * 2 + 1) * kDpi / 192.0, 1.5);
    EXPECT_NEAR(red.height(), ((y1 - y0) * 2 + 1) * kDpi / 192.0, 1.5);
    EXPECT_EQ(Ink::bounds(page), red);
}

// A right click on the region screen offers only "キャンセル"; picking it prints nothing and
// the command-line job ends.
TEST_F(WaylandProgramE2E, RightClickOnTheRegionScreenCancels)
{
    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    ASSERT_TRUE(tovrimo->start({"/r"}));
    const auto screen = WindowOf(*tovrimo, ".*", 30s);
    ASSERT_TRUE(screen.has_value()) << "no region screen" << Diagnostics(*tovrimo);
    const int x = Session().layoutWidth() / 3, y = Session().layoutHeight() / 3;
    ASSERT_TRUE(Session().moveTo(x, y));
    // The region screen shows the frozen desktop, all background where the menu will open.
    // Beside the cursor, which the screenshots show, and within the menu's only item.
    const QRect menuArea(x + 28, y + 6, 40, 10);
    const auto menuShown = [&] {
        const QImage shot = Session().screenshot();
        for (int py = menuArea.top(); py <= menuArea.bottom(); ++py)
            for (int px = menuArea.left(); px <= menuArea.right(); ++px)
                if (QColor(shot.pixel(px, py)).name() != Background().name()) return true;
        return false;
    };
    ASSERT_FALSE(menuShown()) << "something covers the desktop where the menu will open";
    ASSERT_TRUE(Session().click(3));
    // The menu opens at the pointer with its only item just below and right of it. A popup is
    // not in sway's tree: the screen shows when it is there.
    ASSERT_TRUE(WaitFor(menuShown, 10s))
        << "no menu after the right click" << Diagnostics(*tovrimo);
    ASSERT_TRUE(Session().moveTo(menuArea.center().x(), menuArea.center().y()));
    ASSERT_TRUE(Session().click());
    const std::optional<int> code = tovrimo->waitForExit(15s);
    ASSERT_TRUE(code.has_value()) << "the program still runs after キャンセル"
                                  << Diagnostics(*tovrimo);
    // No job: give a job that was sent anyway the time to reach the queue.
    EXPECT_FALSE(WaitFor([&] { return jobsSinceStart() > 0; }, 3s))
        << "a page was printed after the cancel";
}

// The portal stub as a program meets it: only the interface it was asked for, and a request
// answered from the request's own path with a fresh copy of the picture it was given.
TEST_F(WaylandProgramE2E, PortalStubHandsOutItsPicture)
{
    QImage picture(200, 120, QImage::Format_RGB32);
    picture.fill(QColor(kWindowColour));
    const std::string file = Session().folder() + "/stub-picture.png";
    ASSERT_TRUE(picture.save(QString::fromStdString(file), "PNG"));
    PrivatePortal portal;
    ASSERT_TRUE(portal.start({"--screenshot=file:" + file})) << portal.errors();
    const std::string interfaces = portal.introspection();
    EXPECT_NE(interfaces.find("\"org.freedesktop.portal.Screenshot\""), std::string::npos)
        << interfaces;
    EXPECT_EQ(interfaces.find("org.freedesktop.portal.GlobalShortcuts"), std::string::npos)
        << "an interface without its switch";

    // The same request the program makes, from the tool that waits for the Response.
    const Process call = Session().run(Session().installProgram(TOVRIMO_PORTAL_SCREENSHOT),
                                       {{}, {{"DBUS_SESSION_BUS_ADDRESS", portal.address()}}}, 30s);
    std::smatch match;
    const std::string out = call.standardOutput();
    ASSERT_TRUE(std::regex_search(out, match, std::regex(R"(^response (\d+) file://(\S+)\n)")))
        << out << call.standardError() << portal.errors();
    EXPECT_EQ(match[1].str(), "0");
    EXPECT_NE(match[2].str(), file) << "not a copy";
    const QImage answered(QString::fromStdString(match[2].str()));
    EXPECT_EQ(answered.size(), picture.size());
    EXPECT_EQ(answered.pixel(10, 10), picture.pixel(10, 10));
    EXPECT_TRUE(call.standardError().empty()) << call.standardError();
    EXPECT_NE(portal.stub().standardOutput().find("screenshot interactive=0\n"), std::string::npos);
    std::filesystem::remove(match[2].str());
}

// What the Screenshot portal hands out is what is printed: /d with the stub's picture.
TEST_F(WaylandProgramE2E, DesktopSwitchPrintsThePortalsPicture)
{
    // A screen of another colour than the session's own.
    const WaylandSession::Options& options = Session().options();
    QImage picture(options.width, options.height, QImage::Format_RGB32);
    picture.fill(QColor(kWindowColour));
    const std::string file = Session().folder() + "/stub-desktop.png";
    ASSERT_TRUE(picture.save(QString::fromStdString(file), "PNG"));
    PrivatePortal portal;
    ASSERT_TRUE(portal.start({"--screenshot=file:" + file})) << portal.errors();

    auto tovrimo = program({{"DBUS_SESSION_BUS_ADDRESS", portal.address()}});
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    ASSERT_TRUE(tovrimo->start({"/d"}));
    const auto code = tovrimo->waitForExit(60s);
    ASSERT_TRUE(code.has_value()) << "still running after 60 s" << Diagnostics(*tovrimo)
                                  << portal.errors();
    EXPECT_EQ(*code, 0) << Diagnostics(*tovrimo);
    ASSERT_TRUE(printedOnePage()) << "jobs: " << jobsSinceStart() << Diagnostics(*tovrimo);
    const QImage page = printedPage();
    const QRect printed = Ink::boundsOf(page, QColor(kWindowColour), 40);
    ASSERT_FALSE(printed.isEmpty()) << "the portal's picture is not on the page";
    EXPECT_NEAR(printed.width(), picture.width(), 1.5);
    EXPECT_NEAR(printed.height(), picture.height(), 1.5);
    EXPECT_EQ(Ink::boundsOf(page, Background(), 40), QRect()) << "the session's own screen";
    EXPECT_NE(portal.stub().standardOutput().find("screenshot interactive=0\n"), std::string::npos)
        << portal.stub().standardOutput();
}

// The Screenshot portal of a bus where the user refuses: a message box says so, nothing is
// printed, and the job ends with an error once the box is closed.
TEST_F(WaylandProgramE2E, RefusedScreenshotShowsAMessageAndPrintsNothing)
{
    PrivatePortal portal;
    ASSERT_TRUE(portal.start({"--screenshot=refuse"})) << portal.errors();
    const std::string address = portal.address();
    Process& stub = portal.stub();

    auto tovrimo = program({{"DBUS_SESSION_BUS_ADDRESS", address}});
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(tovrimo->start({"/d"}));
    const auto box = WindowOf(*tovrimo, "^トヴリモ$", 30s);
    ASSERT_TRUE(box.has_value()) << "no message box" << Diagnostics(*tovrimo)
                                 << "\nportal stub: " << stub.standardOutput()
                                 << stub.standardError();
    std::printf("refused: the message box was up after %lld ms\n",
                static_cast<long long>(Since(begin).count()));
    EXPECT_EQ(jobsSinceStart(), 0) << "a page was printed while the message was up";
    EXPECT_NE(stub.standardOutput().find("screenshot interactive=0\n"), std::string::npos)
        << stub.standardOutput();
    ASSERT_TRUE(Session().swayCommand("[pid=" + std::to_string(tovrimo->process().pid()) +
                                      " title=\"^トヴリモ$\"] kill"));
    const auto code = tovrimo->waitForExit(15s);
    ASSERT_TRUE(code.has_value()) << "the program did not end after its box was closed"
                                  << Diagnostics(*tovrimo);
    EXPECT_NE(*code, 0) << Diagnostics(*tovrimo);
    EXPECT_EQ(jobsSinceStart(), 0) << "a page was printed although the portal refused";
}

// Global hot keys through a stub GlobalShortcuts portal (sway has none, and the test must
// decide when a shortcut fires): the resident program binds its slots there, and an activation
// runs the slot's command. The same stub hands out a known picture as the screen.
TEST_F(WaylandProgramE2E, AnActivatedShortcutRunsItsSlotsCommandInTheResidentProgram)
{
    // As large as the output, in a colour the session's background does not have.
    const std::string picture = Session().folder() + "/stub-screen.png";
    QImage screen(Session().options().width, Session().options().height, QImage::Format_RGB32);
    screen.fill(qRgb(200, 0, 200));
    ASSERT_TRUE(screen.save(QString::fromStdString(picture)));
    ::chmod(picture.c_str(), 0644);
    PrivatePortal portal;
    ASSERT_TRUE(portal.start({"--shortcuts", "--screenshot=file:" + picture})) << portal.errors();

    auto tovrimo = program({{"DBUS_SESSION_BUS_ADDRESS", portal.address()}});
    ASSERT_NE(tovrimo, nullptr);
    // A desktop hard copy on Ctrl+Alt+P (slot 0), the desktop copy on Ctrl+Shift+F5 (slot 4).
    WriteSettings(*tovrimo,
                  "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\nHotKeyButton0=80\n"
                  "HotKeyOn4=1\nHotKeyALT4=0\nHotKeyCTRL4=1\nHotKeySHIFT4=1\nHotKeyButton4=116\n");
    ASSERT_TRUE(tovrimo->start());

    ASSERT_TRUE(WaitFor([&] { return portal.said("bind done"); }, 15s))
        << "the program bound no shortcuts" << portal.errors() << Diagnostics(*tovrimo);
    const std::string bound = portal.stub().standardOutput();
    EXPECT_NE(bound.find(" slot0 CTRL+ALT+p\n"), std::string::npos) << bound;
    EXPECT_NE(bound.find(" slot4 CTRL+SHIFT+F5\n"), std::string::npos) << bound;
    // Slots that are off are not bound.
    EXPECT_EQ(bound.find(" slot1 "), std::string::npos) << bound;

    ASSERT_TRUE(portal.activate("slot0"));
    ASSERT_TRUE(printedOnePage()) << "no page after the shortcut" << Diagnostics(*tovrimo);
    const QImage printed = PdfPage(Cups().outputPdf(TestSession::kA4Queue)).firstImage();
    ASSERT_FALSE(printed.isNull());
    // The whole screen: the same shape, the stub's colour.
    EXPECT_NEAR(static_cast<double>(printed.width()) / printed.height(),
                static_cast<double>(screen.width()) / screen.height(), 0.02);
    EXPECT_EQ(QColor(printed.pixel(printed.width() / 2, printed.height() / 2)),
              QColor(qRgb(200, 0, 200)));
    EXPECT_TRUE(WaitFor([&] { return portal.said("screenshot interactive=0"); }, 5s));
    // One activation, one page.
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(jobsSinceStart(), 1);
    EXPECT_TRUE(tovrimo->running());
    tovrimo->stop();
}

// Actual size on a scaled output: a capture is in device pixels, and the output's scale says
// how many of them make an inch, as Xft.dpi does on X11.
TEST_F(WaylandProgramE2E, ActualSizePrintsTheDesktopAsLargeAsAScaledOutputShowsIt)
{
    for (const int scale : {1, 2}) {
        SCOPED_TRACE("output scale " + std::to_string(scale));
        // 640 x 320 device pixels of red: at scale 2 that is 320 x 160 of layout, 3.33 inches
        // at 192 dpi; at scale 1, 6.67 inches at 96 dpi.
        WaylandSession::Options options;
        options.width = 640;
        options.height = 320;
        options.scale = scale;
        options.background = "#ff0000";
        WaylandSession scaled(options);
        ASSERT_TRUE(scaled.start()) << scaled.error();
        Cups().clearOutput(TestSession::kA4Queue);
        jobsBefore_ = Cups().jobCount();

        auto tovrimo = program(scaled.environment());
        ASSERT_NE(tovrimo, nullptr);
        WriteSettings(*tovrimo);
        ASSERT_TRUE(tovrimo->start({"/d"}));
        const auto code = tovrimo->waitForExit(60s);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0) << Diagnostics(*tovrimo);
        ASSERT_TRUE(printedOnePage()) << "jobs: " << jobsSinceStart() << Diagnostics(*tovrimo);

        const double screenDpi = 96.0 * scale;
        const QRect red = Ink::boundsOf(printedPage(), QColor(255, 0, 0), 60);
        ASSERT_FALSE(red.isEmpty()) << "nothing red on the page";
        EXPECT_NEAR(red.width(), 640.0 * kDpi / screenDpi, 1.0);
        EXPECT_NEAR(red.height(), 320.0 * kDpi / screenDpi, 1.0);
        scaled.stop();
    }
}

// The resident program with waybar's tray as its notification area; the menu is the one the
// program exports, clicked the way waybar does when the user picks an item.
class WaylandTrayE2E : public WaylandProgramE2E {
protected:
    static void SetUpTestSuite()
    {
        waybar_ = std::make_unique<Waybar>();
        if (!waybar_->start()) {
            failure_ = "waybar did not come up as the tray: " + waybar_->errors();
            waybar_.reset();
        }
    }
    static void TearDownTestSuite()
    {
        if (waybar_) waybar_->stop();
        waybar_.reset();
    }

    void SetUp() override
    {
        ASSERT_NE(waybar_, nullptr) << failure_;
        WaylandProgramE2E::SetUp();
    }

    // Starts the resident program and finds its tray item.
    bool startResident(TovrimoProcess& tovrimo, TrayItem& item)
    {
        if (!tovrimo.start()) return false;
        return item.find(tovrimo.process().pid(), 20s);
    }

    static inline std::unique_ptr<Waybar> waybar_;
    static inline std::string failure_;
};

// Self-timer on: the desktop is printed from the tray menu only after the configured delay.
TEST_F(WaylandTrayE2E, SelfTimerPrintsTheDesktopAfterItsDelay)
{
    constexpr int kSelfTimeSeconds = 4;
    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo, "SelfTimer=1\nSelfTime=" + std::to_string(kSelfTimeSeconds) + "\n");
    TrayItem item;
    ASSERT_TRUE(startResident(*tovrimo, item))
        << "no tray item of the program" << Diagnostics(*tovrimo);

    std::string why;
    // ハードコピー > デスクトップ画面全体, the first item of the menu's first submenu.
    std::chrono::steady_clock::time_point clicked;
    ASSERT_TRUE(PickFromTrayMenu(*waybar_, 0, 0, &why, &clicked)) << why << Diagnostics(*tovrimo);
    ASSERT_TRUE(WaitFor([&] { return jobsSinceStart() > 0; }, 40s))
        << "nothing printed" << Diagnostics(*tovrimo);
    const auto printed = Since(clicked);
    std::printf("self-timer of %d s: the job came %lld ms after the click\n", kSelfTimeSeconds,
                static_cast<long long>(printed.count()));
    EXPECT_GE(printed, std::chrono::seconds(kSelfTimeSeconds))
        << "printed before the timer ran out";
    ASSERT_TRUE(printedOnePage()) << Diagnostics(*tovrimo);
    EXPECT_TRUE(tovrimo->running()) << "the resident program ended" << Diagnostics(*tovrimo);

    // The desktop: the output's size, nearly all of it the background (waybar's strip along
    // the top is part of the desktop too).
    const QImage page = printedPage();
    const QRect ink = Ink::bounds(page);
    const WaylandSession::Options& options = Session().options();
    EXPECT_NEAR(ink.width(), options.width, 1.5);
    EXPECT_NEAR(ink.height(), options.height, 1.5);
    EXPECT_GT(Ink::count(page, Background(), 40), 0.9 * options.width * options.height);
    tovrimo->stop();
}

// コピー > デスクトップ画面全体 puts the desktop on the clipboard as a PNG other programs read.
TEST_F(WaylandTrayE2E, CopyDesktopPutsAPngOnTheClipboard)
{
    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    TrayItem item;
    ASSERT_TRUE(startResident(*tovrimo, item))
        << "no tray item of the program" << Diagnostics(*tovrimo);
    // Whatever an earlier test left there must not pass for the copy.
    ASSERT_TRUE(Session().offerClipboard("before the copy", "text/plain"));

    std::string why;
    ASSERT_TRUE(item.click("コピー", "デスクトップ画面全体", &why)) << why;
    QByteArray png;
    WaitFor(
        [&] {
            png = Session().readClipboard("image/png");
            return !png.isEmpty();
        },
        20s);
    std::string offered;
    for (const std::string& type : Session().clipboardTypes()) offered += type + " ";
    ASSERT_FALSE(png.isEmpty()) << "no image/png on the clipboard; offered: " << offered
                                << Diagnostics(*tovrimo);
    const QImage image = QImage::fromData(png, "PNG");
    ASSERT_FALSE(image.isNull()) << "the clipboard's bytes are no PNG";
    const WaylandSession::Options& options = Session().options();
    EXPECT_EQ(image.size(), QSize(options.width, options.height));
    EXPECT_EQ(QColor(image.pixel(image.width() / 2, image.height() / 2)).name(),
              Background().name());
    EXPECT_EQ(jobsSinceStart(), 0) << "a copy printed a page";
    tovrimo->stop();
}
