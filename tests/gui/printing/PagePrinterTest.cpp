#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "doubles/FakePrinterBackend.h"
#include "doubles/RecordingMessageBoxes.h"
#include "output/OutputTexts.h"
#include "output/PagePrinter.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

PrintLayout Layout(const std::string& device)
{
    PrintLayout l;
    l.printerName = device;
    l.position = PagePosition::TopLeft;
    l.scaleMode = ScaleMode::ActualSize;
    l.scalePercent = 100;
    l.paperSize = 9;
    l.orientation = PageOrientation::Portrait;
    l.fontName = "IPAGothic";
    l.fontPoints = 10;
    return l;
}

QImage Picture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::red);
    return img;
}

struct Fixture {
    FakePrinterBackend printers;
    RecordingMessageBoxes boxes;
    PagePrinter printer{printers, boxes, [](const std::string& t) { return t; }, ScreenScale{}};
    QImage buffer = Picture(200, 100);
    QImage page;

    Fixture()
    {
        auto a = FakePrinterBackend::a4("Office");
        a.sizes = {QPageSize::A4, QPageSize::Letter};
        a.sources = {PaperSource::Upper, PaperSource::Lower};
        printers.printers = {a, FakePrinterBackend::a4("Other")};
        printers.defaultName = "Office";
    }
};

}  // namespace

TEST(PagePrinter, SetupErrorsShowTheirMessageAndPrintNothing)
{
    struct Case {
        const char* why;
        int paperSize, paperBin;
        PageOrientation orientation;
        const char* caption;
        const char* text;
    } cases[] = {
        {"size not offered", 8, 0, PageOrientation::Portrait, texts::kPaperSizeErrorCaption,
         texts::kPaperSizeError},
        {"source not offered", 9, 7, PageOrientation::Portrait, texts::kPaperBinErrorCaption,
         texts::kPaperBinError},
        {"a printer's own source number, which names no source", 9, 257, PageOrientation::Portrait,
         texts::kPaperBinErrorCaption, texts::kPaperBinError},
        {"orientation neither portrait nor landscape", 9, 0, PageOrientation::Unrecognised,
         texts::kPaperBinErrorCaption, texts::kPaperBinError},
        {"unrecognised orientation with the printer's own size", 0, 0,
         PageOrientation::Unrecognised, texts::kPaperBinErrorCaption, texts::kPaperBinError},
    };
    for (const auto& c : cases) {
        Fixture f;
        PrintLayout l = Layout("Office");
        l.paperSize = c.paperSize;
        l.paperSource = c.paperBin;
        l.orientation = c.orientation;
        EXPECT_FALSE(f.printer.printPage(l, f.buffer, f.page)) << c.why;
        EXPECT_TRUE(f.printer.pageSetupFailed()) << c.why;
        ASSERT_EQ(f.boxes.shown.size(), 1u) << c.why;
        EXPECT_EQ(f.boxes.shown[0].caption, c.caption) << c.why;
        EXPECT_EQ(f.boxes.shown[0].text, c.text) << c.why;
        EXPECT_TRUE(f.printers.jobs.empty()) << c.why;
        EXPECT_TRUE(f.page.isNull()) << c.why << ": the page image stays cleared";
    }
}

TEST(PagePrinter, ZeroSizeAndSourceAreNeverChecked)
{
    Fixture f;
    PrintLayout l = Layout("Office");
    l.paperSize = 0;
    l.paperSource = 0;
    EXPECT_TRUE(f.printer.printPage(l, f.buffer, f.page));
    EXPECT_FALSE(f.printer.pageSetupFailed());
    ASSERT_EQ(f.printers.jobs.size(), 1u);
    EXPECT_FALSE(f.printers.jobs[0].pageSize.isValid());
    EXPECT_EQ(f.printers.jobs[0].paperSource, std::nullopt);
}

TEST(PagePrinter, UnknownDeviceNameKeepsTheCurrentPrinterSilently)
{
    Fixture f;
    EXPECT_TRUE(f.printer.printPage(Layout("Other"), f.buffer, f.page));
    EXPECT_TRUE(f.printer.printPage(Layout("office"), f.buffer, f.page))
        << "names compare case-sensitively; no match is no error";
    ASSERT_EQ(f.printers.jobs.size(), 2u);
    EXPECT_EQ(f.printers.jobs[1].printer, "Other") << "the printer chosen before stays current";
    EXPECT_TRUE(f.boxes.shown.empty());
}

TEST(PagePrinter, RefusedJobIsReportedAndNotTakenAsPrinted)
{
    Fixture f;
    f.printers.refuseWith = "Printer is not accepting jobs";
    EXPECT_FALSE(f.printer.printPage(Layout("Office"), f.buffer, f.page));
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].caption, "トヴリモ");
    EXPECT_NE(f.boxes.shown[0].text.find("Office"), std::string::npos);
    EXPECT_NE(f.boxes.shown[0].text.find("not accepting"), std::string::npos);
}

TEST(PagePrinter, VanishedPrinterIsReported)
{
    Fixture f;
    PrintLayout l = Layout("Office");
    EXPECT_TRUE(f.printer.printPage(l, f.buffer, f.page));
    f.printers.printers.erase(f.printers.printers.begin());  // Office is gone
    EXPECT_FALSE(f.printer.printPage(l, f.buffer, f.page));
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_NE(f.boxes.shown[0].text.find("Office"), std::string::npos);
    EXPECT_EQ(f.printers.jobs.size(), 1u);
}

