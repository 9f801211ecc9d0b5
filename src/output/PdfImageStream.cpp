#include "output/PdfImageStream.h"

#include <zlib.h>

#include <QFile>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace tovrimo {

namespace {

// Run-length matching only: on filtered screen images it compresses as well as zlib's level 1
// (flat areas become long runs of zeros) without the cost of finding longer matches.
constexpr int kDeflateLevel = 1;
constexpr int kDeflateStrategy = Z_RLE;
// PNG filter type 1 ("Sub": each byte minus the same channel of the pixel to its left) in front
// of every row; the PDF's /Predictor 11 names it.
constexpr unsigned char kSubFilter = 1;
// Rows filtered at a time into one small buffer before deflate sees them.
constexpr int kRowsPerBlock = 32;
// Below this many rows per slice, another thread costs more than it saves.
constexpr int kMinRowsPerSlice = 128;

std::atomic<int> g_maxSlices{0};  // 0: as many as the machine has cores (at most 8)

struct Slice {
    int firstRow = 0;
    int endRow = 0;  // one past the last
    bool last = false;
    std::vector<unsigned char> deflated;
    uLong adler = 1;
    uLong length = 0;  // uncompressed bytes
    bool ok = false;
};

void ToRgb(const QImage& image, int row, unsigned char* out)
{
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(row));
    for (int x = 0; x < image.width(); ++x) {
        *out++ = static_cast<unsigned char>(qRed(pixels[x]));
        *out++ = static_cast<unsigned char>(qGreen(pixels[x]));
        *out++ = static_cast<unsigned char>(qBlue(pixels[x]));
    }
}

// Filters and deflates one band of rows into a raw deflate stream that ends on a byte boundary
// (sync flush), so that the bands of all slices joined in order form one stream.
void DeflateSlice(const QImage& image, Slice& slice)
{
    const size_t rgbBytes = static_cast<size_t>(image.width()) * 3;
    const size_t rowBytes = rgbBytes + 1;
    std::vector<unsigned char> current(rgbBytes);
    std::vector<unsigned char> block(rowBytes * kRowsPerBlock);

    z_stream z{};
    if (deflateInit2(&z, kDeflateLevel, Z_DEFLATED, -15, 8, kDeflateStrategy) != Z_OK) return;
    const uLong rawLength =
        static_cast<uLong>(rowBytes) * static_cast<uLong>(slice.endRow - slice.firstRow);
    slice.deflated.resize(deflateBound(&z, rawLength) + 16);
    z.next_out = slice.deflated.data();
    z.avail_out = static_cast<uInt>(slice.deflated.size());

    bool ok = true;
    for (int row = slice.firstRow; ok && row < slice.endRow; row += kRowsPerBlock) {
        const int rows = std::min(kRowsPerBlock, slice.endRow - row);
        unsigned char* out = block.data();
        for (int r = 0; r < rows; ++r) {
            ToRgb(image, row + r, current.data());
            *out++ = kSubFilter;
            for (size_t i = 0; i < rgbBytes && i < 3; ++i) out[i] = current[i];
            for (size_t i = 3; i < rgbBytes; ++i)
                out[i] = static_cast<unsigned char>(current[i] - current[i - 3]);
            out += rgbBytes;
        }
        const auto length = static_cast<uInt>(out - block.data());
        slice.adler = adler32(slice.adler, block.data(), length);
        slice.length += length;
        z.next_in = block.data();
        z.avail_in = length;
        const bool lastBlock = row + rows >= slice.endRow;
        const int flush = !lastBlock ? Z_NO_FLUSH : (slice.last ? Z_FINISH : Z_SYNC_FLUSH);
        const int status = deflate(&z, flush);
        ok = z.avail_in == 0 && (status == Z_OK || status == Z_STREAM_END || status == Z_BUF_ERROR);
        if (lastBlock && slice.last) ok = ok && status == Z_STREAM_END;
    }
    if (slice.endRow == slice.firstRow) {  // an image without rows: an empty final block
        z.avail_in = 0;
        ok = deflate(&z, slice.last ? Z_FINISH : Z_SYNC_FLUSH) != Z_STREAM_ERROR;
    }
    slice.deflated.resize(z.total_out);
    deflateEnd(&z);
    slice.ok = ok;
}

QByteArray Number(long long n)
{
    return QByteArray::number(n);
}

}  // namespace

int PdfImageStream::sliceCount(int rows)
{
    int cores = g_maxSlices.load();
    if (cores <= 0) cores = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
    return std::clamp(rows / kMinRowsPerSlice, 1, cores);
}

void PdfImageStream::setMaxSlices(int slices)
{
    g_maxSlices = slices;
}

