#include <cups/cups.h>
#include <gtest/gtest.h>

#include <thread>

#include "doubles/RecordingMessageBoxes.h"
#include "gui/printing/PageSizeIds.h"
#include "harness/Ink.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "output/PagePrinter.h"
#include "platform/cups/CupsPrinterBackend.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

struct Expected {
    const char* printer;
    QPageSize::PageSizeId size;  // Custom: the printer's own
    QPageLayout::Orientation orientation;
    PageMetrics metrics;
};

PageMetrics Metrics(double wTw, double hTw, int offX, int offY, int physW, int physH, int horz,
                    int vert, int dpi)
{
    PageMetrics m;
    m.sheetPoints = QSizeF(wTw / 20, hTw / 20);  // 20 twips to the point
    m.sheetPixels = QSize(physW, physH);
    m.printablePixels = QRect(offX, offY, horz, vert);
    m.dotsPerInchX = m.dotsPerInchY = dpi;
    return m;
}

// libcups binds a thread to one scheduler on first use, so a backend talking to another
// scheduler runs on a thread of its own.
template <typename Body>
void OnSchedulerThread(const std::string& socket, Body body)
{
    std::thread worker([&] {
        cupsSetServer(socket.c_str());
        body();
    });
    worker.join();
}

JobRequest Job(const std::string& printer, const std::string& pdf, QPageSize::PageSizeId size,
               std::optional<PaperSource> source, QPageLayout::Orientation orientation)
{
    JobRequest job;
    job.printer = printer;
    job.documentName = "トヴリモ";
    job.pdfPath = pdf;
    job.pageSize = Sheet(size);
    job.paperSource = source;
    job.orientation = orientation;
    return job;
}

}  // namespace

TEST(CupsPrinterBackend, ListsTheQueuesByName)
{
    CupsPrinterBackend backend;
    EXPECT_EQ(backend.printerNames(), (std::vector<std::string>{"TovA4", "TovLetter"}));
}

TEST(CupsPrinterBackend, DefaultPrinterWithItsSizeAndOrientation)
{
    CupsPrinterBackend backend;
    const auto defaults = backend.defaultPrinter();
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->deviceName, "TovA4");
    EXPECT_EQ(defaults->pageSize.id(), QPageSize::A4);
    EXPECT_EQ(defaults->orientation, QPageLayout::Portrait);
    EXPECT_EQ(backend.defaultPageSize("TovLetter").id(), QPageSize::Letter);
    EXPECT_FALSE(backend.defaultPageSize("NoSuchPrinter").isValid());
}

TEST(CupsPrinterBackend, SizesAndSourcesOfEachQueueInTheirOrder)
{
    CupsPrinterBackend backend;
    // A4, Letter, JIS B5, A3 / Letter, A4, Legal
    EXPECT_EQ(SizesOf(backend, "TovA4"),
              (Ids{QPageSize::A4, QPageSize::Letter, QPageSize::JisB5, QPageSize::A3}));
    EXPECT_EQ(SizesOf(backend, "TovLetter"),
              (Ids{QPageSize::Letter, QPageSize::A4, QPageSize::Legal}));
    // Upper, Lower, Manual / Tray1 (upper), Tray2 (lower), Auto
    EXPECT_EQ(backend.paperSources("TovA4"),
              (std::vector{PaperSource::Upper, PaperSource::Lower, PaperSource::Manual}));
    EXPECT_EQ(backend.paperSources("TovLetter"),
              (std::vector{PaperSource::Upper, PaperSource::Lower, PaperSource::Auto}));
    EXPECT_TRUE(backend.pageSizes("NoSuchPrinter").empty());
    EXPECT_TRUE(backend.paperSources("NoSuchPrinter").empty());
}

