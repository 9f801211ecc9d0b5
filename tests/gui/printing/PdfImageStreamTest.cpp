#include <gtest/gtest.h>
#include <zlib.h>

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "harness/Ink.h"
#include "harness/PdfPage.h"
#include "output/PageRenderer.h"
#include "output/PdfImageStream.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

// Every pixel differs from its neighbours, so that a slice boundary, a row off by one or a
// swapped channel shows.
QImage Busy(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           qRgb((x * 7 + y * 13) & 255, (x * y + 5) & 255, (x ^ (y * 3)) & 255));
    return image.convertToFormat(format);
}

long long DictNumber(const QByteArray& object, const char* key)
{
    const auto match = QRegularExpression(QStringLiteral("/%1 (\\d+)").arg(QLatin1String(key)))
                           .match(QString::fromLatin1(object.left(object.indexOf("stream"))));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

// Decodes the object by hand, as a PDF reader would: inflate, then undo the PNG Sub filter.
QImage Decode(const QByteArray& object)
{
    const long long w = DictNumber(object, "Width");
    const long long h = DictNumber(object, "Height");
    const long long length = DictNumber(object, "Length");
    const qsizetype start = object.indexOf(">>\nstream\n") + 10;
    if (w < 0 || h < 0 || length < 0 || start < 10) return {};
    const QByteArray deflated = object.mid(start, length);
    if (object.mid(start + length) != "\nendstream") return {};
    const size_t rowBytes = static_cast<size_t>(1 + 3 * w);
    std::vector<unsigned char> raw(rowBytes * static_cast<size_t>(h) + 1);
    uLongf rawLength = raw.size();
    if (uncompress(raw.data(), &rawLength, reinterpret_cast<const Bytef*>(deflated.data()),
                   static_cast<uLong>(deflated.size())) != Z_OK ||
        rawLength != rowBytes * static_cast<size_t>(h))
        return {};
    QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = raw.data() + rowBytes * static_cast<size_t>(y);
        if (row[0] != 1) return {};  // Sub
        unsigned char left[3] = {0, 0, 0};
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c)
                left[c] = static_cast<unsigned char>(left[c] + row[1 + 3 * x + c]);
            image.setPixel(x, y, qRgb(left[0], left[1], left[2]));
        }
    }
    return image;
}

// The appended update must be exact, byte for byte: readers that find a wrong offset fall back
// to rebuilding the cross-reference table and would hide the fault, printers may not.
void ExpectExactIncrementalUpdate(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    ASSERT_TRUE(pdf.endsWith("%%EOF\n"));
    const qsizetype startXref = pdf.lastIndexOf("startxref\n");
    ASSERT_GT(startXref, 0);
    const long long xref = pdf.mid(startXref + 10).split('\n').first().toLongLong();
    ASSERT_TRUE(pdf.mid(xref, 5) == "xref\n")
        << "startxref points at " << pdf.mid(xref, 12).toStdString();
    // One subsection of one entry: "N 1", then the 20-byte entry of object N.
    const QList<QByteArray> lines = pdf.mid(xref).split('\n');
    ASSERT_GE(lines.size(), 4);
    const QList<QByteArray> subsection = lines[1].split(' ');
    ASSERT_EQ(subsection.size(), 2);
    EXPECT_EQ(subsection[1], "1");
    const QByteArray entry = pdf.mid(xref + 5 + lines[1].size() + 1, 20);
    ASSERT_TRUE(entry.endsWith(" 00000 n \n")) << entry.toStdString();
    const long long objectOffset = entry.left(10).toLongLong();
    EXPECT_TRUE(pdf.mid(objectOffset)
                    .startsWith(subsection[0] + " 0 obj\n<<\n/Type /XObject\n/Subtype /Image"))
        << pdf.mid(objectOffset, 40).toStdString();
    // The update's trailer chains to the table QPdfWriter wrote.
    const QByteArray trailer = pdf.mid(pdf.lastIndexOf("trailer"));
    const qsizetype prev = trailer.indexOf("/Prev ");
    ASSERT_GT(prev, 0);
    const long long previous = trailer.mid(prev + 6).split('\n').first().trimmed().toLongLong();
    EXPECT_TRUE(pdf.mid(previous, 5) == "xref\n");
    EXPECT_LT(previous, objectOffset);
    EXPECT_TRUE(trailer.contains("/Root "));
}

