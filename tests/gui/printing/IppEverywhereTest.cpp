#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "doubles/RecordingMessageBoxes.h"
#include "gui/printing/PageSizeIds.h"
#include "harness/Ink.h"
#include "harness/IppEverywhere.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/Process.h"
#include "harness/TestSession.h"
#include "output/OutputTexts.h"
#include "output/PagePrinter.h"
#include "platform/cups/CupsPrinterBackend.h"

using namespace tovrimo;
using namespace tovrimo::test;

// Printing on driverless printers, simulated by ippeveprinter: "TovEve" is the simulator's own
// model (Letter by default, A4 with 3.40 mm side margins, 600 dpi, sources auto/main/manual/
// by-pass-tray); "TovEveB" is described by tests/data/ipp/TovEveB.attrs (A4 by default, no
// Letter, margins left 5, bottom 7, right 3, top 10 mm, 300 dpi, trays tray-1/tray-2/manual,
// landscape turned clockwise). Queues in the session's cupsd: "Eve" made by CUPS with
// -m everywhere, "EveRaw", "EveB" and "EveNone" (to "TovEveNone", which names no media at all)
// without any PPD. Two hostile printers, also behind queues without a PPD: "EveHostile"
// (TovEveHostile.attrs: 305 sizes of which only A5 and JIS B5 have margins inside the sheet, the
// default A4 among the broken ones, a tray name that is not UTF-8) and "EveDpi"
// (TovEveDpi.attrs: an ordinary A4 at 0 or 1,000,000 dpi).
namespace {

IppEverywhere* gPrinters = nullptr;

constexpr double kTolerancePt = 0.75;

PrintLayout Layout(const std::string& device, int paperSize, int paperBin = 0)
{
    PrintLayout l;
    l.printerName = device;
    l.position = PagePosition::TopLeft;
    l.scaleMode = ScaleMode::ActualSize;
    l.scalePercent = 100;
    l.paperSize = static_cast<int16_t>(paperSize);
    l.paperSource = static_cast<int16_t>(paperBin);
    l.orientation = PageOrientation::Portrait;
    l.fontName = "IPAGothic";
    l.fontPoints = 10;
    l.titleText = "";
    l.titlePlacement = TitlePlacement::Unrecognised;  // the (empty) title does not move the image
    return l;
}

// 150 x 100 screen pixels: 112.5 x 75 pt at actual size (15 twips per pixel).
QImage Capture()
{
    QImage img(150, 100, QImage::Format_RGB32);
    img.fill(Qt::black);
    return img;
}

// Where the ink lies on the sheet as it comes out, in points.
QRectF InkPoints(const PdfPage& page)
{
    const QRect px = Ink::bounds(page.render(144));
    return QRectF(px.x() / 2.0, px.y() / 2.0, px.width() / 2.0, px.height() / 2.0);
}

void ExpectInk(const QRectF& ink, double x, double y, double w, double h)
{
    EXPECT_NEAR(ink.x(), x, kTolerancePt) << "left";
    EXPECT_NEAR(ink.y(), y, kTolerancePt) << "top";
    EXPECT_NEAR(ink.width(), w, kTolerancePt) << "width";
    EXPECT_NEAR(ink.height(), h, kTolerancePt) << "height";
}

bool Has(const std::string& attributes, const std::string& line)
{
    return ("\n" + attributes).find("\n" + line) != std::string::npos;
}

class IppEverywhereTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gPrinters = new IppEverywhere;
        PrivateCups& cups = TestSession::current().cups();
        const IppEverywhere::Printer* eve = nullptr;
        const IppEverywhere::Printer* eveB = nullptr;
        const IppEverywhere::Printer* none = nullptr;
        const IppEverywhere::Printer* hostile = nullptr;
        const IppEverywhere::Printer* badDpi = nullptr;
        if (!gPrinters->start() || !(eve = gPrinters->addPrinter("TovEve")) ||
            !(hostile = gPrinters->addPrinter("TovEveHostile",
                                              TOVRIMO_TEST_DATA "/ipp/TovEveHostile.attrs")) ||
            !(badDpi =
                  gPrinters->addPrinter("TovEveDpi", TOVRIMO_TEST_DATA "/ipp/TovEveDpi.attrs")) ||
            !(eveB = gPrinters->addPrinter("TovEveB", TOVRIMO_TEST_DATA "/ipp/TovEveB.attrs")) ||
            !(none = gPrinters->addPrinter("TovEveNone",
                                           TOVRIMO_TEST_DATA "/ipp/TovEveNoSizes.attrs"))) {
            setUpError = gPrinters->error();
            return;
        }
        if (!cups.addIppQueue("Eve", eve->uri, true) ||
            !cups.addIppQueue("EveRaw", eve->uri, false) ||
            !cups.addIppQueue("EveB", eveB->uri, false) ||
            !cups.addIppQueue("EveNone", none->uri, false) ||
            !cups.addIppQueue("EveHostile", hostile->uri, false) ||
            !cups.addIppQueue("EveDpi", badDpi->uri, false))
            setUpError = cups.error();
    }
    static void TearDownTestSuite()
    {
        PrivateCups& cups = TestSession::current().cups();
        for (const char* q : {"Eve", "EveRaw", "EveB", "EveNone", "EveHostile", "EveDpi"})
            cups.deleteQueue(q);
        delete gPrinters;
        gPrinters = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(setUpError.empty()) << setUpError;
        for (const char* p : {"TovEve", "TovEveB", "TovEveNone", "TovEveHostile"})
            gPrinters->clearSpool(p);
    }

    // Prints through the program's page printer and the real CUPS backend; the document as the
    // printer received it, when it got one.
    std::unique_ptr<PdfPage> print(const PrintLayout& layout, const std::string& simulated)
    {
        const bool printed = printer.printPage(layout, capture, page);
        if (!printed) return nullptr;
        if (!TestSession::current().cups().waitForJobs() || !gPrinters->waitForDocument(simulated))
            return nullptr;
        return std::make_unique<PdfPage>(gPrinters->lastDocument(simulated));
    }

    static inline std::string setUpError;
    CupsPrinterBackend backend;
    RecordingMessageBoxes boxes;
    PagePrinter printer{backend, boxes, [](const std::string& t) { return t; }, ScreenScale{}};
    QImage capture = Capture();
    QImage page;
};

}  // namespace

