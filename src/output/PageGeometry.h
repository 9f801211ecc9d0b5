#pragma once

#include <cstdint>
#include <string>

#include "core/Settings.h"
#include "platform/PrinterBackend.h"

// Where the image and the title line go on the printed sheet. Everything here is in twips
// (1440 per inch); positions are sheet coordinates, whose origin is the physical top-left
// corner of the sheet. The printer draws relative to its printable area, so a position is
// converted with SheetToDrawing just before it is drawn.
//
// The same functions serve printing and the print dialog's preview: the preview only adds
// its own scale and origin when it draws what these functions return.

namespace tovrimo {

constexpr int kTwipsPerCentimetre = 567;
// The title and the image are kept this many printer device pixels apart.
constexpr int kTitleGapDevicePixels = 5;

// The sheet and its unprintable margins.
struct Margins {
    int64_t pageWidth = 0;        // PW
    int64_t pageHeight = 0;       // PH
    int64_t left = 0;             // A: unprintable left margin
    int64_t top = 0;              // B: unprintable top margin
    int64_t right = 0;            // Ar
    int64_t bottom = 0;           // Bb
    int64_t printableWidth = 0;   // C = PW - A - Ar
    int64_t printableHeight = 0;  // D = PH - B - Bb
};

struct ImageSize {
    int64_t width = 0;
    int64_t height = 0;
    bool operator==(const ImageSize&) const = default;
};

struct PixelSize {
    int64_t width = 0;
    int64_t height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct TwipPoint {
    int64_t x = 0;
    int64_t y = 0;
    bool operator==(const TwipPoint&) const = default;
};

// Everything that decides where things go once the image size is known.
struct PlacementInput {
    PagePosition position = PagePosition::TopLeft;
    double leftCm = 0;  // with PagePosition::Manual
    double topCm = 0;
    TitlePlacement titlePlacement = TitlePlacement::AboveImage;
    TitleAlignment titleAlignment = TitleAlignment::ImageLeft;
    // W x H as drawn: for printing, PrintedImageSize of the scaled buffer (whole screen
    // pixels); the preview, which has no buffer, passes TargetImageSize directly.
    ImageSize image;
    int64_t titleWidth = 0;            // TW, as measured in the title font
    int64_t titleHeight = 0;           // T, already 0 for a blank title (see PlacingTitleHeight)
    double printerTwipsPerPixelY = 0;  // py
};

// Result of the placement, in sheet coordinates.
struct PagePlacement {
    int64_t imageX = 0;
    int64_t imageY = 0;
    int64_t imageWidth = 0;
    int64_t imageHeight = 0;
    int64_t titleX = 0;
    int64_t titleY = 0;
    int64_t titleWidth = 0;  // the title box, as the preview draws it
    int64_t titleHeight = 0;
};

// Sheet, margins and printable area of the printer's current page.
Margins ComputeMargins(const PageMetrics& page);
// Twips per device pixel of the printer's page; 0 for a resolution of 0 or less, which no
// printer has, rather than a division by zero.
double TwipsPerPixelX(const PageMetrics& page);
double TwipsPerPixelY(const PageMetrics& page);

// Image size for the actual-size and percentage modes; 0 x 0 for any mode that is neither
// (fit mode included: use FitSize or TargetImageSize for it). iw, ih: the captured image in
// screen pixels; sx, sy: the screen's twips per pixel.
ImageSize FixedScaleSize(ScaleMode scaleMode, int sizePercent, int64_t iw, int64_t ih, double sx,
                         double sy);

// Fit-to-paper size. The title line (titleHeight) and the gap are reserved below or above
// the image. An empty image gives 0 x 0.
ImageSize FitSize(const Margins& margins, int64_t iw, int64_t ih, double sx, double sy,
                  int64_t titleHeight, int64_t gap);

// Gap reserved by the fit computation: five printer pixels, rounded to whole twips.
int64_t RoundedTitleGap(double printerTwipsPerPixelY);
// Gap used when placing: five printer pixels, not rounded until the position is.
double PlacingTitleGap(double printerTwipsPerPixelY);

// Target size of the page image for any scale mode. titleHeight is the title's height as
// the caller wants it reserved in fit mode.
ImageSize TargetImageSize(ScaleMode scaleMode, int sizePercent, const Margins& margins, int64_t iw,
                          int64_t ih, double sx, double sy, int64_t titleHeight,
                          double printerTwipsPerPixelY);

// Size in screen pixels of the buffer that holds the scaled image: the target size divided
// by the screen's twips per pixel, rounded to the nearest whole pixel (never negative).
PixelSize PageImagePixels(const ImageSize& target, double sx, double sy);

// Printed size of that buffer back in twips: whole screen pixels times twips per pixel.
ImageSize PrintedImageSize(const PixelSize& staged, double sx, double sy);

// True when the title consists of nothing but ASCII spaces. Other white space, such as the
// ideographic space U+3000, is text.
bool TitleIsBlank(const std::string& title);

// Title height used for placing: the measured height rounded, or 0 for a blank title.
int64_t PlacingTitleHeight(const std::string& expandedTitle, double measuredHeight);

// Image and title positions on the sheet.
PagePlacement PlacePage(const Margins& margins, const PlacementInput& input);

// Sheet coordinates to the printer's drawing coordinates (origin at the printable area).
TwipPoint SheetToDrawing(const Margins& margins, TwipPoint sheet);

}  // namespace tovrimo
