// Times the desktop grab at the screen's size, through shared memory and through a plain
// GetImage, against a memcpy of one frame's bytes. Needs an X display (DISPLAY).
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/x11/X11ScreenGrabber.h"

namespace {

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    work();  // warm-up: first-time allocations and connection set-up
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "capture_bench: needs an X display (set DISPLAY)\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;

    tovrimo::X11ScreenGrabber grabber;
    const tovrimo::PixelRect screen = grabber.primaryScreenRect();
    std::printf("screen %dx%d, %d runs, median\n", screen.width(), screen.height(), runs);

    volatile int sink = 0;
    if (grabber.sharedMemoryAvailable()) {
        const double ms = MedianMs(runs, [&] { sink = sink + grabber.grab(screen).width(); });
        std::printf("desktop grab, shared memory: %8.3f ms\n", ms);
    } else {
        std::printf("desktop grab, shared memory: not offered by this server\n");
    }
    grabber.setSharedMemoryAllowed(false);
    const double plainMs = MedianMs(runs, [&] { sink = sink + grabber.grab(screen).width(); });
    std::printf("desktop grab, GetImage:      %8.3f ms\n", plainMs);

    const size_t bytes = static_cast<size_t>(screen.width()) * screen.height() * 4;
    std::vector<unsigned char> from(bytes, 0x5A), to(bytes);
    const double copyMs = MedianMs(runs, [&] {
        std::memcpy(to.data(), from.data(), bytes);
        sink = sink + to[bytes / 2];
    });
    std::printf("memcpy of one frame:         %8.3f ms\n", copyMs);
    return 0;
}