TEST_F(IppEverywhereTest, WhatEachKindOfQueueReports)
{
    // The PPD queue and the queue without one report the same printer the same way.
    for (const char* q : {"Eve", "EveRaw"}) {
        SCOPED_TRACE(q);
        auto sizes = SizesOf(backend, q);
        std::sort(sizes.begin(), sizes.end());
        Ids expected{QPageSize::Letter, QPageSize::Legal, QPageSize::A4, QPageSize::Envelope10,
                     QPageSize::EnvelopeDL};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sizes, expected);
        EXPECT_EQ(backend.defaultPageSize(q).id(), QPageSize::Letter);
        const auto sources = backend.paperSources(q);
        for (PaperSource source : {PaperSource::Auto, PaperSource::Upper, PaperSource::Manual})
            EXPECT_NE(std::find(sources.begin(), sources.end(), source), sources.end());
        const auto m = backend.pageMetrics(q, Sheet(QPageSize::A4), QPageLayout::Portrait);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->dotsPerInchX, 600);
        EXPECT_EQ(m->printablePixels.x(), 80);  // 3.40 mm at 600 dpi
        EXPECT_EQ(m->printablePixels.y(), 150);
    }
    EXPECT_EQ(SizesOf(backend, "EveB"), (Ids{QPageSize::A4, QPageSize::JisB5, QPageSize::A5}));
    EXPECT_EQ(backend.defaultPageSize("EveB").id(), QPageSize::A4);
    EXPECT_EQ(backend.paperSources("EveB"),
              (std::vector{PaperSource::Upper, PaperSource::Lower, PaperSource::Manual}));
    const auto b = backend.pageMetrics("EveB", QPageSize(), QPageLayout::Portrait);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->dotsPerInchX, 300);
    EXPECT_EQ(b->printablePixels.x(), 59);   // 5 mm
    EXPECT_EQ(b->printablePixels.y(), 118);  // 10 mm
}

TEST_F(IppEverywhereTest, ActualSizeOnA4LandsOnTheMarginsCorner)
{
    // A4 on TovEve: left margin 80 px at 600 dpi = 9.6 pt, top 150 px = 18 pt; the image is
    // 112.5 x 75 pt. The same page through the generated PPD and through the bare queue.
    for (const char* q : {"Eve", "EveRaw"}) {
        SCOPED_TRACE(q);
        gPrinters->clearSpool("TovEve");
        auto doc = print(Layout(q, 9), "TovEve");
        ASSERT_TRUE(doc) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
        EXPECT_NEAR(doc->sheetSizePoints().width(), 595.3, 0.5);
        EXPECT_NEAR(doc->sheetSizePoints().height(), 841.9, 0.5);
        ExpectInk(InkPoints(*doc), 9.6, 18, 112.5, 75);
        const std::string attrs = gPrinters->lastJobAttributes("TovEve");
        EXPECT_TRUE(Has(attrs, "IPP_MEDIA=iso_a4_210x297mm") ||
                    attrs.find("IPP_MEDIA_COL={media-size={x-dimension=21000 y-dimension=29700}") !=
                        std::string::npos)
            << attrs;
    }
}

