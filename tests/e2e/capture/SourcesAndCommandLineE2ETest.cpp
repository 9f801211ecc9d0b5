#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "harness/ClipboardTool.h"
#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/Ink.h"
#include "harness/PaintedDesktop.h"
#include "harness/PdfPage.h"
#include "harness/PrintQueueTest.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// Prints at once, actual size, image in the top-left corner of the printable area.
void WriteSettings(const std::string& path, const std::string& extra = "")
{
    std::ofstream ini(path);
    ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
        << "PrinterCount=2\nLastSet=-1\n"
        << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
        << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\nTitleText=\n"
        << "TitleVAlign=1\n"
        << "[Printer1]\nDeviceName=TovA4\nTitle=Report\nOrientation=1\nPaperSize=9\nPos=1\n"
        << "Size=3\nSizeP=50\nFontName=IPAGothic\nFontSize=10\nTitleText=NAMED-REPORT\n"
        << "TitleVAlign=1\n"
        << "[Printer2]\nDeviceName=TovA4\nTitle=report\nOrientation=1\nPaperSize=9\nPos=1\n"
        << "Size=1\nFontName=IPAGothic\nFontSize=10\nTitleText=LOWER-CASE\nTitleVAlign=1\n"
        << extra;
}

}  // namespace

class SourcesAndCommandLineE2E : public PrintQueueTest {
protected:
    QImage printedPage() { return PdfPage(cups().outputPdf("TovA4")).render(150); }
    Desktop desktop;
};

TEST_F(SourcesAndCommandLineE2E, ClipboardHardCopyPrintsTheImageAtActualSize)
{
    // No hot key prints the clipboard: the tray's double click is set to do it.
    TovrimoProcess tovrimo;
    WriteSettings(tovrimo.settingsFile());
    {
        std::ifstream in(tovrimo.settingsFile());
        std::string text((std::istreambuf_iterator<char>(in)), {});
        text.replace(text.find("ConfirmBeforePrint=0\n"), 21,
                     "ConfirmBeforePrint=0\nDoubleClick=1\nDoubleClickDo=5\n");
        std::ofstream(tovrimo.settingsFile()) << text;
    }
    ASSERT_TRUE(tovrimo.start());
    std::this_thread::sleep_for(1500ms);

    QImage offered(300, 200, QImage::Format_RGB32);
    offered.fill(QColor(0, 0, 255));
    ClipboardTool clipboard;
    ASSERT_TRUE(clipboard.offerImage(offered));
    ASSERT_TRUE(WaitFor([] { return !TrayIcons().empty(); }, 15s)) << "no tray icon";
    const QPoint icon = TrayIcons().front();
    desktop.mouseMove(icon.x(), icon.y());
    desktop.doubleClick(1);
    ASSERT_TRUE(printedOnePage());
    const QRect blue = Ink::boundsOf(printedPage(), QColor(0, 0, 255), 60);
    // 300 x 200 screen pixels at 96 dpi, rendered at 150 dpi.
    EXPECT_NEAR(blue.width(), 300 / 96.0 * 150, 1.5);
    EXPECT_NEAR(blue.height(), 200 / 96.0 * 150, 1.5);
    clipboard.stopOffering();
}

