// Median time of one pointer step on the region-selection screen at 3840x2160: the move event
// and the repaint of the area it marks dirty, rendered off-screen.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "capture/CaptureBuffer.h"
#include "capture/RegionSelector.h"

namespace {

void Send(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QSize size(3840, 2160);

    tovrimo::CaptureBuffer buffer;
    buffer.image = QImage(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(buffer.image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) line[x] = qRgb(x & 255, y & 255, (x ^ y) & 255);
    }
    tovrimo::RegionSelector screen(buffer, [] { return tovrimo::AppState::CopyRegionPending; });
    screen.freeze();
    screen.resize(size);
    QImage target(size, QImage::Format_RGB32);
    screen.render(&target);  // first full paint, as when the screen opens

    Send(screen, QEvent::MouseButtonPress, QPoint(200, 150), Qt::LeftButton, Qt::LeftButton);
    constexpr int kSteps = 600;
    std::vector<double> micros;
    micros.reserve(kSteps);
    for (int i = 0; i < kSteps; ++i) {
        // A long diagonal drag: the rectangle grows to nearly the whole screen.
        const QPoint at(200 + i * 6, 150 + i * 3);
        const auto begin = std::chrono::steady_clock::now();
        Send(screen, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        const QRegion dirty = screen.lastDirtyRegion();
        screen.render(&target, dirty.boundingRect().topLeft(), dirty,
                      QWidget::RenderFlags(QWidget::DrawChildren));
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
    }
    std::sort(micros.begin(), micros.end());
    std::printf("region drag step at %dx%d: median %.1f us, 90th percentile %.1f us (%d steps)\n",
                size.width(), size.height(), micros[micros.size() / 2],
                micros[micros.size() * 9 / 10], kSteps);
    return 0;
}