TEST_F(IppEverywhereTest, ActualSizeOnTheDefaultLetterSendsNoSize)
{
    auto doc = print(Layout("EveRaw", 0), "TovEve");
    ASSERT_TRUE(doc) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
    EXPECT_EQ(doc->sheetSizePoints(), QSizeF(612, 792));
    ExpectInk(InkPoints(*doc), 18, 18, 112.5, 75);
    const std::string attrs = gPrinters->lastJobAttributes("TovEve");
    EXPECT_FALSE(Has(attrs, "IPP_MEDIA=")) << attrs;
    EXPECT_FALSE(Has(attrs, "IPP_MEDIA_SOURCE=")) << attrs;
}

TEST_F(IppEverywhereTest, FitAndCornerOnTheSecondPrinter)
{
    // TovEveB, A4 at 300 dpi: A = 59 px = 283 tw, Ar = 35 px = 168 tw, B = 118 px = 566 tw,
    // Bb = 83 px = 398 tw; PW 11906, PH 16838: C = 11455 tw, D = 15874 tw.
    PrintLayout fit = Layout("EveB", 9);
    fit.scaleMode = ScaleMode::FitToPaper;
    QImage wide(300, 100, QImage::Format_RGB32);
    wide.fill(Qt::black);
    capture = wide;
    auto doc = print(fit, "TovEveB");
    ASSERT_TRUE(doc) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
    // Wider than tall: fitted to the printable width, W2 = C = 11455 tw and H2 = nearest(100 x
    // 11455 / 300) = 3818 tw, that is 764 x 255 screen pixels, printed as 11460 x 3825 tw
    // (573 x 191.25 pt) from A, B.
    ExpectInk(InkPoints(*doc), 14.15, 28.3, 573, 191.25);

    capture = Capture();
    gPrinters->clearSpool("TovEveB");
    PrintLayout corner = Layout("EveB", 9);
    corner.position = PagePosition::BottomRight;  // bottom-right: X = A + C - W = 9488 tw, Y = B +
                                                  // D - H = 14940 tw
    doc = print(corner, "TovEveB");
    ASSERT_TRUE(doc);
    ExpectInk(InkPoints(*doc), 474.4, 747, 112.5, 75);
}

TEST_F(IppEverywhereTest, LandscapeTurnsThePrintersWay)
{
    // TovEveB turns landscape clockwise: the landscape left margin is the portrait top one
    // (118 px = 28.3 pt), the landscape top margin the portrait right one (35 px = 8.4 pt).
    // Turned the other way they would be 19.9 and 14.2 pt.
    PrintLayout l = Layout("EveB", 9);
    l.orientation = PageOrientation::Landscape;
    auto doc = print(l, "TovEveB");
    ASSERT_TRUE(doc) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
    EXPECT_NEAR(doc->sheetSizePoints().width(), 841.9, 0.5);
    ExpectInk(InkPoints(*doc), 28.3, 8.4, 112.5, 75);
    EXPECT_TRUE(
        Has(gPrinters->lastJobAttributes("TovEveB"), "IPP_ORIENTATION_REQUESTED=reverse-landscape"))
        << gPrinters->lastJobAttributes("TovEveB");
}

TEST_F(IppEverywhereTest, SizeOrSourceThePrinterLacksIsRefusedAndNothingPrints)
{
    struct Case {
        const char* queue;
        int size, bin;
        const char* caption;
    } cases[] = {
        {"EveRaw", 8, 0, texts::kPaperSizeErrorCaption},  // A3
        {"EveB", 1, 0, texts::kPaperSizeErrorCaption},    // no Letter on this one
        {"EveB", 9, 7, texts::kPaperBinErrorCaption},     // no automatic tray
        {"Eve", 9, 2, texts::kPaperBinErrorCaption},      // no lower tray
    };
    PrivateCups& cups = TestSession::current().cups();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + " " + std::to_string(c.size) + "/" +
                     std::to_string(c.bin));
        boxes.shown.clear();
        const int before = cups.jobCount();
        EXPECT_FALSE(printer.printPage(Layout(c.queue, c.size, c.bin), capture, page));
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].caption, c.caption);
        EXPECT_EQ(cups.jobCount(), before);
    }
    EXPECT_TRUE(gPrinters->lastDocument("TovEve").empty());
    EXPECT_TRUE(gPrinters->lastDocument("TovEveB").empty());
}