TEST(CupsPrinterBackend, PageMetricsFromTheSchedulerPortraitAndLandscape)
{
    // The scheduler reports the PPDs' sheets in hundredths of a millimetre: TovA4's A4 as
    // 20990 x 29704 with 635 (18 pt) margins all round, at 300 dpi; TovLetter at 600 dpi with
    // margins left 635, top 1270, right 423, bottom 847 (150, 300, 100, 200 px). Landscape
    // turns the sheet a quarter turn counter-clockwise, as the PPDs say (Plus90): left <-
    // bottom, top <- left, right <- top, bottom <- right.
    const double a4W = 20990 * 1440.0 / 2540, a4H = 29704 * 1440.0 / 2540;
    const std::vector<Expected> cases = {
        {"TovA4", QPageSize::A4, QPageLayout::Portrait,
         Metrics(a4W, a4H, 75, 75, 2479, 3508, 2329, 3358, 300)},
        {"TovA4", QPageSize::Custom, QPageLayout::Portrait,
         Metrics(a4W, a4H, 75, 75, 2479, 3508, 2329, 3358, 300)},
        {"TovA4", QPageSize::A4, QPageLayout::Landscape,
         Metrics(a4H, a4W, 75, 75, 3508, 2479, 3358, 2329, 300)},
        // JIS B5 as 18203 x 25718: 2149.96 x 3037.56 px round to 2150 x 3038, its top edge
        // 2962.56 to 2963.
        {"TovA4", QPageSize::JisB5, QPageLayout::Portrait,
         Metrics(18203 * 1440.0 / 2540, 25718 * 1440.0 / 2540, 75, 75, 2150, 3038, 2000, 2888,
                 300)},
        {"TovLetter", QPageSize::Letter, QPageLayout::Portrait,
         Metrics(12240, 15840, 150, 300, 5100, 6600, 4850, 6100, 600)},
        {"TovLetter", QPageSize::Letter, QPageLayout::Landscape,
         Metrics(15840, 12240, 200, 150, 6600, 5100, 6100, 4850, 600)},
        {"TovLetter", QPageSize::A4, QPageLayout::Landscape,
         Metrics(a4H, a4W, 200, 150, 7017, 4958, 6517, 4708, 600)},
        {"TovLetter", QPageSize::Legal, QPageLayout::Portrait,
         Metrics(12240, 20160, 150, 300, 5100, 8400, 4850, 7900, 600)},
    };
    CupsPrinterBackend backend;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.printer) + " size " + std::to_string(c.size) + " orientation " +
                     std::to_string(c.orientation));
        const auto m = backend.pageMetrics(c.printer, Sheet(c.size), c.orientation);
        ASSERT_TRUE(m);
        EXPECT_NEAR(m->sheetPoints.width() * 20, c.metrics.sheetPoints.width() * 20, 0.01);
        EXPECT_NEAR(m->sheetPoints.height() * 20, c.metrics.sheetPoints.height() * 20, 0.01);
        EXPECT_EQ(m->printablePixels.x(), c.metrics.printablePixels.x());
        EXPECT_EQ(m->printablePixels.y(), c.metrics.printablePixels.y());
        EXPECT_EQ(m->sheetPixels.width(), c.metrics.sheetPixels.width());
        EXPECT_EQ(m->sheetPixels.height(), c.metrics.sheetPixels.height());
        EXPECT_EQ(m->printablePixels.width(), c.metrics.printablePixels.width());
        EXPECT_EQ(m->printablePixels.height(), c.metrics.printablePixels.height());
        EXPECT_EQ(m->dotsPerInchX, c.metrics.dotsPerInchX);
        EXPECT_EQ(m->dotsPerInchY, c.metrics.dotsPerInchY);
    }
}

TEST(CupsPrinterBackend, LandscapeImageSitsInThePrintableCornerOnQueuesTurningEitherWay)
{
    // TovLetter turns landscape counter-clockwise (Plus90), TovLetterM90 clockwise (Minus90);
    // both have margins left 18, top 36, right 12, bottom 24 pt. A 112.5 x 75 pt image at the
    // landscape page's top-left printable corner comes out, on the portrait sheet, in the
    // corner between the bottom and left margins (Plus90) or the top and right ones (Minus90).
    PrivateCups& cups = TestSession::current().cups();
    ASSERT_TRUE(TestSession::addTestQueue(cups, "TovLetterM90")) << cups.error();
    struct Case {
        const char* queue;
        QRect sheetInk;  // points
    } cases[] = {
        {"TovLetter", QRect(18, 792 - 24 - 113, 75, 113)},
        {"TovLetterM90", QRect(612 - 12 - 75, 36, 75, 113)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.queue);
        cups.clearOutput(c.queue);
        CupsPrinterBackend backend;
        RecordingMessageBoxes boxes;
        PagePrinter printer(
            backend, boxes, [](const std::string& t) { return t; }, ScreenScale{});
        PrintLayout l;
        l.printerName = c.queue;
        l.position = PagePosition::TopLeft;
        l.scaleMode = ScaleMode::ActualSize;
        l.paperSize = 1;
        l.orientation = PageOrientation::Landscape;
        l.fontName = "IPAGothic";
        l.fontPoints = 10;
        l.titlePlacement = TitlePlacement::Unrecognised;
        QImage capture(150, 100, QImage::Format_RGB32);
        capture.fill(Qt::black);
        QImage page;
        ASSERT_TRUE(printer.printPage(l, capture, page))
            << (boxes.shown.empty() ? "" : boxes.shown.back().text);
        ASSERT_TRUE(cups.waitForJobs());
        PdfPage out(cups.outputPdf(c.queue));
        ASSERT_TRUE(out.exists()) << cups.errorLog();
        EXPECT_EQ(out.sheetSizePoints(), QSizeF(612, 792));
        const QRect ink = Ink::bounds(out.render(72));
        EXPECT_NEAR(ink.x(), c.sheetInk.x(), 1);
        EXPECT_NEAR(ink.y(), c.sheetInk.y(), 1);
        EXPECT_NEAR(ink.width(), c.sheetInk.width(), 1);
        EXPECT_NEAR(ink.height(), c.sheetInk.height(), 1);
    }
    cups.deleteQueue("TovLetterM90");
}

