#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/DesktopTrayHosts.h"
#include "app/Program.h"
#include "app/RealPlatform.h"
#include "controls/TranslationLoader.h"
#include "core/CommandLine.h"
#include "core/TerminalOptions.h"
#include "platform/AppFolders.h"
#include "platform/DisplayCheck.h"
#include "platform/LoginStart.h"
#include "platform/MemoryPolicy.h"
#include "platform/QtMessages.h"
#include "platform/RememberedMessages.h"
#include "platform/qt/LocalSocketInstance.h"
#include "platform/qt/QtTrayIcon.h"

int main(int argc, char** argv)
{
    tovrimo::KeepLargeBlocksOutOfTheHeap();
    {
        // A terminal's questions are answered on the terminal, without a display or a printer.
        const std::vector<std::string> words(argv + 1, argv + argc);
        const auto answer = tovrimo::TerminalOptionText(
            tovrimo::SplitCommandLine(tovrimo::CommandLineText(words)), TOVRIMO_VERSION);
        if (answer) {
            std::fputs(answer->c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    using tovrimo::WindowSystemKind;
    WindowSystemKind windowSystem = tovrimo::PreferredWindowSystem(std::getenv("QT_QPA_PLATFORM"),
                                                                   std::getenv("WAYLAND_DISPLAY"));
    std::string reason;
    if (windowSystem == WindowSystemKind::Wayland && !tovrimo::CanOpenWaylandDisplay(&reason)) {
        // A Wayland session that is gone, or a variable left over: X11 may still be there.
        if (tovrimo::CanOpenDisplay(nullptr)) {
            windowSystem = WindowSystemKind::X11;
        } else {
            std::fprintf(stderr, "tovrimo: %s. Tovrimo runs in a Wayland or X11 desktop session.\n",
                         reason.c_str());
            return 2;
        }
    }
    if (windowSystem == WindowSystemKind::X11 && !tovrimo::CanOpenDisplay(&reason)) {
        std::fprintf(stderr, "tovrimo: %s. Tovrimo runs in an X11 desktop session.\n",
                     reason.c_str());
        return 2;
    }
    // Every argument belongs to the program's own command line. QApplication would take out
    // and act on the ones it knows ("-reverse", "-style fusion", "-display ..."), so it sees
    // only the program's name, and the arguments are kept before it is made.
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};

    // On X11, global hot keys, window frames and the cursor image need X11 itself, so Qt must
    // not pick its Wayland plugin under XWayland, nor the other way round.
    qputenv("QT_QPA_PLATFORM", windowSystem == WindowSystemKind::Wayland ? "wayland" : "xcb");
    tovrimo::QuietMissingRuntimeFolderNote();
    QApplication app(qtArgc, qtArgv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("tovrimo"));
    // The texts are Japanese as written; a translation file for the user's language, where
    // one is installed, replaces them.
    tovrimo::InstallProgramTranslation(tovrimo::TranslationFolders(), QLocale());

    tovrimo::RealPlatform platform(windowSystem);
    // Only a resident start looks for a notification area and for a program already resident;
    // a command-line job runs beside a resident program.
    const bool residentStart =
        tovrimo::SplitCommandLine(tovrimo::CommandLineText(args)).front().empty();
    std::unique_ptr<tovrimo::DesktopTrayHosts> trayHosts;
    std::unique_ptr<tovrimo::LocalSocketInstance> instance;
    if (residentStart) {
        trayHosts =
            std::make_unique<tovrimo::DesktopTrayHosts>(windowSystem == WindowSystemKind::X11);
        const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
        const char* display =
            std::getenv(windowSystem == WindowSystemKind::Wayland ? "WAYLAND_DISPLAY" : "DISPLAY");
        instance = std::make_unique<tovrimo::LocalSocketInstance>(tovrimo::InstanceSocketPath(
            runtimeDir ? runtimeDir : "", ::geteuid(), display ? display : ""));
    }
    tovrimo::PlatformServices services{
        platform.printers(),
        platform.messages(),
        platform.files(),
        platform.screen(),
        platform.windows(),
        platform.cursor(),
        platform.clipboard(),
        platform.timers(),
        platform.hotKeys(),
        [&trayHosts] { return std::make_unique<tovrimo::QtTrayIcon>(trayHosts.get()); },
        platform.screenTwipsPerPixelX(),
        platform.screenTwipsPerPixelY()};
    services.trayHosts = trayHosts.get();
    services.instance = instance.get();
    tovrimo::XdgAutostart loginStart = tovrimo::XdgAutostart::forRunningProgram();
    services.loginStart = &loginStart;
    tovrimo::Program program(services);
    // A command-line job that fails says why on stderr too, in one line, for the script or
    // terminal that started it: the box may be gone unread.
    const auto sayWhy = [&platform] {
        const std::string why = tovrimo::OneLine(platform.lastMessageText());
        std::fprintf(stderr, "tovrimo: %s\n", why.empty() ? "the job failed" : why.c_str());
        std::fflush(stderr);
    };
    QObject::connect(&program, &tovrimo::Program::endRequested, [&](int code) {
        if (code != 0 && !residentStart) sayWhy();
        std::exit(code);
    });
    const auto outcome = program.startUp(tovrimo::DetectAppFolders(), args);
    if (!outcome.resident) {
        if (outcome.exitCode != 0 && !residentStart) sayWhy();
        return outcome.exitCode;
    }
    return app.exec();
}