TEST(PagePrinter, PageImageIsTheCaptureAtScreenScale)
{
    Fixture f;
    PrintLayout l = Layout("Office");
    l.scaleMode = ScaleMode::Percent;
    l.scalePercent = 50;
    f.printer.preparePage(l, f.buffer, f.page);
    EXPECT_EQ(f.page.size(), QSize(100, 50));
    EXPECT_EQ(f.page.pixelColor(50, 25), QColor(Qt::red));

    l.scaleMode = ScaleMode::Unrecognised;  // no such mode: no image, but a page is still printed
    EXPECT_TRUE(f.printer.printPage(l, f.buffer, f.page));
    EXPECT_TRUE(f.page.isNull());
}

TEST(PagePrinter, FitModeWithAnEmptyCaptureStillPrintsAPage)
{
    Fixture f;
    PrintLayout l = Layout("Office");
    l.scaleMode = ScaleMode::FitToPaper;
    const QImage empty;
    EXPECT_TRUE(f.printer.printPage(l, empty, f.page));
    EXPECT_EQ(f.printers.jobs.size(), 1u);
}

TEST(PagePrinter, SubmitsTheChosenPaperSourceAndOrientation)
{
    Fixture f;
    PrintLayout l = Layout("Office");
    l.paperSize = 1;
    l.paperSource = 2;
    l.orientation = PageOrientation::Landscape;
    ASSERT_TRUE(f.printer.printPage(l, f.buffer, f.page));
    ASSERT_EQ(f.printers.jobs.size(), 1u);
    EXPECT_EQ(f.printers.jobs[0].pageSize.id(), QPageSize::Letter);
    EXPECT_EQ(f.printers.jobs[0].paperSource, PaperSource::Lower);
    EXPECT_EQ(f.printers.jobs[0].orientation, QPageLayout::Landscape);
    EXPECT_EQ(f.printers.jobs[0].documentName, "トヴリモ");
}

TEST(PagePrinter, SizeAndSourceStayWithThePrinterTheyWereSetFor)
{
    // Office offers A4, Letter and two trays; Other only A4 and no tray choice at all, so a
    // size or tray carried over from Office would be refused by it.
    Fixture f;
    PrintLayout office = Layout("Office");
    office.paperSize = 1;
    office.paperSource = 2;
    ASSERT_TRUE(f.printer.printPage(office, f.buffer, f.page));

    PrintLayout other = Layout("Other");
    other.paperSize = 0;
    other.paperSource = 0;
    EXPECT_TRUE(f.printer.printPage(other, f.buffer, f.page));
    EXPECT_TRUE(f.boxes.shown.empty());
    ASSERT_EQ(f.printers.jobs.size(), 2u);
    EXPECT_EQ(f.printers.jobs[1].printer, "Other");
    EXPECT_FALSE(f.printers.jobs[1].pageSize.isValid());
    EXPECT_EQ(f.printers.jobs[1].paperSource, std::nullopt);

    // On the same printer, 0 keeps what was set before, as a printer keeps its settings.
    PrintLayout again = Layout("Office");
    again.paperSize = 1;
    again.paperSource = 2;
    ASSERT_TRUE(f.printer.printPage(again, f.buffer, f.page));
    again.paperSize = 0;
    again.paperSource = 0;
    ASSERT_TRUE(f.printer.printPage(again, f.buffer, f.page));
    ASSERT_EQ(f.printers.jobs.size(), 4u);
    EXPECT_EQ(f.printers.jobs[3].pageSize.id(), QPageSize::Letter);
    EXPECT_EQ(f.printers.jobs[3].paperSource, PaperSource::Lower);
}

TEST(PagePrinter, TheDoubleRefusesWhatItsPrinterDoesNotOffer)
{
    FakePrinterBackend printers;
    auto a = FakePrinterBackend::a4("A");
    a.sizes = {QPageSize::A4};
    a.sources = {PaperSource::Upper};
    printers.printers = {a};
    auto job = [](const QPageSize& size, std::optional<PaperSource> source) {
        JobRequest j;
        j.printer = "A";
        j.pageSize = size;
        j.paperSource = source;
        return j;
    };
    const QPageSize a4(QPageSize::A4);
    const QPageSize letter(QPageSize::Letter);
    EXPECT_TRUE(printers.submit(job(a4, PaperSource::Upper)).accepted);
    EXPECT_TRUE(printers.submit(job(QPageSize(), std::nullopt)).accepted);
    EXPECT_FALSE(printers.submit(job(letter, std::nullopt)).accepted);
    EXPECT_FALSE(printers.submit(job(a4, PaperSource::Lower)).accepted);
    JobRequest gone = job(QPageSize(), std::nullopt);
    gone.printer = "B";
    EXPECT_FALSE(printers.submit(gone).accepted);
}

TEST(PagePrinter, FullDetailLeavesThePageImageAtScreenScale)
{
    // The print dialog's copy, save and sticky-note commands take the page image buffer: it
    // stays the capture resampled at screen resolution whatever the option says.
    for (bool fullDetail : {false, true}) {
        SCOPED_TRACE(fullDetail);
        Fixture f;
        int asked = 0;
        f.printer.setFullDetail([&] {
            ++asked;
            return fullDetail;
        });
        PrintLayout l = Layout("Office");
        l.scaleMode = ScaleMode::Percent;
        l.scalePercent = 50;
        ASSERT_TRUE(f.printer.printPage(l, f.buffer, f.page));
        EXPECT_EQ(f.page.size(), QSize(100, 50));
        EXPECT_EQ(f.printers.jobs.size(), 1u);
        EXPECT_EQ(asked, 1) << "the option is read at every page, not kept from the start";
    }
}