TEST(CupsPrinterBackend, SizeOrPrinterNotOfferedGivesNoMetrics)
{
    CupsPrinterBackend backend;
    EXPECT_FALSE(backend.pageMetrics("TovLetter", Sheet(QPageSize::A3),
                                     QPageLayout::Portrait));  // A3 only on TovA4
    EXPECT_FALSE(backend.pageMetrics("TovA4", Sheet(QPageSize::Legal),
                                     QPageLayout::Portrait));  // Legal only on TovLetter
    EXPECT_FALSE(backend.pageMetrics("NoSuchPrinter", Sheet(QPageSize::A4), QPageLayout::Portrait));
}

TEST(CupsPrinterBackend, SubmittedPageArrivesOnTheRequestedSheet)
{
    PrivateCups& cups = TestSession::current().cups();
    cups.clearOutput("TovA4");
    const std::string pdf = WriteMarkedPdf(cups.folder() + "/tmp/b5.pdf", 516, 729, 50, 20);
    CupsPrinterBackend backend;
    const int before = cups.jobCount();
    const JobResult result = backend.submit(
        Job("TovA4", pdf, QPageSize::JisB5, PaperSource::Lower, QPageLayout::Portrait));
    ASSERT_TRUE(result.accepted) << result.error;
    EXPECT_GT(result.jobId, 0);
    ASSERT_TRUE(cups.waitForJobs());
    EXPECT_EQ(cups.jobCount(), before + 1);
    PdfPage page(cups.outputPdf("TovA4"));
    ASSERT_TRUE(page.exists()) << cups.errorLog();
    EXPECT_TRUE(page.isPlainPdf());
    EXPECT_EQ(page.sheetSizePoints(), QSizeF(516, 729));
    // Not scaled by the filters: the mark keeps its size and place.
    EXPECT_EQ(Ink::bounds(page.render(72)), QRect(0, 0, 50, 20));
}

TEST(CupsPrinterBackend, LandscapePageComesOutTurnedLikeTheMetricsSay)
{
    PrivateCups& cups = TestSession::current().cups();
    cups.clearOutput("TovLetter");
    const std::string pdf = WriteMarkedPdf(cups.folder() + "/tmp/ll.pdf", 792, 612, 60, 30);
    CupsPrinterBackend backend;
    const JobResult result = backend.submit(
        Job("TovLetter", pdf, QPageSize::Letter, PaperSource::Upper, QPageLayout::Landscape));
    ASSERT_TRUE(result.accepted) << result.error;
    ASSERT_TRUE(cups.waitForJobs());
    PdfPage page(cups.outputPdf("TovLetter"));
    ASSERT_TRUE(page.exists()) << cups.errorLog();
    EXPECT_EQ(page.sheetSizePoints(), QSizeF(612, 792));
    // The landscape page's top-left corner is at the sheet's bottom-left: the landscape top
    // margin is the portrait left one, the landscape left margin the portrait bottom one.
    EXPECT_EQ(Ink::bounds(page.render(72)), QRect(0, 792 - 60, 30, 60));
}

TEST(CupsPrinterBackend, RejectingQueueRefusesWithAReasonAndPrintsNothing)
{
    PrivateCups& cups = TestSession::current().cups();
    cups.clearOutput("TovLetter");
    const std::string pdf = WriteMarkedPdf(cups.folder() + "/tmp/r.pdf", 612, 792, 10, 10);
    ASSERT_TRUE(cups.rejectJobs("TovLetter")) << cups.error();
    CupsPrinterBackend backend;
    const int before = cups.jobCount();
    const JobResult result = backend.submit(
        Job("TovLetter", pdf, QPageSize::Letter, std::nullopt, QPageLayout::Portrait));
    cups.acceptJobs("TovLetter");
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.jobId, 0);
    EXPECT_EQ(result.error, "プリンタが印刷ジョブを受け付けていません。");
    EXPECT_EQ(cups.jobCount(), before);
    EXPECT_FALSE(PdfPage(cups.outputPdf("TovLetter")).exists());
}

