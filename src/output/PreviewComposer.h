#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>
#include <cstdint>
#include <optional>

#include "output/PageGeometry.h"
#include "platform/PrinterBackend.h"

namespace tovrimo {

// Everything the preview needs to lay out one page, already read from the dialog.
struct PreviewInput {
    PageMetrics page;  // the chosen printer's page in the working orientation and size
    ScaleMode scaleMode = ScaleMode::ActualSize;
    int sizePercent = 100;
    PagePosition position = PagePosition::Centre;
    // Offsets for the manual position, as the offset boxes hold them; nothing when a box does
    // not hold a number.
    std::optional<double> leftCm;
    std::optional<double> topCm;
    TitleAlignment titleAlignment = TitleAlignment::ImageLeft;
    TitlePlacement titlePlacement = TitlePlacement::AboveImage;
    int64_t imageWidthPixels = 0;  // the capture buffer
    int64_t imageHeightPixels = 0;
    double sx = 15.0;  // the screen's twips per pixel
    double sy = 15.0;
    double titleWidthTwips = 0;  // the expanded title measured in the title font
    double titleHeightTwips = 0;
    bool titleBlank = true;  // nothing but spaces after expansion
};

// The preview's picture in the box's own coordinates: both axes run over `scale` units, which
// are page twips, and the sheet sits centred in them.
struct PreviewPicture {
    bool placed = false;  // false: the position could not be computed (no title or image box)
    double scale = 0;
    QRectF shadow;
    QRect sheet;
    QRect printable;
    QRect title;
    QRect image;
    Margins margins;
    PagePlacement placement;        // sheet coordinates, as printing uses them
    std::optional<int> fitPercent;  // fit mode: the fitted width in percent of actual size
    // Preset positions: where the image lies from the printable area's corner, in cm.
    std::optional<double> leftCm;
    std::optional<double> topCm;
};

// Lays out the page with the same geometry printing uses: the margins, the target image size
// (in fit mode reserving the title height and gap just as the printed page does) and the
// placement of image and title.
PreviewPicture ComposePreview(const PreviewInput& in);

// A rectangle of box coordinates in pixels of a box of `boxPixels` over which `scale` units
// run on both axes.
QRect PreviewToPixels(const QRectF& rect, double scale, QSize boxPixels);

}  // namespace tovrimo
