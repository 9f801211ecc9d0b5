#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "core/Program.h"
#include "platform/AppFolders.h"
#include "platform/RealPlatform.h"
#include "platform/qt/QtTrayIcon.h"

int main(int argc, char** argv)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::fprintf(stderr,
                     "tovrimo: no X display (DISPLAY is not set). Tovrimo runs in an X11 "
                     "desktop session.\n");
        return 2;
    }
    // Global hot keys, window frames and the cursor image need X11 itself.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("tovrimo"));

    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

    tovrimo::RealPlatform platform;
    tovrimo::Program program(tovrimo::PlatformServices{
        platform.printers(), platform.messages(), platform.files(), platform.screen(),
        platform.windows(), platform.cursor(), platform.clipboard(), platform.timers(),
        platform.hotKeys(), [] { return std::make_unique<tovrimo::QtTrayIcon>(); },
        platform.screenTwipsPerPixelX(), platform.screenTwipsPerPixelY()});
    const auto outcome = program.StartUp(tovrimo::DetectAppFolders(), args);
    if (!outcome.resident) return outcome.exitCode;
    return app.exec();
}