TEST_F(SourcesAndCommandLineE2E, WindowSwitchPrintsTheGivenWindow)
{
    TestWindow window("Tovrimo window switch", 300, 300, 240, 120, 0xFF00FF);
    ASSERT_NE(desktop.waitForWindow("^Tovrimo window switch$", 10s), 0u);

    TovrimoProcess tovrimo;
    WriteSettings(tovrimo.settingsFile());
    ASSERT_TRUE(tovrimo.start({"/a", "/h=" + std::to_string(window.id())}));
    const auto code = tovrimo.waitForExit(30s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    ASSERT_TRUE(printedOnePage());
    const QImage page = printedPage();
    const QRect ink = Ink::bounds(page);
    const QRect client = Ink::boundsOf(page, QColor(255, 0, 255), 60);
    EXPECT_NEAR(client.width(), 240 / 96.0 * 150, 1.5) << "the window's own area";
    // Only the window (with its frame) is printed, nothing of the desktop around it.
    EXPECT_LT(ink.width(), client.width() + 40);
    EXPECT_LT(ink.height(), client.height() + 80);
}

TEST_F(SourcesAndCommandLineE2E, NamedSettingIsChosenByItsExactName)
{
    PaintedDesktop painted(0, 0, 1, 1, 0x00FF00, 0x00FF00);
    TovrimoProcess tovrimo;
    WriteSettings(tovrimo.settingsFile());
    ASSERT_TRUE(tovrimo.start({"/d", "/S:Report"}));
    ASSERT_TRUE(tovrimo.waitForExit(30s).has_value());
    ASSERT_TRUE(printedOnePage());
    const PdfPage page(cups().outputPdf("TovA4"));
    EXPECT_NE(page.text().find("NAMED-REPORT"), std::string::npos) << page.text();
    // At 50 %, the 1280-pixel screen is 6.67 in wide.
    const QRect green = Ink::boundsOf(page.render(150), QColor(0, 255, 0), 60);
    EXPECT_NEAR(green.width(), 1280 * 0.5 / 96.0 * 150, 2.0);
}

TEST_F(SourcesAndCommandLineE2E, RegionSwitchPrintsTheDraggedRegion)
{
    TovrimoProcess tovrimo;
    WriteSettings(tovrimo.settingsFile());
    {
        PaintedDesktop painted(0, 0, 1, 1, 0xFF0000, 0xFF0000);
        ASSERT_TRUE(tovrimo.start({"/r"}));
        std::this_thread::sleep_for(1500ms);  // captured, and the selection screen is up
    }
    std::this_thread::sleep_for(300ms);
    desktop.mouseMove(200, 200);
    desktop.mouseDown(1);
    desktop.mouseMove(250, 230);
    desktop.mouseMove(299, 249);
    desktop.mouseUp(1);
    const auto code = tovrimo.waitForExit(30s);
    ASSERT_TRUE(code.has_value()) << "the job ends the program";
    ASSERT_TRUE(printedOnePage());
    const QRect red = Ink::boundsOf(printedPage(), QColor(255, 0, 0), 60);
    EXPECT_NEAR(red.width(), 100 / 96.0 * 150, 1.5);
    EXPECT_NEAR(red.height(), 50 / 96.0 * 150, 1.5);
}

TEST_F(SourcesAndCommandLineE2E, UnrecognisedSwitchShowsTheErrorAndEnds)
{
    TovrimoProcess tovrimo;
    WriteSettings(tovrimo.settingsFile());
    ASSERT_TRUE(tovrimo.start({"/dx"}));
    const auto box = desktop.waitForWindow("^トヴリモ$", 15s);
    ASSERT_NE(box, 0u);
    desktop.dismiss(box);
    const auto code = tovrimo.waitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_NE(*code, 0);
    EXPECT_EQ(cups().jobCount(), jobsBefore);
}

namespace {

// Windows that trayer has embedded: the tray icons.
int EmbeddedTrayIcons()
{
    Process p = Process::run("/bin/sh", {{"-c",
                                          "for w in $(xdotool search --class trayer); do "
                                          "xwininfo -children -id $w | grep -c '^ *0x'; done"}});
    int total = 0;
    std::istringstream in(p.standardOutput());
    for (int n; in >> n;) total += n;
    return total;
}

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

}  // namespace

TEST_F(SourcesAndCommandLineE2E, HalfAPictureFileIsRefusedWithTheMessageAndNoPage)
{
    // The resident program with slot 3 (hard copy of an image file) on Ctrl+Alt+F.
    TovrimoProcess tovrimo;
    WriteSettings(tovrimo.settingsFile(), "");
    {
        std::ifstream in(tovrimo.settingsFile());
        std::string text((std::istreambuf_iterator<char>(in)), {});
        text.replace(text.find("ConfirmBeforePrint=0\n"), 21,
                     "ConfirmBeforePrint=0\nHotKeyOn3=1\nHotKeyALT3=1\nHotKeyCTRL3=1\n"
                     "HotKeySHIFT3=0\nHotKeyButton3=70\n");
        std::ofstream(tovrimo.settingsFile()) << text;
    }
    QImage picture(240, 120, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    const QByteArray jpeg = Encoded(picture, "JPEG");
    const QByteArray bmp = Encoded(picture, "BMP");
    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path.toStdString();
    };
    const std::string whole = write("whole.jpg", jpeg);
    const std::string cutJpeg = write("half.jpg", jpeg.left(jpeg.size() / 2));
    const std::string cutBmp = write("half.bmp", bmp.left(bmp.size() / 2));

    FocusRoot();
    const int icons = EmbeddedTrayIcons();
    ASSERT_TRUE(tovrimo.start());
    ASSERT_TRUE(WaitFor([&] { return EmbeddedTrayIcons() == icons + 1; }, 15s))
        << tovrimo.process().standardError();

    // Picks the file in the program's file dialog; false when the dialog did not come.
    auto choose = [&](const std::string& path) {
        desktop.key("ctrl+alt+f");
        const auto dialog = desktop.waitForWindow("^ピクチャ画像の指定$", 15s);
        if (!dialog) return false;
        desktop.activate(dialog);
        std::this_thread::sleep_for(500ms);
        desktop.type(path);
        desktop.key("Return");
        return desktop.waitForNoWindowId(dialog, 10s);
    };

    // A whole picture prints: the way of choosing a file works.
    ASSERT_TRUE(choose(whole));
    ASSERT_TRUE(printedOnePage());
    EXPECT_NEAR(Ink::boundsOf(printedPage(), QColor(255, 0, 255), 60).width(), 240 / 96.0 * 150,
                1.5);

    for (const std::string& path : {cutJpeg, cutBmp}) {
        SCOPED_TRACE(path);
        startCounting();
        ASSERT_TRUE(choose(path));
        const auto box = desktop.waitForWindow("^トヴリモ$", 15s);
        ASSERT_NE(box, 0u) << "no message; stderr:\n" << tovrimo.process().standardError();
        ASSERT_TRUE(desktop.dismiss(box));
        ASSERT_TRUE(desktop.waitForNoWindowId(box, 10s));
        std::this_thread::sleep_for(1s);
        EXPECT_EQ(cups().jobCount(), jobsBefore) << "no page";
        EXPECT_TRUE(tovrimo.running());
    }
}
