#pragma once

#include <QImage>
#include <memory>

#include "app/Program.h"
#include "doubles/FakeCursorSource.h"
#include "doubles/FakeHotKeyRegistrar.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/FakeScreenGrabber.h"
#include "doubles/FakeTimerFactory.h"
#include "doubles/FakeTrayHosts.h"
#include "doubles/FakeTrayIcon.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingClipboard.h"
#include "doubles/RecordingMessageBoxes.h"

namespace tovrimo::test {

// A whole desktop made of doubles, in the state a program usually meets: one A4 printer
// "Office" that is the default, a plain blue screen, an empty file system, a notification
// area that is there, no other copy of the program running. A test changes what it needs
// before it builds the program from services().
struct FakePlatform {
    static QImage PlainScreen(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::blue);
        return image;
    }

    explicit FakePlatform(QImage screenImage = PlainScreen(320, 200))
        : screen(std::move(screenImage))
    {
        printers.printers = {FakePrinterBackend::a4("Office")};
        printers.defaultName = "Office";
        trayHosts.present = true;
    }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // Every double wired in; `realHotKeys` replaces the fake registrar for tests that press
    // keys on a real X server. The tray icons the program makes are FakeTrayIcons, the last
    // one kept in `tray`.
    PlatformServices services(HotKeyRegistrar* realHotKeys = nullptr)
    {
        PlatformServices wired{printers,
                               messages,
                               files,
                               screen,
                               windows,
                               cursor,
                               clipboard,
                               timers,
                               realHotKeys ? *realHotKeys : hotKeys,
                               [this] {
                                   auto icon = std::make_unique<FakeTrayIcon>();
                                   tray = icon.get();
                                   return icon;
                               }};
        wired.trayHosts = &trayHosts;
        wired.instance = &instance;
        return wired;
    }

    FakePrinterBackend printers;
    RecordingMessageBoxes messages;
    MemoryFileSystem files;
    FakeScreenGrabber screen;
    FakeWindowSystem windows;
    FakeCursorSource cursor;
    RecordingClipboard clipboard;
    FakeTimerFactory timers;
    FakeHotKeyRegistrar hotKeys;
    FakeTrayHostWatcher trayHosts;
    FakeSingleInstance instance;
    FakeTrayIcon* tray = nullptr;  // the icon the program made last; it owns it
};

}  // namespace tovrimo::test
