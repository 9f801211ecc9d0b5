#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/Program.h"
#include "platform/AppFolders.h"
#include "platform/DisplayCheck.h"
#include "platform/MemoryPolicy.h"
#include "platform/QtMessages.h"
#include "platform/RealPlatform.h"
#include "platform/qt/QtTrayIcon.h"

int main(int argc, char** argv)
{
    tovrimo::KeepLargeBlocksOutOfTheHeap();
    std::string reason;
    if (!tovrimo::CanOpenDisplay(&reason)) {
        std::fprintf(stderr, "tovrimo: %s. Tovrimo runs in an X11 desktop session.\n",
                     reason.c_str());
        return 2;
    }
    // Global hot keys, window frames and the cursor image need X11 itself.
    qputenv("QT_QPA_PLATFORM", "xcb");
    tovrimo::QuietMissingRuntimeFolderNote();
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
