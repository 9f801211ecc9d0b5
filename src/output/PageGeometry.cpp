#include "output/PageGeometry.h"

#include <algorithm>

#include "core/Rounding.h"

namespace tovrimo {

namespace {

// A size can come out negative when the title line alone is taller than the printable area
// or a settings file carries a negative percentage; such an image has no room and is not
// drawn, rather than handed to the drawing code as a mirrored or invalid rectangle.
ImageSize NonNegative(ImageSize size)
{
    return {std::max<int64_t>(0, size.width), std::max<int64_t>(0, size.height)};
}

int64_t PixelsFromTwips(int64_t twips, double twipsPerPixel)
{
    if (twipsPerPixel <= 0) {
        return 0;
    }
    return std::max<int64_t>(0, nearestEven(static_cast<double>(twips) / twipsPerPixel));
}

}  // namespace

double TwipsPerPixelX(const PageMetrics& page)
{
    return page.dotsPerInchX > 0 ? 1440.0 / page.dotsPerInchX : 0.0;
}

double TwipsPerPixelY(const PageMetrics& page)
{
    return page.dotsPerInchY > 0 ? 1440.0 / page.dotsPerInchY : 0.0;
}

Margins ComputeMargins(const PageMetrics& page)
{
    const double px = TwipsPerPixelX(page);
    const double py = TwipsPerPixelY(page);
    const QRect& printable = page.printablePixels;
    Margins m;
    // 20 twips to the point.
    m.pageWidth = nearestEven(page.sheetPoints.width() * 20);
    m.pageHeight = nearestEven(page.sheetPoints.height() * 20);
    m.left = nearestEven(printable.x() * px);
    m.top = nearestEven(printable.y() * py);
    // The pixel counts come from the printer: their differences are taken in double, where
    // no int can overflow.
    const auto rest = [](int whole, int part, int offset) {
        return static_cast<double>(whole) - static_cast<double>(part) - static_cast<double>(offset);
    };
    m.right = nearestEven(rest(page.sheetPixels.width(), printable.width(), printable.x()) * px);
    m.bottom = nearestEven(rest(page.sheetPixels.height(), printable.height(), printable.y()) * py);
    m.printableWidth = m.pageWidth - m.left - m.right;
    m.printableHeight = m.pageHeight - m.top - m.bottom;
    return m;
}

ImageSize FixedScaleSize(ScaleMode scaleMode, int sizePercent, int64_t iw, int64_t ih, double sx,
                         double sy)
{
    const double w = static_cast<double>(iw);
    const double h = static_cast<double>(ih);
    switch (scaleMode) {
    case ScaleMode::ActualSize:
        return NonNegative({nearestEven(w * sx), nearestEven(h * sy)});
    case ScaleMode::Percent:
        return NonNegative(
            {nearestEven(w * sx * sizePercent / 100), nearestEven(h * sy * sizePercent / 100)});
    default:
        return {};
    }
}

ImageSize FitSize(const Margins& margins, int64_t iw, int64_t ih, double sx, double sy,
                  int64_t titleHeight, int64_t gap)
{
    // An empty capture has no shape to keep; the ratios below would divide by zero.
    if (iw <= 0 || ih <= 0) {
        return {};
    }
    const double w = static_cast<double>(iw);
    const double h = static_cast<double>(ih);
    const int64_t c = margins.printableWidth;
    const int64_t d = margins.printableHeight;
    const int64_t heightLeft = d - titleHeight - gap;

    const int64_t roomX = nearestEven(c - w * sx);
    const int64_t roomY = nearestEven(d - h * sy - titleHeight - gap);

    const auto fitHeight = [&] {
        return NonNegative({nearestEven(w * heightLeft / h), heightLeft});
    };
    const auto fitWidth = [&] { return NonNegative({c, nearestEven(h * c / w)}); };

    if (roomX >= 0 && roomY < 0) {
        return fitHeight();
    }
    if (roomX < 0 && roomY >= 0) {
        return fitWidth();
    }
    // Fits both ways (and is enlarged) or fits neither: the image's own shape decides, not
    // the page's, so a square picture on portrait paper can overhang the sides.
    if (h * sy >= w * sx) {
        return fitHeight();
    }
    return fitWidth();
}

int64_t RoundedTitleGap(double printerTwipsPerPixelY)
{
    return nearestEven(PlacingTitleGap(printerTwipsPerPixelY));
}

double PlacingTitleGap(double printerTwipsPerPixelY)
{
    return kTitleGapDevicePixels * printerTwipsPerPixelY;
}

ImageSize TargetImageSize(ScaleMode scaleMode, int sizePercent, const Margins& margins, int64_t iw,
                          int64_t ih, double sx, double sy, int64_t titleHeight,
                          double printerTwipsPerPixelY)
{
    if (scaleMode == ScaleMode::FitToPaper) {
        return FitSize(margins, iw, ih, sx, sy, titleHeight,
                       RoundedTitleGap(printerTwipsPerPixelY));
    }
    return FixedScaleSize(scaleMode, sizePercent, iw, ih, sx, sy);
}

PixelSize PageImagePixels(const ImageSize& target, double sx, double sy)
{
    return {PixelsFromTwips(target.width, sx), PixelsFromTwips(target.height, sy)};
}

ImageSize PrintedImageSize(const PixelSize& staged, double sx, double sy)
{
    return {nearestEven(sx * static_cast<double>(staged.width)),
            nearestEven(sy * static_cast<double>(staged.height))};
}

bool TitleIsBlank(const std::string& title)
{
    return title.find_first_not_of(' ') == std::string::npos;
}

int64_t PlacingTitleHeight(const std::string& expandedTitle, double measuredHeight)
{
    return TitleIsBlank(expandedTitle) ? 0 : nearestEven(measuredHeight);
}

PagePlacement PlacePage(const Margins& m, const PlacementInput& in)
{
    const int64_t a = m.left;
    const int64_t b = m.top;
    const int64_t c = m.printableWidth;
    const int64_t d = m.printableHeight;
    const int64_t w = in.image.width;
    const int64_t h = in.image.height;
    const int64_t t = in.titleHeight;
    // Kept fractional: each position is rounded once, after the gap has been added.
    const double g = PlacingTitleGap(in.printerTwipsPerPixelY);

    PagePlacement p;
    p.imageWidth = w;
    p.imageHeight = h;
    p.titleWidth = in.titleWidth;
    p.titleHeight = t;

    int64_t x = 0;
    int64_t y = 0;
    const PagePosition position = in.position;
    switch (position) {
    case PagePosition::TopLeft:
        x = a;
        y = b;
        break;
    case PagePosition::TopRight:
        x = a + c - w;
        y = b;
        break;
    case PagePosition::Centre:
        x = a + halfTowardZero(c - w);
        y = b + halfTowardZero(d - h);
        break;
    case PagePosition::BottomLeft:
        x = a;
        y = b + d - h;
        break;
    case PagePosition::BottomRight:
        x = a + c - w;
        y = b + d - h;
        break;
    case PagePosition::Manual:
        x = nearestEven(in.leftCm * kTwipsPerCentimetre + a);
        y = nearestEven(in.topCm * kTwipsPerCentimetre + b);
        break;
    default:
        break;
    }

    const bool atTop = position == PagePosition::TopLeft || position == PagePosition::TopRight;
    const bool atBottom =
        position == PagePosition::BottomLeft || position == PagePosition::BottomRight;
    switch (in.titlePlacement) {
    case TitlePlacement::AboveImage:
        if (atTop) {
            // No room above an image at the top edge: the title takes its place.
            p.titleY = y;
            y = nearestEven(y + t + g);
        } else {
            p.titleY = nearestEven(y - t - g);
        }
        break;
    case TitlePlacement::BelowImage:
        if (atBottom) {
            y = nearestEven(y - t - g);
        }
        p.titleY = nearestEven(y + h + g);
        break;
    default:
        p.titleY = 0;
        break;
    }

    switch (in.titleAlignment) {
    case TitleAlignment::ImageLeft:
        p.titleX = x;
        break;
    case TitleAlignment::ImageCentre:
        p.titleX = x + halfTowardZero(w - in.titleWidth);
        break;
    case TitleAlignment::ImageRight:
        p.titleX = x + w - in.titleWidth;
        break;
    default:
        p.titleX = 0;
        break;
    }

    p.imageX = x;
    p.imageY = y;
    return p;
}

TwipPoint SheetToDrawing(const Margins& margins, TwipPoint sheet)
{
    return {sheet.x - margins.left, sheet.y - margins.top};
}

}  // namespace tovrimo
