#include "output/PageRenderer.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>

#include "output/PdfImageStream.h"

namespace tovrimo {

namespace {

constexpr double kTwipsPerInch = 1440.0;

QPageLayout FullSheetLayout(double widthPoints, double heightPoints)
{
    // The size is given as the sheet lies, so portrait orientation keeps it as it is.
    return QPageLayout(QPageSize(QSizeF(widthPoints, heightPoints), QPageSize::Point, QString(),
                                 QPageSize::ExactMatch),
                       QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

double ToDevice(long long twips, int dpi)
{
    return twips * dpi / kTwipsPerInch;
}

}  // namespace

QFont TitleFont::toQFont() const
{
    QFont f(family);
    f.setPointSize(pointSize > 0 ? pointSize : 10);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    return f;
}

PageRenderer::TextSize PageRenderer::measureTitle(const TitleFont& font, const QString& text,
                                                  int dpi)
{
    // A small off-screen PDF device stands for the printer: metrics follow its resolution.
    QPdfWriter probe(QStringLiteral("/dev/null"));
    probe.setResolution(dpi);
    const QFontMetricsF metrics(font.toQFont(), &probe);
    return {metrics.horizontalAdvance(text) * kTwipsPerInch / dpi,
            metrics.height() * kTwipsPerInch / dpi};
}

bool PageRenderer::render(const Page& page, const QString& pdfPath, QString* error)
{
    const bool drawImage = !page.image.isNull() && page.imageW > 0 && page.imageH > 0;
    QPdfWriter writer(pdfPath);
    writer.setResolution(page.dpi);
    writer.setTitle(page.documentTitle);
    writer.setCreator(QStringLiteral("Tovrimo"));
    if (!writer.setPageLayout(FullSheetLayout(page.widthPoints, page.heightPoints))) {
        if (error) *error = QStringLiteral("page layout refused");
        return false;
    }
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error) *error = QStringLiteral("cannot write %1").arg(pdfPath);
        return false;
    }
    // The placeholder must become an ordinary image object; Qt would otherwise JPEG-encode it.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    const double sheetW = page.widthPoints * page.dpi / 72.0;
    const double sheetH = page.heightPoints * page.dpi / 72.0;
    painter.fillRect(QRectF(0, 0, sheetW, sheetH), Qt::white);

    painter.setFont(page.font.toQFont());
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(painter.font(), &writer);
    // The title position is the top-left corner of its text cell, as on the printer.
    painter.drawText(QPointF(ToDevice(page.titleX, page.dpi),
                             ToDevice(page.titleY, page.dpi) + metrics.ascent()),
                     page.title);

    if (drawImage) {
        // Drawn after the title: where the two overlap the image covers the title. A
        // placeholder takes the image's place and rectangle; the image itself, encoded by us,
        // replaces it once the file is complete.
        painter.drawImage(QRectF(ToDevice(page.imageX, page.dpi), ToDevice(page.imageY, page.dpi),
                                 ToDevice(page.imageW, page.dpi), ToDevice(page.imageH, page.dpi)),
                          PdfImageStream::placeholder());
    }
    if (!painter.end()) {
        if (error) *error = QStringLiteral("cannot finish %1").arg(pdfPath);
        return false;
    }
    if (drawImage)
        return PdfImageStream::swapInto(
            pdfPath, PdfImageStream::encode(page.image, page.smoothScaling), error);
    return true;
}

void PageRenderer::warmUp(const TitleFont& font)
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/tovrimo-warm-XXXXXX.pdf"));
    if (!file.open()) return;
    file.close();
    Page page;
    page.widthPoints = 72;
    page.heightPoints = 72;
    page.dpi = 300;
    page.font = font;
    // Latin, kana and kanji: the title's usual fallback fonts are loaded too.
    page.title = QStringLiteral("Aa \u3042\u30A2\u65E5 0");
    page.image = QImage(8, 8, QImage::Format_RGB32);
    page.image.fill(Qt::gray);
    page.imageW = page.imageH = 720;
    page.imageX = page.imageY = 0;
    QString ignored;
    render(page, file.fileName(), &ignored);
}

}  // namespace tovrimo
