#pragma once

#include <QImage>
#include <QSizeF>
#include <string>
#include <vector>

namespace tovrimo::test {

// The first page of a printed PDF, read with the poppler tools: what the user would hold.
class PdfPage {
public:
    explicit PdfPage(std::string path);

    bool exists() const;
    // True when the file is a bare PDF (a queue that wraps it in PJL would fail this).
    bool isPlainPdf() const;
    int pageCount() const;
    // The media box as pdfinfo reports it, in points, before any /Rotate.
    QSizeF mediaSizePoints() const;
    int rotationDegrees() const;
    // The sheet as it comes out: the media box turned by /Rotate.
    QSizeF sheetSizePoints() const;
    // The page rendered at the given resolution (pdftoppm), as the sheet comes out.
    QImage render(int dpi) const;
    // The page's text with its layout kept (pdftotext -layout).
    std::string text() const;

    // One image of the document as `pdfimages -list` describes it.
    struct EmbeddedImage {
        int width = 0;
        int height = 0;
        std::string color;        // "rgb", "gray" ...
        std::string encoding;     // "image" (Flate or uncompressed), "jpeg", "jpx" ...
        std::string interpolate;  // "yes" or "no"
    };
    std::vector<EmbeddedImage> images() const;
    // The first image's pixels as stored in the file (pdfimages -png), null when there is none.
    QImage firstImage() const;

    const std::string& path() const { return path_; }

private:
    std::string pdfinfo() const;

    std::string path_;
};

}  // namespace tovrimo::test
