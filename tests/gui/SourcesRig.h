#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "capture/CaptureEngine.h"
#include "capture/ImageSources.h"
#include "controls/FileDialog.h"
#include "doubles/FakeCursorSource.h"
#include "doubles/FakeFileDialog.h"
#include "doubles/FakePlatform.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/FakeScreenGrabber.h"
#include "doubles/FakeTimerFactory.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/RecordingMessageBoxes.h"
#include "harness/Process.h"
#include "output/PagePrinter.h"
#include "platform/qt/QtClipboard.h"
#include "resident/StickyNotes.h"

namespace tovrimo::test {

// The resident program's capture side with the real clipboard and real dialogs, printing
// through the real page printer into a fake printing system.
struct SourcesRig {
    // Hands each request to the real dialogs or, when a test sets fake, to the fake.
    struct SwitchableFileDialog : FileDialog {
        std::optional<std::string> exec(const FileDialogRequest& request) override
        {
            return fake ? fake->exec(request) : FileDialog::exec(request);
        }
        FileDialog* fake = nullptr;
    };

    SourcesRig()
    {
        layout.printerName = "Office";
        layout.position = PagePosition::TopLeft;
        layout.scaleMode = ScaleMode::ActualSize;
        layout.scalePercent = 100;
        layout.paperSize = 9;
        layout.orientation = PageOrientation::Portrait;
        layout.fontName = "IPAGothic";
        layout.fontPoints = 10;
        // What the program connects to the engine's hand-offs, printing as it does.
        QObject::connect(&engine, &CaptureEngine::printDialogWanted, &engine,
                         [this] { hostCalls.push_back("openPrintDialog"); });
        QObject::connect(&engine, &CaptureEngine::captured, &engine,
                         [this](CaptureDestination destination) {
                             if (destination != CaptureDestination::Printer) return;
                             hostCalls.push_back("printHardCopy");
                             printer.printPage(layout, buffer.image, buffer.staging);
                         });
    }

    CaptureOptions options;
    CaptureBuffer buffer;
    // The fake desktop, except for the clipboard: these tests exchange pictures with other
    // programs through the real one.
    FakePlatform platform{QImage(16, 16, QImage::Format_RGB32)};
    FakeScreenGrabber& screen = platform.screen;
    FakeWindowSystem& windows = platform.windows;
    FakeCursorSource& cursor = platform.cursor;
    QtClipboard clipboard;
    FakeTimerFactory& timers = platform.timers;
    FakePrinterBackend& printers = platform.printers;
    RecordingMessageBoxes& boxes = platform.messages;
    PagePrinter printer{printers, boxes, [](const std::string& t) { return t; }, ScreenScale{}};
    PrintLayout layout;
    std::vector<std::string> hostCalls;
    std::string lastFolder = "/tmp/";
    SwitchableFileDialog fileDialog;
    CaptureEngine engine{
        buffer, {screen, windows, cursor, clipboard, timers}, [this] { return options; }};
    ImageSources sources{{engine, buffer, clipboard, boxes, fileDialog, lastFolder,
                          [this] { return options; }, nullptr}};
    StickyNotes notes{{engine, buffer, clipboard, boxes, fileDialog, lastFolder}};
};

inline QImage Pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 5 % 256, y * 3 % 256, 140));
    return img;
}

inline QImage Inverted(QImage img)
{
    img.invertPixels(QImage::InvertRgb);
    return img;
}

// Runs the event loop until the condition holds or the time is up.
template <typename Condition>
bool ProcessEventsUntil(Condition condition,
                        std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline void ProcessEventsFor(std::chrono::milliseconds time)
{
    ProcessEventsUntil([] { return false; }, time);
}

// Deletes what was let go with deleteLater.
inline void FlushDeferredDeletes()
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// What another program would paste: xclip reads the clipboard while this process keeps
// serving it from its event loop.
inline QImage PasteImage()
{
    Process::Options opts;
    opts.args = {"-selection", "clipboard", "-t", "image/png", "-o"};
    Process xclip("xclip", opts);
    if (!xclip.start()) return {};
    std::optional<int> code;
    ProcessEventsUntil([&] {
        code = xclip.wait(std::chrono::milliseconds(1));
        return code.has_value();
    });
    if (!code || *code != 0) return {};
    QImage image;
    image.load(QString::fromStdString(xclip.stdoutPath()), "PNG");
    return image;
}

// A click of the user on a window of ours, as on the menu item that starts a command. X
// grants the clipboard only to a request stamped later than its last change, and the program
// stamps its requests with the time of the last event it saw: in a test nothing else has
// moved that time on since another program took the clipboard.
inline void UserClickOnOurWindow()
{
    QWidget spot;
    spot.setWindowFlags(Qt::FramelessWindowHint);
    spot.setGeometry(0, 0, 40, 40);
    spot.show();
    ProcessEventsUntil([&] { return spot.windowHandle() && spot.windowHandle()->isExposed(); });
    const QPoint centre = spot.mapToGlobal(QPoint(20, 20));
    bool pressed = false;
    struct Watch : QObject {
        bool* seen;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::MouseButtonRelease) *seen = true;
            return false;
        }
    } watch;
    watch.seen = &pressed;
    spot.installEventFilter(&watch);
    Process::Options opts;
    opts.args = {"mousemove", std::to_string(centre.x()), std::to_string(centre.y()), "click", "1"};
    Process::run("xdotool", opts, std::chrono::seconds(10));
    ProcessEventsUntil([&] { return pressed; }, std::chrono::seconds(3));
}

// Types into a widget key by key, as the keyboard would.
inline void TypeInto(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

inline void PressKey(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// A visible top-level widget of the type with the object name, or null.
template <typename T>
T* FindOpenDialog(const char* objectName)
{
    if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget()))
        if (modal->objectName() == QLatin1String(objectName)) return modal;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w))
            if (t->isVisible() && t->objectName() == QLatin1String(objectName)) return t;
    return nullptr;
}

// Acts on a dialog once it is open: polls from the event loop that the dialog's own exec()
// runs, so the test can drive it while the command under test waits for it.
template <typename T>
class DialogDriver {
public:
    DialogDriver(const char* objectName, std::function<void(T*)> act)
        : objectName_(objectName), act_(std::move(act))
    {
        timer_.setInterval(30);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (T* dialog = FindOpenDialog<T>(objectName_)) {
                if (!dialog->isVisible()) return;
                timer_.stop();
                seen = true;
                act_(dialog);
            }
        });
        timer_.start();
    }

    bool seen = false;

private:
    const char* objectName_;
    std::function<void(T*)> act_;
    QTimer timer_;
};

// Enters the path into the file dialog's name field as one piece of typed text (as an input
// method or a paste delivers it: key by key, the dialog would select every folder on the way
// as the path grows), closes the completion list, and presses the Open (or Save) button.
inline void TypePathAndAccept(QFileDialog* dialog, const std::string& path)
{
    QLineEdit* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit) edit = dialog->findChild<QLineEdit*>();
    edit->setFocus();
    edit->clear();
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromStdString(path));
    QApplication::sendEvent(edit, &typed);
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QApplication::processEvents();
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    for (QAbstractButton* button : buttons->buttons())
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
            button->click();
            return;
        }
}

}  // namespace tovrimo::test
