// Times writing one printed page (A4, fitted, no title) as PDF from a screen-sized image: the
// page image at screen resolution and the capture's own pixels (full detail), both through our
// image stream, and for comparison both through QPdfWriter's own lossless image path. Usage:
// page_bench IMAGE [runs]. Prints median milliseconds and file sizes.
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "output/PageRenderer.h"
#include "output/PdfImageStream.h"

using namespace tovrimo;

namespace {

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    work();
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
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: page_bench IMAGE [runs]\n");
        return 2;
    }
    const QImage capture =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (capture.isNull()) return 1;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));

    PageRenderer::Page page;
    page.widthPoints = 595.0;
    page.heightPoints = 842.0;
    page.dpi = 300;
    page.font.family = QStringLiteral("IPAGothic");
    page.imageX = 360;
    page.imageY = 360;
    page.imageW = 11180;  // the printable width of A4 with quarter-inch margins, in twips
    page.imageH = 11180LL * capture.height() / capture.width();
    const QImage pageImage =
        capture.scaled(static_cast<int>(page.imageW / 15), static_cast<int>(page.imageH / 15),
                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    auto run = [&](const char* name, const QImage& image, bool fullDetail) {
        page.image = image;
        page.smoothScaling = fullDetail;
        const double ms = MedianMs(runs, [&] { PageRenderer::render(page, path, nullptr); });
        std::printf("%-40s %8.1f ms %10lld bytes\n", name, ms,
                    static_cast<long long>(QFileInfo(path).size()));
    };
    std::printf("image %dx%d, %d cores used for the image stream\n", capture.width(),
                capture.height(), PdfImageStream::sliceCount(capture.height()));
    const double encodeMs = MedianMs(runs, [&] { PdfImageStream::encode(capture, true); });
    std::printf("%-40s %8.1f ms\n", "image stream alone (encode)", encodeMs);
    page.image = QImage();
    const double emptyMs = MedianMs(runs, [&] { PageRenderer::render(page, path, nullptr); });
    std::printf("%-40s %8.1f ms\n", "page without an image", emptyMs);
    run("page image at screen resolution", pageImage, false);
    run("full detail, our image stream", capture, true);
    PdfImageStream::setMaxSlices(1);
    run("full detail, our image stream, 1 core", capture, true);
    PdfImageStream::setMaxSlices(0);
    // For comparison: the same page with the image drawn and encoded by QPdfWriter itself.
    auto qtOnly = [&](const QImage& image) {
        QPdfWriter writer(path);
        writer.setResolution(page.dpi);
        writer.setPageLayout(
            QPageLayout(QPageSize(QSizeF(page.widthPoints, page.heightPoints), QPageSize::Point,
                                  QString(), QPageSize::ExactMatch),
                        QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(
            QRectF(page.imageX / 4.8, page.imageY / 4.8, page.imageW / 4.8, page.imageH / 4.8),
            image);
    };
    for (const auto& [name, image] :
         {std::pair{"page image, QPdfWriter's own encoding", pageImage},
          std::pair{"full detail, QPdfWriter's own encoding", capture}}) {
        const double ms = MedianMs(runs, [&] { qtOnly(image); });
        std::printf("%-40s %8.1f ms %10lld bytes\n", name, ms,
                    static_cast<long long>(QFileInfo(path).size()));
    }
    return 0;
}
