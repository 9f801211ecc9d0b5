#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <string>

#include "capture/CaptureEngine.h"
#include "capture/ImageSources.h"
#include "capture/PictureFile.h"
#include "doubles/CaptureSignalRecorder.h"
#include "doubles/FakeCursorSource.h"
#include "doubles/FakeFileDialog.h"
#include "doubles/FakeScreenGrabber.h"
#include "doubles/FakeTimerFactory.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/RecordingClipboard.h"
#include "doubles/RecordingMessageBoxes.h"

using namespace tovrimo;
using namespace tovrimo::test;
using Calls = std::vector<std::string>;

namespace {

QImage Pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, 90));
    return img;
}

QImage Inverted(QImage img)
{
    img.invertPixels(QImage::InvertRgb);
    return img;
}

const CaptureRequest kEarlier{CaptureSource::Desktop, CaptureDestination::Printer};

struct Rig {
    Rig()
    {
        engine.recordLastCapture(kEarlier);
        lastFolder = "/home/user/";
    }

    std::string write(const std::string& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(QString::fromStdString(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path.toStdString();
    }
    std::string writeImage(const std::string& name, const QImage& image, const char* format)
    {
        const QString path = dir.filePath(QString::fromStdString(name));
        image.save(path, format);
        return path.toStdString();
    }

    CaptureOptions options;
    CaptureBuffer buffer;
    FakeScreenGrabber screen{Pattern(64, 48)};
    FakeWindowSystem windows;
    FakeCursorSource cursor;
    RecordingClipboard clipboard;
    FakeTimerFactory timers;
    RecordingMessageBoxes boxes;
    FakeFileDialog fileDialog;
    std::string lastFolder;
    CaptureEngine engine{
        buffer, {screen, windows, cursor, clipboard, timers}, [this] { return options; }};
    CaptureSignalRecorder handOffs{engine};
    ImageSources sources{{engine, buffer, clipboard, boxes, fileDialog, lastFolder,
                          [this] { return options; }, nullptr}};
    QTemporaryDir dir;
};

}  // namespace

TEST(ClipCopy, TextOnlyClipboardChangesNothing)
{
    Rig r;
    r.sources.printClipboard();
    EXPECT_TRUE(r.handOffs.calls.empty());
    EXPECT_EQ(r.engine.lastCapture(), kEarlier);
    EXPECT_TRUE(r.boxes.shown.empty()) << "no message";
    EXPECT_TRUE(r.buffer.image.isNull());
}

TEST(ClipCopy, ClipboardBitmapIsPrintedAtItsSize)
{
    Rig r;
    r.clipboard.current = Pattern(300, 200);
    r.sources.printClipboard();
    EXPECT_EQ(r.buffer.image.size(), QSize(300, 200));
    EXPECT_EQ(r.buffer.image, Pattern(300, 200));
    EXPECT_EQ(r.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Clipboard, CaptureDestination::Printer}));
    EXPECT_EQ(r.handOffs.calls, Calls{"printHardCopy"});
    EXPECT_EQ(r.engine.state(), AppState::Idle);
    EXPECT_TRUE(r.clipboard.images.empty()) << "nothing copied back";
}

TEST(ClipCopy, ReversePrintInvertsAndConfirmationOpensTheDialog)
{
    Rig r;
    r.options.reverseColours = true;
    r.options.confirmBeforePrint = true;
    r.clipboard.current = Pattern(30, 20);
    std::optional<CaptureRequest> recorded;
    r.handOffs.onCall = [&](const std::string&) { recorded = r.engine.lastCapture(); };
    r.sources.printClipboard();
    EXPECT_EQ(r.buffer.image, Inverted(Pattern(30, 20)));
    EXPECT_EQ(r.handOffs.calls, Calls{"openPrintDialog"});
    EXPECT_EQ(recorded, (CaptureRequest{CaptureSource::Clipboard, CaptureDestination::Printer}))
        << "recorded before the hand-off";
    EXPECT_EQ(r.engine.state(), AppState::PrintDialogOpen);
}