TEST(CupsPrinterBackend, SizeOrSourceTheQueueLacksIsRefusedBeforeAnyJob)
{
    PrivateCups& cups = TestSession::current().cups();
    const std::string pdf = WriteMarkedPdf(cups.folder() + "/tmp/n.pdf", 612, 792, 10, 10);
    CupsPrinterBackend backend;
    const int before = cups.jobCount();
    const std::pair<JobRequest, std::string> cases[] = {
        {Job("TovLetter", pdf, QPageSize::A3, std::nullopt, QPageLayout::Portrait),
         "この用紙サイズはプリンタで使用できません。"},
        {Job("TovLetter", pdf, QPageSize::Letter, PaperSource::Manual, QPageLayout::Portrait),
         "この給紙方法はプリンタで使用できません。"},
    };
    for (const auto& [job, text] : cases) {
        const JobResult result = backend.submit(job);
        EXPECT_FALSE(result.accepted);
        EXPECT_EQ(result.error, text);
    }
    EXPECT_EQ(cups.jobCount(), before);
}

TEST(CupsPrinterBackend, VanishedPrinterIsNotAccepted)
{
    PrivateCups& cups = TestSession::current().cups();
    ASSERT_TRUE(cups.addQueue("TovGone", TestSession::ppdPath("TovA4"))) << cups.error();
    CupsPrinterBackend backend;
    ASSERT_TRUE(backend.pageMetrics("TovGone", Sheet(QPageSize::A4),
                                    QPageLayout::Portrait));  // described while it existed
    ASSERT_TRUE(cups.deleteQueue("TovGone")) << cups.error();
    const std::string pdf = WriteMarkedPdf(cups.folder() + "/tmp/g.pdf", 595, 842, 10, 10);
    const int before = cups.jobCount();
    const JobResult result =
        backend.submit(Job("TovGone", pdf, QPageSize::A4, std::nullopt, QPageLayout::Portrait));
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(result.error, "プリンタが見つかりません。");
    EXPECT_EQ(cups.jobCount(), before);
    // A refused job makes the backend read the printers afresh: the queue is gone now.
    EXPECT_FALSE(backend.pageMetrics("TovGone", Sheet(QPageSize::A4), QPageLayout::Portrait));
    backend.invalidate();
    EXPECT_FALSE(backend.pageMetrics("TovGone", Sheet(QPageSize::A4), QPageLayout::Portrait));
    EXPECT_EQ(backend.printerNames(), (std::vector<std::string>{"TovA4", "TovLetter"}));
}

TEST(CupsPrinterBackend, NoQueuesOrNoSchedulerMeansNoPrinter)
{
    PrivateCups empty;
    ASSERT_TRUE(empty.start()) << empty.error();
    OnSchedulerThread(empty.socketPath(), [] {
        CupsPrinterBackend backend;
        EXPECT_TRUE(backend.printerNames().empty());
        EXPECT_FALSE(backend.defaultPrinter());
    });
    const std::string socket = empty.socketPath();
    empty.stop();
    OnSchedulerThread(socket, [] {
        CupsPrinterBackend backend;
        EXPECT_TRUE(backend.printerNames().empty());
        EXPECT_FALSE(backend.defaultPrinter());
        EXPECT_FALSE(backend.pageMetrics("TovA4", Sheet(QPageSize::A4), QPageLayout::Portrait));
        JobRequest job;
        job.printer = "TovA4";
        job.pdfPath = "/dev/null";
        const JobResult result = backend.submit(job);
        EXPECT_FALSE(result.accepted);
        EXPECT_EQ(result.error, "印刷システム (CUPS) に接続できません。");
    });
}

TEST(CupsPrinterBackend, WithoutADefaultTheFirstPrinterStandsIn)
{
    PrivateCups cups;
    ASSERT_TRUE(cups.start()) << cups.error();
    ASSERT_TRUE(TestSession::addTestQueue(cups, "TovLetter")) << cups.error();
    ASSERT_TRUE(TestSession::addTestQueue(cups, "TovA4")) << cups.error();
    OnSchedulerThread(cups.socketPath(), [] {
        CupsPrinterBackend backend;
        const auto defaults = backend.defaultPrinter();
        ASSERT_TRUE(defaults);
        EXPECT_EQ(defaults->deviceName, "TovA4");
        EXPECT_EQ(defaults->pageSize.id(), QPageSize::A4);
    });
}
