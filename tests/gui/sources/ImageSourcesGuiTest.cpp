#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

#include "gui/SourcesRig.h"
#include "harness/ClipboardTool.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

const CaptureRequest kEarlier{CaptureSource::Region, CaptureDestination::Clipboard};

// A decoded JPEG keeps its size and, away from the edges between its areas, its colours
// within a few steps.
bool CloseInside(const QImage& a, const QImage& b, int tolerance)
{
    if (a.size() != b.size()) return false;
    const int w = a.width(), h = a.height();
    for (QPoint p : {QPoint(w / 4, h / 4), QPoint(3 * w / 4, h / 4), QPoint(w / 4, 3 * h / 4),
                     QPoint(3 * w / 4, 3 * h / 4)}) {
        const QRgb x = a.pixel(p), y = b.pixel(p);
        if (std::abs(qRed(x) - qRed(y)) > tolerance ||
            std::abs(qGreen(x) - qGreen(y)) > tolerance ||
            std::abs(qBlue(x) - qBlue(y)) > tolerance)
            return false;
    }
    return true;
}

QImage Blocks(int w, int h)
{
    // Large flat areas survive JPEG coding almost unchanged.
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(200, 40, 40));
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w / 2; ++x) img.setPixel(x, y, qRgb(30, 60, 220));
    return img;
}

}  // namespace

TEST(ClipboardSourceGui, AnImageOnTheClipboardIsPrintedAtItsSize)
{
    SourcesRig rig;
    ClipboardTool other;
    ASSERT_TRUE(other.offerImage(Pattern(300, 200)));
    rig.sources.printClipboard();
    ASSERT_EQ(rig.printers.jobs.size(), 1u);
    EXPECT_EQ(rig.printers.jobs[0].printer, "Office");
    EXPECT_EQ(rig.buffer.image.size(), QSize(300, 200));
    EXPECT_EQ(rig.buffer.image.convertToFormat(QImage::Format_RGB32), Pattern(300, 200));
    EXPECT_EQ(rig.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Clipboard, CaptureDestination::Printer}));
    EXPECT_EQ(rig.engine.state(), AppState::Idle);
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(ClipboardSourceGui, TextOnlyClipboardDoesNothing)
{
    SourcesRig rig;
    rig.engine.recordLastCapture(kEarlier);
    ClipboardTool other;
    ASSERT_TRUE(other.offerText("just words"));
    rig.sources.printClipboard();
    EXPECT_TRUE(rig.printers.jobs.empty());
    EXPECT_TRUE(rig.hostCalls.empty());
    EXPECT_TRUE(rig.boxes.shown.empty());
    EXPECT_EQ(rig.engine.lastCapture(), kEarlier);
}

TEST(FileSourceGui, TheFileDialogChoosesABitmapAndAJpegToPrint)
{
    QTemporaryDir dir;
    const std::string bmp = dir.filePath("shot.bmp").toStdString();
    const std::string jpg = dir.filePath("photo.jpg").toStdString();
    ASSERT_TRUE(Pattern(120, 80).save(QString::fromStdString(bmp), "BMP"));
    ASSERT_TRUE(Blocks(96, 64).save(QString::fromStdString(jpg), "JPEG", 95));

    SourcesRig rig;
    rig.lastFolder = dir.path().toStdString();
    QString title, startFolder;
    QStringList filters;
    for (const std::string& path : {bmp, jpg}) {
        DialogDriver<QFileDialog> driver(FileDialog::kObjectName, [&](QFileDialog* dlg) {
            title = dlg->windowTitle();
            startFolder = dlg->directory().absolutePath();
            filters = dlg->nameFilters();
            TypePathAndAccept(dlg, path);
        });
        rig.sources.printFile();
        EXPECT_TRUE(driver.seen);
        EXPECT_EQ(rig.lastFolder, path);
    }
    EXPECT_EQ(title, QStringLiteral("ピクチャ画像の指定"));
    EXPECT_EQ(startFolder, QFileInfo(QString::fromStdString(bmp)).absolutePath())
        << "the second dialog starts where the first file was";
    EXPECT_EQ(filters,
              QStringList{QStringLiteral(
                  "イメージファイル(*.BMP;*.JPG;*.JPEG;*.PNG) (*.bmp *.jpg *.jpeg *.png)")});
    ASSERT_EQ(rig.printers.jobs.size(), 2u);
    EXPECT_TRUE(CloseInside(rig.buffer.image, Blocks(96, 64), 12));
    EXPECT_EQ(rig.engine.lastCapture(),
              (CaptureRequest{CaptureSource::ImageFile, CaptureDestination::Printer}));
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(FileSourceGui, CancellingTheDialogDoesNothing)
{
    SourcesRig rig;
    rig.engine.recordLastCapture(kEarlier);
    DialogDriver<QFileDialog> driver(FileDialog::kObjectName,
                                     [](QFileDialog* dlg) { PressKey(dlg, Qt::Key_Escape); });
    rig.sources.copyFile();
    EXPECT_TRUE(driver.seen);
    EXPECT_TRUE(rig.hostCalls.empty());
    EXPECT_EQ(rig.engine.lastCapture(), kEarlier);
    EXPECT_EQ(rig.lastFolder, "/tmp/");
}

TEST(FileSourceGui, ACorruptFileShowsTheMessageAndSubmitsNoJob)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("broken.jpg").toStdString();
    {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xFF\xD8\xFF\xE0 this JPEG stops right here");
    }
    SourcesRig rig;
    rig.engine.recordLastCapture(kEarlier);
    DialogDriver<QFileDialog> driver(FileDialog::kObjectName,
                                     [&](QFileDialog* dlg) { TypePathAndAccept(dlg, path); });
    rig.sources.printFile();
    EXPECT_TRUE(driver.seen);
    EXPECT_TRUE(rig.printers.jobs.empty());
    ASSERT_EQ(rig.boxes.shown.size(), 1u);
    EXPECT_EQ(rig.boxes.shown[0].caption, "トヴリモ");
    EXPECT_EQ(rig.boxes.shown[0].text,
              "ファイル「" + path + "」は画像として読み込めませんでした。");
    EXPECT_EQ(rig.engine.lastCapture(), kEarlier);
}

TEST(FileSourceGui, ReversePrintPutsTheInvertedFileOnTheClipboard)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("shot.bmp").toStdString();
    ASSERT_TRUE(Pattern(64, 40).save(QString::fromStdString(path), "BMP"));
    SourcesRig rig;
    rig.options.reverseColours = true;
    FakeFileDialog answers;
    answers.answers.push_back(path);
    rig.fileDialog.fake = &answers;
    UserClickOnOurWindow();
    rig.sources.copyFile();
    EXPECT_EQ(rig.engine.lastCapture(),
              (CaptureRequest{CaptureSource::ImageFile, CaptureDestination::Clipboard}));
    const QImage pasted = PasteImage();
    ASSERT_FALSE(pasted.isNull());
    EXPECT_EQ(pasted.convertToFormat(QImage::Format_RGB32), Inverted(Pattern(64, 40)));
    EXPECT_TRUE(rig.printers.jobs.empty());
}