TEST(ClipCopy, CapturedWindowTitleIsLeftAlone)
{
    Rig r;
    r.windows.windows[0x10] = {{0, 0, 10, 10}, "Editor"};
    r.windows.foreground = 0x10;
    r.engine.captureWindow(0);
    r.clipboard.current = Pattern(8, 8);
    r.sources.printClipboard();
    EXPECT_EQ(r.engine.capturedWindowTitle(), "Editor");
}

TEST(FileSources, TheDialogIsOpenedAsTheCommandsSay)
{
    Rig r;
    r.sources.printFile();
    ASSERT_EQ(r.fileDialog.requests.size(), 1u);
    const FileDialogRequest& q = r.fileDialog.requests[0];
    EXPECT_EQ(q.acceptMode, FileDialogRequest::AcceptMode::Open);
    EXPECT_EQ(q.caption, "ピクチャ画像の指定");
    EXPECT_EQ(q.filter, "イメージファイル(*.BMP;*.JPG;*.JPEG;*.PNG)|*.bmp;*.jpg;*.jpeg;*.png|");
    EXPECT_EQ(q.selectedFilter, 0);
    EXPECT_FALSE(q.fileMustExist) << "a missing file is reported by the loader";
    EXPECT_FALSE(q.confirmOverwrite);
    EXPECT_EQ(q.dir, "/home/user/");
}

TEST(FileSources, CancelDoesNothingAndRecordsNothing)
{
    for (int command = 0; command < 2; ++command) {
        Rig r;
        command == 0 ? r.sources.printFile() : r.sources.copyFile();
        EXPECT_TRUE(r.handOffs.calls.empty());
        EXPECT_TRUE(r.clipboard.images.empty());
        EXPECT_EQ(r.engine.lastCapture(), kEarlier);
        EXPECT_EQ(r.lastFolder, "/home/user/");
        EXPECT_TRUE(r.boxes.shown.empty());
    }
}

TEST(FileSources, FileCopyPrintsTheFileAndRemembersIt)
{
    Rig r;
    const std::string path = r.writeImage("shot.bmp", Pattern(40, 30), "BMP");
    r.fileDialog.answers.push_back(path);
    r.sources.printFile();
    EXPECT_EQ(r.buffer.image, Pattern(40, 30));
    EXPECT_EQ(r.handOffs.calls, Calls{"printHardCopy"});
    EXPECT_EQ(r.engine.lastCapture(),
              (CaptureRequest{CaptureSource::ImageFile, CaptureDestination::Printer}));
    EXPECT_EQ(r.lastFolder, path);
    // Repeating starts in the last file's place.
    r.sources.printFile();
    ASSERT_EQ(r.fileDialog.requests.size(), 2u);
    EXPECT_EQ(r.fileDialog.requests[1].dir, path);
}

TEST(FileSources, FileCaptureCopiesInvertedWhenReversePrint)
{
    Rig r;
    r.options.reverseColours = true;
    r.engine.setState(AppState::CopyDesktopPending);
    r.fileDialog.answers.push_back(r.writeImage("shot.png", Pattern(12, 9), "PNG"));
    r.sources.copyFile();
    ASSERT_EQ(r.clipboard.images.size(), 1u);
    EXPECT_EQ(r.clipboard.images[0], Inverted(Pattern(12, 9)));
    EXPECT_EQ(r.engine.state(), AppState::Idle);
    EXPECT_EQ(r.engine.lastCapture(),
              (CaptureRequest{CaptureSource::ImageFile, CaptureDestination::Clipboard}));
    EXPECT_TRUE(r.handOffs.calls.empty()) << "nothing printed";
}