TEST_F(IppEverywhereTest, SourceThePrinterOffersReachesIt)
{
    auto doc = print(Layout("EveB", 11, 2), "TovEveB");  // A5 from tray-2
    ASSERT_TRUE(doc) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
    EXPECT_NEAR(doc->sheetSizePoints().width(), 419.5, 0.5);
    std::string attrs = gPrinters->lastJobAttributes("TovEveB");
    EXPECT_TRUE(Has(attrs, "IPP_MEDIA_SOURCE=tray-2")) << attrs;
    EXPECT_TRUE(Has(attrs, "IPP_MEDIA=iso_a5_148x210mm")) << attrs;

    // Through the generated PPD the scheduler turns the source into the printer's own tray.
    doc = print(Layout("Eve", 9, 4), "TovEve");  // manual feed
    ASSERT_TRUE(doc) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
    attrs = gPrinters->lastJobAttributes("TovEve");
    EXPECT_NE(attrs.find("media-source=manual"), std::string::npos) << attrs;
    EXPECT_NE(attrs.find("x-dimension=21000 y-dimension=29700"), std::string::npos) << attrs;
}

TEST_F(IppEverywhereTest, SwitchingPrintersCarriesNoSizeOrSourceAcross)
{
    // A size and tray that only TovEveB has, then the other printer with "指定なし" for both.
    ASSERT_TRUE(print(Layout("EveB", 13, 2), "TovEveB"));  // JIS B5 from tray-2
    auto doc = print(Layout("EveRaw", 0, 0), "TovEve");
    ASSERT_TRUE(doc) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
    EXPECT_TRUE(boxes.shown.empty());
    const std::string attrs = gPrinters->lastJobAttributes("TovEve");
    EXPECT_FALSE(Has(attrs, "IPP_MEDIA=")) << attrs;
    EXPECT_FALSE(Has(attrs, "IPP_MEDIA_SOURCE=")) << attrs;
    EXPECT_EQ(doc->sheetSizePoints(), QSizeF(612, 792)) << "the printer's own Letter";
}

TEST_F(IppEverywhereTest, PrinterThatNamesNoSizeStillPrintsWithoutMargins)
{
    // TovEveNone reports no media at all, neither to the scheduler (its queue has no PPD) nor
    // when asked itself. "指定なし" prints on the stand-in A4 with margins 0 at 300 dpi; any
    // size of the program's own is refused.
    EXPECT_TRUE(backend.pageSizes("EveNone").empty());
    const auto m = backend.pageMetrics("EveNone", QPageSize(), QPageLayout::Portrait);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->dotsPerInchX, 300);
    EXPECT_EQ(m->printablePixels.x(), 0);
    EXPECT_EQ(m->printablePixels.y(), 0);
    EXPECT_EQ(m->sheetPixels.width(), 2480);
    auto doc = print(Layout("EveNone", 0), "TovEveNone");
    ASSERT_TRUE(doc) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
    EXPECT_NEAR(doc->sheetSizePoints().width(), 595.3, 0.5);
    ExpectInk(InkPoints(*doc), 0, 0, 112.5, 75);
    EXPECT_FALSE(Has(gPrinters->lastJobAttributes("TovEveNone"), "IPP_MEDIA="));

    boxes.shown.clear();
    EXPECT_FALSE(printer.printPage(Layout("EveNone", 9), capture, page));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, texts::kPaperSizeErrorCaption);
}