class SliceLimit {
public:
    explicit SliceLimit(int n) { PdfImageStream::setMaxSlices(n); }
    ~SliceLimit() { PdfImageStream::setMaxSlices(0); }
};

}  // namespace

TEST(PdfImageStream, EncodesEveryPixelLosslesslyWhateverTheSlicing)
{
    const struct {
        int w, h, slices;
        QImage::Format format;
    } cases[] = {
        {1, 1, 1, QImage::Format_RGB32},
        {3, 2, 4, QImage::Format_RGB32},
        {517, 700, 1, QImage::Format_RGB32},
        {517, 700, 4, QImage::Format_RGB32},
        {1, 1000, 3, QImage::Format_RGB32},
        {640, 257, 2, QImage::Format_RGB888},
        {300, 400, 4, QImage::Format_ARGB32_Premultiplied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " in " << c.slices << " slices");
        SliceLimit limit(c.slices);
        const QImage source = Busy(c.w, c.h, c.format);
        const QByteArray object = PdfImageStream::encode(source, true);
        EXPECT_EQ(DictNumber(object, "Width"), c.w);
        EXPECT_EQ(DictNumber(object, "Height"), c.h);
        EXPECT_EQ(DictNumber(object, "Columns"), c.w);
        for (const char* entry :
             {"/Subtype /Image", "/ColorSpace /DeviceRGB", "/BitsPerComponent 8",
              "/Filter /FlateDecode", "/Predictor 11", "/Interpolate true"})
            EXPECT_TRUE(object.contains(entry)) << entry;
        const QImage decoded = Decode(object);
        ASSERT_FALSE(decoded.isNull()) << "not a valid zlib stream of Sub-filtered rows";
        EXPECT_EQ(decoded, source.convertToFormat(QImage::Format_RGB32));
    }
    // Without smoothing the entry is left out, so that the printer scales as it always did.
    EXPECT_FALSE(PdfImageStream::encode(Busy(8, 8), false).contains("/Interpolate"));
    EXPECT_EQ(Decode(PdfImageStream::encode(Busy(8, 8), false)), Busy(8, 8));
}

TEST(PdfImageStream, SlicesFollowTheRowsAndTheLimit)
{
    SliceLimit limit(4);
    EXPECT_EQ(PdfImageStream::sliceCount(0), 1);
    EXPECT_EQ(PdfImageStream::sliceCount(255), 1);
    EXPECT_EQ(PdfImageStream::sliceCount(256), 2);
    EXPECT_EQ(PdfImageStream::sliceCount(1080), 4);
}