QByteArray PdfImageStream::encode(const QImage& source, bool interpolate)
{
    const QImage image = source.format() == QImage::Format_RGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    const int rows = image.height();
    const int slices = sliceCount(rows);
    std::vector<Slice> parts(static_cast<size_t>(slices));
    for (int i = 0; i < slices; ++i) {
        Slice& s = parts[static_cast<size_t>(i)];
        s.firstRow = static_cast<int>(static_cast<long long>(rows) * i / slices);
        s.endRow = static_cast<int>(static_cast<long long>(rows) * (i + 1) / slices);
        s.last = i == slices - 1;
    }
    {
        std::vector<std::thread> helpers;
        for (size_t i = 1; i < parts.size(); ++i)
            helpers.emplace_back([&image, &part = parts[i]] { DeflateSlice(image, part); });
        DeflateSlice(image, parts[0]);
        for (std::thread& t : helpers) t.join();
    }

    size_t deflatedBytes = 0;
    uLong adler = 1;
    for (const Slice& s : parts) {
        if (!s.ok) return {};
        deflatedBytes += s.deflated.size();
        adler = adler32_combine(adler, s.adler, static_cast<z_off_t>(s.length));
    }
    // zlib header for the fastest level, the slices, then the checksum of all filtered bytes.
    QByteArray data;
    data.reserve(static_cast<qsizetype>(deflatedBytes) + 6);
    data.append('\x78').append('\x01');
    for (const Slice& s : parts)
        data.append(reinterpret_cast<const char*>(s.deflated.data()),
                    static_cast<qsizetype>(s.deflated.size()));
    for (int shift = 24; shift >= 0; shift -= 8)
        data.append(static_cast<char>((adler >> shift) & 0xff));

    const QByteArray width = Number(image.width());
    QByteArray object = "<<\n/Type /XObject\n/Subtype /Image\n/Width " + width + "\n/Height " +
                        Number(rows) + "\n/BitsPerComponent 8\n/ColorSpace /DeviceRGB\n" +
                        (interpolate ? "/Interpolate true\n" : "") +
                        "/Filter /FlateDecode\n/DecodeParms << /Predictor 11 /Colors 3 "
                        "/BitsPerComponent 8 /Columns " +
                        width + " >>\n/Length " + Number(data.size()) + "\n>>\nstream\n";
    object.reserve(object.size() + data.size() + 16);
    object += data;
    object += "\nendstream";
    return object;
}

QImage PdfImageStream::placeholder()
{
    // Two colours, so that QPdfWriter writes an ordinary RGB image (not a mask, not grey).
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 0, 255));
    return image;
}

bool PdfImageStream::swapInto(const QString& pdfPath, const QByteArray& encodedImage,
                              QString* error)
{
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (encodedImage.isEmpty()) return fail(QStringLiteral("the image could not be compressed"));
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadWrite)) return fail(file.errorString());
    const QByteArray pdf = file.readAll();

    // The placeholder is the only image on the page.
    const qsizetype image = pdf.indexOf("/Subtype /Image");
    if (image < 0 || pdf.indexOf("/Subtype /Image", image + 1) >= 0)
        return fail(QStringLiteral("no single image in %1").arg(pdfPath));
    const qsizetype objectKeyword = pdf.lastIndexOf(" 0 obj", image);
    if (objectKeyword < 0) return fail(QStringLiteral("image object not found"));
    qsizetype digits = objectKeyword;
    while (digits > 0 && pdf[digits - 1] >= '0' && pdf[digits - 1] <= '9') --digits;
    bool numbered = false;
    const long long objectNumber = pdf.mid(digits, objectKeyword - digits).toLongLong(&numbered);
    if (!numbered || objectNumber <= 0) return fail(QStringLiteral("image object not found"));

    // The last trailer and cross-reference table: the update adds to them.
    const qsizetype trailer = pdf.lastIndexOf("trailer");
    const qsizetype dictStart = trailer < 0 ? -1 : pdf.indexOf("<<", trailer);
    const qsizetype dictEnd = dictStart < 0 ? -1 : pdf.indexOf(">>", dictStart);
    const qsizetype startXref = pdf.lastIndexOf("startxref");
    if (dictEnd < 0 || startXref < dictEnd) return fail(QStringLiteral("no trailer"));
    const QByteArray xrefText = pdf.mid(startXref + 9, 24).trimmed();
    const qsizetype lineEnd = xrefText.indexOf('\n');
    bool parsed = false;
    const long long previousXref =
        xrefText.left(lineEnd < 0 ? xrefText.size() : lineEnd).trimmed().toLongLong(&parsed);
    if (!parsed) return fail(QStringLiteral("no cross-reference offset"));
    const QByteArray oldTrailer = pdf.mid(dictStart + 2, dictEnd - dictStart - 2);
    if (oldTrailer.contains("/Prev") || !oldTrailer.contains("/Root"))
        return fail(QStringLiteral("unexpected trailer"));

    QByteArray update;
    if (!pdf.endsWith('\n')) update += '\n';
    const long long objectOffset = pdf.size() + update.size();
    update += Number(objectNumber) + " 0 obj\n";
    update += encodedImage;
    update += "\nendobj\n";
    const long long xrefOffset = pdf.size() + update.size();
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", objectOffset);
    update += "xref\n" + Number(objectNumber) + " 1\n" + entry;
    update += "trailer\n<<" + oldTrailer + "/Prev " + Number(previousXref) + "\n>>\nstartxref\n" +
              Number(xrefOffset) + "\n%%EOF\n";

    if (!file.seek(pdf.size()) || file.write(update) != update.size() || !file.flush())
        return fail(file.errorString());
    return true;
}

}  // namespace tovrimo