TEST_F(IppEverywhereTest, ANetworkPrinterIsListedOnlyOnceDiscoveredAndDescribedByItself)
{
    // As on a desktop: libcups reaches avahi, which hears the simulators, over the system bus.
    // A fresh process does the asking (the D-Bus library keeps the first address it read).
    // The simulators announce themselves as "<name>-<pid of this test>"; CUPS names the
    // destination after the service.
    Process::Options options({"TovEveB", std::to_string(::getpid()), "3000"});
    options.env["DBUS_SYSTEM_BUS_ADDRESS"] = gPrinters->systemBusAddress();
    Process discovery(TOVRIMO_DISCOVER_PRINTERS, options);
    ASSERT_TRUE(discovery.start());
    ASSERT_TRUE(discovery.wait(std::chrono::seconds(30)).has_value());
    std::vector<std::string> queues, found, listed;
    std::string announced;
    std::vector<int> sizes;
    bool complete = false;
    std::istringstream lines(discovery.standardOutput());
    for (std::string line; std::getline(lines, line);) {
        const auto space = line.find(' ');
        const std::string fact = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (fact == "queue") queues.push_back(value);
        if (fact == "found") found.push_back(value);
        if (fact == "announced") announced = value;
        if (fact == "size") sizes.push_back(std::stoi(value));
        if (fact == "listed") listed.push_back(value);
        if (fact == "end") complete = true;
    }
    ASSERT_TRUE(complete) << discovery.standardError();
    ASSERT_FALSE(announced.empty()) << "TovEveB was not discovered";
    EXPECT_EQ(std::find(queues.begin(), queues.end(), announced), queues.end())
        << "a network printer is not listed before it is looked for";
    EXPECT_NE(std::find(listed.begin(), listed.end(), announced), listed.end());
    for (const auto& q : queues)
        EXPECT_EQ(std::find(found.begin(), found.end(), q), found.end()) << q << " is a queue";
    // Described by the printer itself: TovEveB's own sizes, A4 first.
    EXPECT_EQ(sizes, (std::vector<int>{QPageSize::A4, QPageSize::JisB5, QPageSize::A5}));
}

TEST_F(IppEverywhereTest, AHostilePrinterOffersOnlyItsSaneSheetsAndRefusesTheRest)
{
    // A5 (11) and JIS B5 (13); A4, Letter and A3 have margins outside the sheet, the made-up
    // sizes no paper-size code. Of the trays, tray-1 and manual; the third is not UTF-8.
    EXPECT_EQ(SizesOf(backend, "EveHostile"), (Ids{QPageSize::A5, QPageSize::JisB5}));
    EXPECT_EQ(backend.paperSources("EveHostile"),
              (std::vector{PaperSource::Upper, PaperSource::Manual}));

    struct Case {
        int paperSize;
        const char* caption;  // nullptr: printed
        std::string text;
    };
    const Case cases[] = {
        {0, texts::kPaperSizeErrorCaption,
         texts::WithReason(texts::kPaperSizeError,
                           "プリンタの既定の用紙「iso_a4_210x297mm」は、寸法か余白が不正です。")},
        {9, texts::kPaperSizeErrorCaption, texts::kPaperSizeError},
        {8, texts::kPaperSizeErrorCaption, texts::kPaperSizeError},
        {11, nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paperSize);
        boxes.shown.clear();
        auto doc = print(Layout("EveHostile", c.paperSize), "TovEveHostile");
        if (c.caption) {
            EXPECT_FALSE(doc);
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_EQ(boxes.shown[0].caption, c.caption);
            EXPECT_EQ(boxes.shown[0].text, c.text);
            continue;
        }
        ASSERT_TRUE(doc) << (boxes.shown.empty() ? "" : boxes.shown.back().text);
        // A5, 148 x 210 mm = 419.5 x 595.3 pt; printable from 5 mm (14.17 pt) at left and top.
        EXPECT_NEAR(doc->sheetSizePoints().width(), 419.5, 0.5);
        EXPECT_NEAR(doc->sheetSizePoints().height(), 595.3, 0.5);
        ExpectInk(InkPoints(*doc), 14.17, 14.17, 112.5, 75);
        EXPECT_TRUE(
            Has(gPrinters->lastJobAttributes("TovEveHostile"), "IPP_MEDIA=iso_a5_148x210mm"));
    }
}

TEST_F(IppEverywhereTest, APrinterAtAnAbsurdResolutionIsRefusedWithTheReason)
{
    EXPECT_EQ(SizesOf(backend, "EveDpi"), Ids{QPageSize::A4});
    EXPECT_FALSE(backend.pageMetrics("EveDpi", Sheet(QPageSize::A4), QPageLayout::Portrait));
    // ippeveprinter sends the "0dpi" of the file with a unit byte of 0, which is neither per
    // inch nor per centimetre.
    const std::string text =
        texts::WithReason(texts::kPrinterNameError, "プリンタの解像度（0×0）では印刷できません。");
    for (int paperSize : {0, 9}) {
        SCOPED_TRACE(paperSize);
        boxes.shown.clear();
        EXPECT_FALSE(printer.printPage(Layout("EveDpi", paperSize), capture, page));
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].caption, texts::kPrinterNameErrorCaption);
        EXPECT_EQ(boxes.shown[0].text, text);
    }
}
