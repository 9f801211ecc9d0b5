#pragma once

#include <QFont>
#include <QImage>
#include <QString>

namespace tovrimo {

// The title font as the layout describes it.
struct TitleFont {
    QString family;
    int pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QFont toQFont() const;
};

// One page drawn into a PDF file at the printer's resolution. Positions are sheet coordinates in
// twips: the PDF page is the whole sheet, so the unprintable margins are already part of them.
class PageRenderer {
public:
    struct Page {
        double widthPoints = 0;  // the sheet as it lies for printing (landscape: wider)
        double heightPoints = 0;
        int dpi = 300;
        QString title;  // drawn even when empty, as the printer would
        TitleFont font;
        long long titleX = 0, titleY = 0;
        QImage image;  // may be null: a page with the title only
        // The printer smooths the image when it scales it into the rectangle (full detail:
        // the capture's own pixels); otherwise it scales it as it likes, as it did the page
        // image ever since.
        bool smoothScaling = false;
        long long imageX = 0, imageY = 0, imageW = 0, imageH = 0;
        QString documentTitle;
    };

    // Width and height of a text in twips, measured at the given resolution.
    struct TextSize {
        double widthTwips = 0;
        double heightTwips = 0;
    };
    static TextSize measureTitle(const TitleFont& font, const QString& text, int dpi);

    // Writes the page; false with a reason when the file cannot be written.
    static bool render(const Page& page, const QString& pdfPath, QString* error);

    // Writes a small page with a title in this font and an image, and throws it away: what the
    // first real page would otherwise load (fonts, the PDF writer, the image encoder) is then
    // in memory.
    static void warmUp(const TitleFont& font);
};

}  // namespace tovrimo