TEST(FileSources, UnreadableFilesShowAMessageAndRecordNothing)
{
    struct Case {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"corrupt.bmp", QByteArray("BM this is not a bitmap at all")},
        {"text.jpg", QByteArray("plain text")},
        {"empty.bmp", QByteArray()},
    };
    for (const auto& c : cases) {
        Rig r;
        const std::string path = r.write(c.name, c.bytes);
        r.fileDialog.answers.push_back(path);
        r.fileDialog.answers.push_back(path);
        r.sources.printFile();
        r.sources.copyFile();
        EXPECT_TRUE(r.handOffs.calls.empty()) << c.name;
        EXPECT_TRUE(r.clipboard.images.empty()) << c.name;
        EXPECT_EQ(r.engine.lastCapture(), kEarlier) << c.name;
        ASSERT_EQ(r.boxes.shown.size(), 2u) << c.name;
        EXPECT_EQ(r.boxes.shown[0].caption, "トヴリモ");
        EXPECT_EQ(r.boxes.shown[0].text,
                  "ファイル「" + path + "」は画像として読み込めませんでした。");
        EXPECT_EQ(r.boxes.shown[0].icon, MsgIcon::Critical);
        EXPECT_EQ(r.lastFolder, path) << "the choice itself was confirmed";
    }
}

TEST(FileSources, AMissingFileIsUnreadable)
{
    Rig r;
    r.fileDialog.answers.push_back(r.dir.filePath("gone.bmp").toStdString());
    r.sources.printFile();
    ASSERT_EQ(r.boxes.shown.size(), 1u);
    EXPECT_TRUE(r.handOffs.calls.empty());
}

namespace {

// A real JPEG whose frame header is made to claim the given size; its data stays tiny.
QByteArray HugeJpeg(int width, int height)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(qRgb(40, 90, 160));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "JPEG");
    const int sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0) return {};
    // marker, length (2), precision (1), height (2), width (2)
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

}  // namespace

TEST(FileSources, APictureTooLargeForMemoryIsRefusedBeforeDecoding)
{
    Rig r;
    const std::string path = r.write("huge.jpg", HugeJpeg(30000, 30000));
    EXPECT_EQ(LoadPictureFile(path).error, LoadedPicture::Error::TooLarge);
    r.fileDialog.answers.push_back(path);
    r.sources.printFile();
    ASSERT_EQ(r.boxes.shown.size(), 1u);
    EXPECT_EQ(r.boxes.shown[0].caption, "トヴリモ");
    EXPECT_EQ(r.boxes.shown[0].text,
              "ファイル「" + path + "」の画像は大きすぎるため読み込めません。");
    EXPECT_TRUE(r.handOffs.calls.empty());
    EXPECT_EQ(r.engine.lastCapture(), kEarlier);
}

TEST(FileSources, AHugeSizeTheReaderCannotEvenDescribeIsRefusedToo)
{
    // A bitmap header claiming 30000 x 30000 over a few bytes of pixels.
    QByteArray b(54, '\0');
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, 54 + 16);
    put32(10, 54);
    put32(14, 40);
    put32(18, 30000);
    put32(22, 30000);
    b[26] = 1;
    b[28] = 24;
    b.append(QByteArray(16, '\x7f'));
    Rig r;
    r.fileDialog.answers.push_back(r.write("huge.bmp", b));
    r.sources.copyFile();
    ASSERT_EQ(r.boxes.shown.size(), 1u);
    EXPECT_TRUE(r.clipboard.images.empty());
    EXPECT_EQ(r.engine.lastCapture(), kEarlier);
}

TEST(PictureFileSize, LimitsBySideAndByMemory)
{
    EXPECT_TRUE(PictureSizeAllowed(8000, 8000));
    EXPECT_FALSE(PictureSizeAllowed(30000, 30000));
    EXPECT_FALSE(PictureSizeAllowed(40000, 10));
    EXPECT_TRUE(PictureSizeAllowed(1920, 1080, 1920 * 1080 * 4));
    EXPECT_FALSE(PictureSizeAllowed(1920, 1081, 1920 * 1080 * 4));
}
