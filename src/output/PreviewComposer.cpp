#include "output/PreviewComposer.h"

#include <algorithm>
#include <cmath>

#include "core/Rounding.h"
#include "output/PrintDialogRules.h"

namespace tovrimo {

namespace {

// The preview leaves a fifth of the longer sheet side around the sheet.
constexpr double kPreviewZoom = 1.2;
// The drop shadow is offset by a hundredth of the box.
constexpr double kShadowOffset = 0.01;
// Offsets beyond this (a kilometre) cannot be drawn in the box's integer coordinates.
constexpr double kMaxOffsetCm = 100000.0;

QRect Box(int64_t x, int64_t y, int64_t w, int64_t h)
{
    return QRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                 static_cast<int>(h));
}

}  // namespace

PreviewPicture ComposePreview(const PreviewInput& in)
{
    PreviewPicture pic;
    const Margins m = ComputeMargins(in.page);
    pic.margins = m;
    pic.scale = kPreviewZoom * static_cast<double>(std::max(m.pageWidth, m.pageHeight));

    const int64_t x0 = halfTowardZero(nearestEven(pic.scale - static_cast<double>(m.pageWidth)));
    const int64_t y0 = halfTowardZero(nearestEven(pic.scale - static_cast<double>(m.pageHeight)));
    pic.shadow = QRectF(x0 + kShadowOffset * pic.scale, y0 + kShadowOffset * pic.scale,
                        static_cast<double>(m.pageWidth), static_cast<double>(m.pageHeight));
    pic.sheet = Box(x0, y0, m.pageWidth, m.pageHeight);
    pic.printable = Box(x0 + m.left, y0 + m.top, m.printableWidth, m.printableHeight);

    const double py = TwipsPerPixelY(in.page);
    // The printed page reserves the measured title height in fit mode even for a blank
    // title, so the preview does the same to show the size that will really print.
    const int64_t fitTitleHeight = nearestEven(in.titleHeightTwips);
    const ImageSize size = TargetImageSize(in.scaleMode, in.sizePercent, m, in.imageWidthPixels,
                                           in.imageHeightPixels, in.sx, in.sy, fitTitleHeight, py);
    if (in.scaleMode == ScaleMode::FitToPaper) {
        pic.fitPercent = FitPercent(size.width, in.imageWidthPixels, in.sx);
    }

    PlacementInput place;
    place.position = in.position;
    if (in.position == PagePosition::Manual) {
        if (!in.leftCm || !in.topCm || std::fabs(*in.leftCm) > kMaxOffsetCm ||
            std::fabs(*in.topCm) > kMaxOffsetCm) {
            return pic;
        }
        place.leftCm = *in.leftCm;
        place.topCm = *in.topCm;
    }
    place.titlePlacement = in.titlePlacement;
    place.titleAlignment = in.titleAlignment;
    place.image = size;
    place.titleWidth = nearestEven(in.titleWidthTwips);
    place.titleHeight = in.titleBlank ? 0 : nearestEven(in.titleHeightTwips);
    place.printerTwipsPerPixelY = py;
    const PagePlacement p = PlacePage(m, place);
    pic.placement = p;
    pic.placed = true;

    if (in.position != PagePosition::Manual) {
        pic.leftCm = static_cast<double>(p.imageX - m.left) / kTwipsPerCentimetre;
        pic.topCm = static_cast<double>(p.imageY - m.top) / kTwipsPerCentimetre;
    }
    pic.title = Box(x0 + p.titleX, y0 + p.titleY, p.titleWidth, p.titleHeight);
    pic.image = Box(x0 + p.imageX, y0 + p.imageY, p.imageWidth, p.imageHeight);
    return pic;
}

QRect PreviewToPixels(const QRectF& rect, double scale, QSize boxPixels)
{
    if (scale <= 0) {
        return {};
    }
    const double fx = boxPixels.width() / scale;
    const double fy = boxPixels.height() / scale;
    const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
    const int left = px(rect.left() * fx);
    const int top = px(rect.top() * fy);
    const int right = px((rect.left() + rect.width()) * fx);
    const int bottom = px((rect.top() + rect.height()) * fy);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace tovrimo
