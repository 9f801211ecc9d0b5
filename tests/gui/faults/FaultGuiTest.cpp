#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "capture/ImageSourceTexts.h"
#include "core/SettingsStore.h"
#include "doubles/ShownSettingsStore.h"
#include "gui/SourcesRig.h"
#include "harness/ClipboardTool.h"
#include "platform/PosixFileSystem.h"
#include "platform/qt/QtClipboard.h"

using namespace tovrimo;
using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// The real file system, in a folder that has turned read-only: reads work, every write fails
// the way the system reports it.
class ReadOnlyFolder : public PosixFileSystem {
public:
    bool writeAtomically(const std::string&, const std::string&, std::string* error) override
    {
        if (error) *error = std::strerror(EROFS);
        return false;
    }
    bool copyFile(const std::string&, const std::string&, std::string* error) override
    {
        if (error) *error = std::strerror(EROFS);
        return false;
    }
    bool remove(const std::string&) override { return false; }
};

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The headers of a BMP of the given size and 24 bits a pixel, with `pixelBytes` bytes of
// pixel data following (fewer than the size needs makes a truncated file).
QByteArray BmpHeader(int32_t width, int32_t height, uint32_t pixelBytes)
{
    QByteArray b;
    auto u16 = [&](uint16_t v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&](uint32_t v) {
        u16(uint16_t(v & 0xFFFF));
        u16(uint16_t(v >> 16));
    };
    b.append("BM");
    u32(54 + pixelBytes);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height));
    u16(1);
    u16(24);
    u32(0);
    u32(pixelBytes);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    return b;
}

void WriteFile(const std::string& path, const QByteArray& bytes)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Chooses the file in the real file dialog and prints it; returns what the user was told.
std::vector<RecordingMessageBoxes::Shown> PrintFile(SourcesRig& rig, const std::string& path)
{
    DialogDriver<QFileDialog> driver(FileDialog::kObjectName,
                                     [&](QFileDialog* dlg) { TypePathAndAccept(dlg, path); });
    rig.sources.printFile();
    EXPECT_TRUE(driver.seen);
    return rig.boxes.shown;
}

}  // namespace

TEST(SettingsFolderFaultGui, ReadOnlyFolderKeepsTheOldFileAndTellsTheUser)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    const std::string old =
        "[Application]\nTitle=Before\nVersion=2.80\n[Option]\nSelfTime=7\nPrinterCount=0\n"
        "[DefaultPrinter]\nDeviceName=Office\nFontName=IPAGothic\nFontSize=10\n";
    {
        std::ofstream(folder + "tovrimo.ini", std::ios::binary) << old;
    }
    ReadOnlyFolder fs;
    FakePrinterBackend printers;
    printers.printers = {FakePrinterBackend::a4("Office")};
    RecordingMessageBoxes boxes;
    test::ShownSettingsStore store(fs, printers, boxes, folder);

    SettingsData data;
    ASSERT_EQ(store.loadSettings(data), LoadResult::Loaded);
    ASSERT_EQ(data.settings.selfTimerSeconds, 7);
    data.settings.title = "After";
    data.settings.selfTimerSeconds = 9;
    EXPECT_FALSE(store.saveSettings(data)) << "a failed save must not count as saved";

    EXPECT_EQ(ReadBytes(folder + "tovrimo.ini"), old);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "トヴリモ");
    EXPECT_EQ(boxes.shown[0].icon, MsgIcon::Critical);
    EXPECT_NE(boxes.shown[0].text.find(std::string(settings_texts::kSaveFailed)),
              std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find(folder + "tovrimo.ini"), std::string::npos);
    EXPECT_NE(boxes.shown[0].text.find(std::strerror(EROFS)), std::string::npos)
        << "the system's reason belongs in the message: " << boxes.shown[0].text;

    // What stays in memory is still what the user chose; the file still loads as before.
    SettingsData reread;
    ASSERT_EQ(store.loadSettings(reread), LoadResult::Loaded);
    EXPECT_EQ(reread.settings.title, "Before");
    EXPECT_EQ(reread.settings.selfTimerSeconds, 7);
}

TEST(ImageFileFaultGui, TruncatedBitmapShowsTheMessageAndSubmitsNoJob)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("cut.bmp").toStdString();
    // 64 x 64 needs 12288 bytes of pixels; the file stops after 100.
    QByteArray bytes = BmpHeader(64, 64, 64 * 64 * 3);
    bytes.append(QByteArray(100, '\x7F'));
    WriteFile(path, bytes);

    SourcesRig rig;
    const auto shown = PrintFile(rig, path);
    EXPECT_TRUE(rig.printers.jobs.empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, texts::UnreadablePictureMessage(path));
}

