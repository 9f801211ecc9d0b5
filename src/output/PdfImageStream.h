#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tovrimo {

// The image of the printed page, encoded by us instead of QPdfWriter.
//
// QPdfWriter deflates images at zlib's default level on one thread, with no way to choose; that
// was most of the time a hard copy took, and a whole desktop at full detail would take several
// times more. We filter every row with the PNG "Sub" predictor (flat areas become runs of zeros)
// and deflate with run-length matching only, in slices on all cores joined into one zlib
// stream (as pigz does it). The page itself is still drawn by QPdfWriter, around a placeholder
// image that swapInto() then replaces.
class PdfImageStream {
public:
    // Encodes the opaque RGB pixels of the image as the body of a PDF image XObject: dictionary
    // and stream, Flate-compressed; with interpolate, marked so that the printer smooths the
    // image when it scales it to its own resolution. Empty when zlib fails.
    static QByteArray encode(const QImage& image, bool interpolate);

    // A small coloured image for QPdfWriter to draw where the real one goes: it makes QPdfWriter
    // place an image XObject with exactly the rectangle's transformation.
    static QImage placeholder();

    // Replaces the one image XObject of the PDF file (the placeholder's) with the encoded image,
    // by an incremental update appended to the file. False with a reason when the file is not
    // as QPdfWriter writes it.
    static bool swapInto(const QString& pdfPath, const QByteArray& encodedImage, QString* error);

    // The slices the encoder cuts an image of that many rows into; tests make it cut more.
    static int sliceCount(int rows);
    static void setMaxSlices(int slices);
};

}  // namespace tovrimo