// Our page against one drawn by QPdfWriter alone with the image in the same rectangle: the
// same place on the sheet to the pixel, but our PDF holds the image's own pixels, Flate-encoded,
// marked for smoothing when asked.
TEST(PdfImageStream, PageKeepsQtsRectangleAndHoldsTheOwnPixels)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture = Busy(640, 360);
    {
        QPainter p(&picture);
        p.fillRect(100, 50, 200, 100, Qt::red);
    }
    PageRenderer::Page page;
    page.widthPoints = 595.28;
    page.heightPoints = 841.89;
    page.dpi = 300;
    page.title = QStringLiteral("TITLE-LINE");
    page.font.family = QStringLiteral("IPAGothic");
    page.font.pointSize = 12;
    page.titleX = 360;
    page.titleY = 360;
    page.image = picture;
    page.imageX = 1003;  // twips, deliberately not on a 300 dpi pixel
    page.imageY = 1777;
    page.imageW = 9601;
    page.imageH = 5401;

    // The reference: the image drawn by QPdfWriter itself.
    const QString referencePath = dir.filePath(QStringLiteral("reference.pdf"));
    {
        QPdfWriter writer(referencePath);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(
            QPageSize(QSizeF(595.28, 841.89), QPageSize::Point, QString(), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(QRectF(1003 / 4.8, 1777 / 4.8, 9601 / 4.8, 5401 / 4.8), picture);
    }
    const QString plainPath = dir.filePath(QStringLiteral("plain.pdf"));
    const QString smoothPath = dir.filePath(QStringLiteral("smooth.pdf"));
    QString error;
    ASSERT_TRUE(PageRenderer::render(page, plainPath, &error)) << error.toStdString();
    page.smoothScaling = true;
    ASSERT_TRUE(PageRenderer::render(page, smoothPath, &error)) << error.toStdString();

    const PdfPage reference(referencePath.toStdString());
    for (const auto& [path, interpolate] :
         {std::pair{plainPath, "no"}, std::pair{smoothPath, "yes"}}) {
        SCOPED_TRACE(interpolate);
        ExpectExactIncrementalUpdate(path);
        const PdfPage ours(path.toStdString());
        ASSERT_EQ(ours.pageCount(), 1);
        const auto images = ours.images();
        ASSERT_EQ(images.size(), 1u) << "the placeholder must be gone";
        EXPECT_EQ(images[0].width, 640);
        EXPECT_EQ(images[0].height, 360);
        EXPECT_EQ(images[0].color, "rgb");
        EXPECT_EQ(images[0].encoding, "image") << "Flate, not JPEG";
        EXPECT_EQ(images[0].interpolate, interpolate);
        EXPECT_EQ(ours.firstImage(), picture) << "the file holds other pixels than the image";
        EXPECT_NE(ours.text().find("TITLE-LINE"), std::string::npos) << ours.text();

        constexpr int dpi = 144;
        const QImage a = reference.render(dpi);
        const QImage b = ours.render(dpi);
        // Below the title: the image alone. 1003 twips = 100.3 px at 144 dpi, 9601 = 960.1 px.
        const QRect inkA = Ink::bounds(a.copy(0, 150, a.width(), a.height() - 150));
        const QRect inkB = Ink::bounds(b.copy(0, 150, b.width(), b.height() - 150));
        EXPECT_NEAR(inkB.left(), 100.3, 1.0);
        EXPECT_NEAR(inkB.top() + 150, 177.7, 1.0);
        EXPECT_NEAR(inkB.width(), 960.1, 1.0);
        EXPECT_NEAR(inkB.height(), 540.1, 1.0);
        const QRect redA = Ink::boundsOf(a, QColor(255, 0, 0), 40);
        const QRect redB = Ink::boundsOf(b, QColor(255, 0, 0), 40);
        ASSERT_FALSE(redB.isEmpty());
        for (auto [x, y] : {std::pair{inkA.topLeft(), inkB.topLeft()},
                            std::pair{inkA.bottomRight(), inkB.bottomRight()},
                            std::pair{redA.topLeft(), redB.topLeft()},
                            std::pair{redA.bottomRight(), redB.bottomRight()}}) {
            EXPECT_LE(std::abs(x.x() - y.x()), 1) << x.x() << " vs " << y.x();
            EXPECT_LE(std::abs(x.y() - y.y()), 1) << x.y() << " vs " << y.y();
        }
    }
}

TEST(PdfImageStream, SwapRefusesAFileWithoutASingleImage)
{
    QTemporaryDir dir;
    PageRenderer::Page page;
    page.widthPoints = 200;
    page.heightPoints = 200;
    page.title = QStringLiteral("only a title");
    const QString path = dir.filePath(QStringLiteral("title.pdf"));
    QString error;
    ASSERT_TRUE(PageRenderer::render(page, path, &error));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    EXPECT_FALSE(PdfImageStream::swapInto(path, PdfImageStream::encode(Busy(4, 4), false), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before) << "a refused swap must leave the file as it was";
}