TEST(ImageFileFaultGui, HalfAJpegOrABitmapIsRefusedByBothFileCommands)
{
    QByteArray jpeg;
    {
        QBuffer buf(&jpeg);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(Pattern(200, 150).save(&buf, "JPEG"));
    }
    QByteArray bmp;
    {
        QBuffer buf(&bmp);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(Pattern(200, 150).save(&buf, "BMP"));
    }
    struct Case {
        const char* name;
        QByteArray bytes;
        bool copy;  // コピー > 画像ファイルを指定 instead of the hard copy
    } cases[] = {
        {"half.jpg", jpeg.left(jpeg.size() / 2), false},
        {"half.bmp", bmp.left(bmp.size() / 2), false},
        {"half-copied.jpg", jpeg.left(jpeg.size() / 2), true},
        {"half-copied.bmp", bmp.left(bmp.size() / 2), true},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.filePath(QString::fromUtf8(c.name)).toStdString();
        WriteFile(path, c.bytes);
        SourcesRig rig;
        DialogDriver<QFileDialog> driver(FileDialog::kObjectName,
                                         [&](QFileDialog* dlg) { TypePathAndAccept(dlg, path); });
        if (c.copy)
            rig.sources.copyFile();
        else
            rig.sources.printFile();
        EXPECT_TRUE(driver.seen);
        ASSERT_EQ(rig.boxes.shown.size(), 1u);
        EXPECT_EQ(rig.boxes.shown[0].caption, "トヴリモ");
        EXPECT_EQ(rig.boxes.shown[0].text,
                  "ファイル「" + path + "」は画像として読み込めませんでした。");
        EXPECT_TRUE(rig.printers.jobs.empty()) << "no page";
        EXPECT_TRUE(rig.hostCalls.empty()) << "no print dialog either";
        EXPECT_TRUE(rig.buffer.image.isNull()) << "nothing captured, so nothing copied";
    }
}

TEST(ImageFileFaultGui, HugeBitmapIsRefusedWithoutAJob)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("huge.bmp").toStdString();
    // A 30000 x 30000 header (2.7 GB of pixels) over a few bytes: the size alone must refuse it.
    QByteArray bytes = BmpHeader(30000, 30000, 30000u * 30000u * 3u);
    bytes.append(QByteArray(4096, '\0'));
    WriteFile(path, bytes);

    SourcesRig rig;
    const auto shown = PrintFile(rig, path);
    EXPECT_TRUE(rig.printers.jobs.empty());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, texts::PictureTooLargeMessage(path));
}

TEST(ImageFileFaultGui, CorruptJpegAfterAValidHeaderShowsTheMessage)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("noise.jpg").toStdString();
    // A real JPEG whose entropy-coded data is overwritten with noise after its headers.
    QByteArray jpeg;
    {
        QBuffer buf(&jpeg);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(Pattern(200, 150).save(&buf, "JPEG"));
    }
    const int scan = jpeg.indexOf("\xFF\xDA");
    ASSERT_GT(scan, 0);
    for (int i = scan + 20; i < jpeg.size(); ++i) jpeg[i] = char((i * 7919) & 0xFF);
    jpeg.truncate(scan + 200);
    WriteFile(path, jpeg);

    SourcesRig rig;
    const auto shown = PrintFile(rig, path);
    // Either the decoder gives up (message, no job) or it recovers a picture of the header's
    // size; never a crash and never a job without a picture.
    if (rig.printers.jobs.empty()) {
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, texts::UnreadablePictureMessage(path));
    } else {
        EXPECT_TRUE(shown.empty());
        EXPECT_EQ(rig.buffer.image.size(), QSize(200, 150));
    }
}

TEST(ClipboardFaultGui, OwnerVanishingDuringTheReadNeitherHangsNorCrashes)
{
    // A large picture travels in many pieces (INCR); its owner is killed while the program is
    // still asking for them.
    QImage big(3000, 2000, QImage::Format_RGB32);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.setPixel(x, y, qRgb((x * 31 + y * 17) & 0xFF, (x ^ y) & 0xFF, (x * y) & 0xFF));
    QTemporaryDir dir;
    const QString png = dir.filePath("big.png");
    ASSERT_TRUE(big.save(png, "PNG"));

    for (int round = 0; round < 3; ++round) {
        Process owner("xclip", {{"-quiet", "-selection", "clipboard", "-t", "image/png", "-i",
                                 png.toStdString()}});
        ASSERT_TRUE(owner.start());
        QtClipboard clipboard;
        ASSERT_TRUE(ProcessEventsUntil([&] { return clipboard.hasImage(); }, 10s))
            << "xclip did not take the clipboard";

        // Kills the owner at a different moment of the transfer each round.
        std::thread killer([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(5 + 40 * round));
            owner.signal(SIGKILL);
        });
        const QImage got = clipboard.image();
        killer.join();
        owner.wait(5s);
        // Whatever arrived is either the whole picture or nothing.
        if (!got.isNull()) {
            EXPECT_EQ(got.size(), big.size());
        }
        // The clipboard is usable afterwards: another owner's picture is read in full.
        ClipboardTool other;
        ASSERT_TRUE(other.offerImage(Pattern(40, 30)));
        ASSERT_TRUE(
            ProcessEventsUntil([&] { return clipboard.image().size() == QSize(40, 30); }, 15s));
        other.stopOffering();
    }
}
