#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "doubles/FakePrinterBackend.h"
#include "platform/PrinterCatalog.h"

using namespace tovrimo;
using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

const QPageSize kA4(QPageSize::A4);

using Ids = std::vector<QPageSize::PageSizeId>;
Ids IdsOf(const std::vector<QPageSize>& sizes)
{
    Ids ids;
    for (const QPageSize& size : sizes) ids.push_back(size.id());
    return ids;
}

struct Printers {
    FakePrinterBackend backend;
    Printers()
    {
        backend.printers = {FakePrinterBackend::a4("Office"), FakePrinterBackend::a4("Lab")};
        backend.defaultName = "Office";
    }
    int sizeQueries(const std::string& printer)
    {
        std::lock_guard lock(backend.countMutex);
        return backend.sizeQueries[printer];
    }
    // Size Custom: the printer's own.
    int metricsQueries(const std::string& printer, QPageSize::PageSizeId size,
                       QPageLayout::Orientation orientation)
    {
        std::lock_guard lock(backend.countMutex);
        return backend.metricsQueriesFor[{printer, size, orientation}];
    }
};

// Waits, for at most two seconds, until the catalog's worker has finished.
bool Settled(const PrinterCatalog& catalog)
{
    for (int i = 0; i < 400 && catalog.discovering(); ++i) std::this_thread::sleep_for(5ms);
    return !catalog.discovering();
}

}  // namespace

TEST(PrinterCatalog, EachQuestionReachesThePrintingSystemOnce)
{
    Printers p;
    PrinterCatalog catalog(p.backend);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(catalog.printerNames(), (std::vector<std::string>{"Office", "Lab"}));
        ASSERT_TRUE(catalog.defaultPrinter());
        EXPECT_EQ(catalog.defaultPrinter()->deviceName, "Office");
        EXPECT_EQ(IdsOf(catalog.pageSizes("Office")), Ids{QPageSize::A4});
        EXPECT_TRUE(catalog.paperSources("Office").empty());
        EXPECT_EQ(catalog.defaultPageSize("Office").id(), QPageSize::A4);
        ASSERT_TRUE(catalog.pageMetrics("Office", kA4, QPageLayout::Landscape));
        // Landscape A4 at 300 dpi: the sheet is 3508 pixels wide.
        EXPECT_EQ(catalog.pageMetrics("Office", kA4, QPageLayout::Landscape)->sheetPixels.width(),
                  3508);
    }
    EXPECT_EQ(p.backend.nameQueries, 1);
    EXPECT_EQ(p.backend.defaultQueries, 1);
    EXPECT_EQ(p.sizeQueries("Office"), 1);
    EXPECT_EQ(p.backend.sourceQueries["Office"], 1);
    EXPECT_EQ(p.backend.defaultSizeQueries["Office"], 1);
    EXPECT_EQ(p.metricsQueries("Office", QPageSize::A4, QPageLayout::Landscape), 1);
    EXPECT_EQ(p.backend.discoveries, 0) << "nothing here asked for the network";

    // Another printer, or another orientation, is another question.
    catalog.pageSizes("Lab");
    catalog.pageMetrics("Office", kA4, QPageLayout::Portrait);
    EXPECT_EQ(p.sizeQueries("Lab"), 1);
    EXPECT_EQ(p.metricsQueries("Office", QPageSize::A4, QPageLayout::Portrait), 1);
}

TEST(PrinterCatalog, AFailedJobOrLookupOrAnOpenedListForgetsWhatWasRead)
{
    struct Case {
        const char* what;
        std::function<void(PrinterCatalog&, FakePrinterBackend&)> fail;
    };
    const Case cases[] = {
        {"a refused job",
         [](PrinterCatalog& c, FakePrinterBackend& b) {
             b.refuseWith = "printer stopped";
             EXPECT_FALSE(c.submit(JobRequest{"Office", "t", "/tmp/x.pdf", kA4, std::nullopt,
                                              QPageLayout::Portrait})
                              .accepted);
         }},
        {"a printer that no longer answers for its sheet",
         [](PrinterCatalog& c, FakePrinterBackend&) {
             EXPECT_FALSE(c.pageMetrics("Gone", kA4, QPageLayout::Portrait));
         }},
        {"the printer list opened again",
         [](PrinterCatalog& c, FakePrinterBackend&) { c.invalidate(); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Printers p;
        PrinterCatalog catalog(p.backend);
        catalog.printerNames();
        catalog.defaultPrinter();
        catalog.pageSizes("Office");
        catalog.pageMetrics("Office", kA4, QPageLayout::Portrait);
        k.fail(catalog, p.backend);
        EXPECT_EQ(p.backend.invalidations, 1) << "the backend forgets too";
        catalog.printerNames();
        catalog.defaultPrinter();
        catalog.pageSizes("Office");
        catalog.pageMetrics("Office", kA4, QPageLayout::Portrait);
        EXPECT_EQ(p.backend.nameQueries, 2);
        EXPECT_EQ(p.backend.defaultQueries, 2);
        EXPECT_EQ(p.sizeQueries("Office"), 2);
        EXPECT_EQ(p.metricsQueries("Office", QPageSize::A4, QPageLayout::Portrait), 2);
    }
}

TEST(PrinterCatalog, AnAcceptedJobKeepsWhatWasRead)
{
    Printers p;
    PrinterCatalog catalog(p.backend);
    catalog.printerNames();
    catalog.pageSizes("Office");
    EXPECT_TRUE(catalog
                    .submit(JobRequest{"Office", "t", "/tmp/x.pdf", kA4, std::nullopt,
                                       QPageLayout::Portrait})
                    .accepted);
    catalog.printerNames();
    catalog.pageSizes("Office");
    EXPECT_EQ(p.backend.nameQueries, 1);
    EXPECT_EQ(p.sizeQueries("Office"), 1);
    EXPECT_EQ(p.backend.invalidations, 0);
}

TEST(PrinterCatalog, NoPrinterAtAllIsAskedAgain)
{
    // A printer installed after the first question must be found by the next one.
    Printers p;
    p.backend.printers.clear();
    PrinterCatalog catalog(p.backend);
    EXPECT_TRUE(catalog.printerNames().empty());
    p.backend.printers = {FakePrinterBackend::a4("New")};
    EXPECT_EQ(catalog.printerNames(), std::vector<std::string>{"New"});
    ASSERT_TRUE(catalog.defaultPrinter());
    EXPECT_EQ(catalog.defaultPrinter()->deviceName, "New");
}

TEST(PrinterCatalog, NetworkPrintersAreListedOnlyOnceSomethingLookedForThem)
{
    Printers p;
    p.backend.printers.push_back(FakePrinterBackend::a4("Net"));
    p.backend.network = {"Net"};
    PrinterCatalog catalog(p.backend);
    EXPECT_EQ(catalog.printerNames(), (std::vector<std::string>{"Office", "Lab"}));
    EXPECT_EQ(catalog.discoverPrinters(1s), std::vector<std::string>{"Net"});
    EXPECT_EQ(catalog.printerNames(), (std::vector<std::string>{"Lab", "Net", "Office"}));
    // What was found is kept: the next question does not listen again.
    EXPECT_EQ(catalog.discoverPrinters(1s), std::vector<std::string>{"Net"});
    EXPECT_EQ(p.backend.discoveries, 1);
}

TEST(PrinterCatalog, BackgroundDiscoveryNeverHoldsUpTheQueues)
{
    Printers p;
    p.backend.printers.push_back(FakePrinterBackend::a4("Net"));
    p.backend.network = {"Net"};
    p.backend.holdDiscovery = true;  // the network takes its time
    PrinterCatalog catalog(p.backend);
    std::promise<void> reported;
    std::atomic<int> reports = 0;
    catalog.discoverInBackground(5s, [&] {
        if (++reports == 1) reported.set_value();
    });
    ASSERT_TRUE(catalog.discovering());

    // Meanwhile the local queues, their capabilities and a second request answer at once.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(catalog.printerNames(), (std::vector<std::string>{"Office", "Lab"}));
    EXPECT_EQ(IdsOf(catalog.pageSizes("Lab")), Ids{QPageSize::A4});
    catalog.discoverInBackground(5s, nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);

    p.backend.releaseDiscovery();
    ASSERT_EQ(reported.get_future().wait_for(2s), std::future_status::ready);
    ASSERT_TRUE(Settled(catalog));
    EXPECT_EQ(reports, 1) << "one printer found, one report";
    EXPECT_EQ(catalog.printerNames(), (std::vector<std::string>{"Lab", "Net", "Office"}));
    // The worker read the default printer's capabilities first, then described the printer it
    // found, so that the GUI thread never waits for either.
    EXPECT_EQ(p.sizeQueries("Office"), 1);
    EXPECT_EQ(p.metricsQueries("Office", QPageSize::Custom, QPageLayout::Portrait), 1);
    EXPECT_EQ(p.sizeQueries("Net"), 1);
    catalog.pageSizes("Net");
    catalog.pageMetrics("Net", QPageSize(), QPageLayout::Portrait);
    EXPECT_EQ(p.sizeQueries("Net"), 1);
    EXPECT_EQ(p.metricsQueries("Net", QPageSize::Custom, QPageLayout::Portrait), 1);
    // The request made while the first was running ran once it ended, and found nothing new.
    EXPECT_EQ(p.backend.discoveries, 2);
}

TEST(PrinterCatalog, ALookupThatNeedsTheNetworkWaitsForTheDiscoveryUnderWayBounded)
{
    Printers p;
    p.backend.printers.push_back(FakePrinterBackend::a4("Net"));
    p.backend.network = {"Net"};
    p.backend.holdDiscovery = true;
    PrinterCatalog catalog(p.backend);
    catalog.discoverInBackground(10s, nullptr);

    // Still held: the wait gives up after its bound and finds nothing yet.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(catalog.discoverPrinters(150ms).empty());
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 140ms);
    EXPECT_LT(waited, 2s);

    std::thread release([&] {
        std::this_thread::sleep_for(100ms);
        p.backend.releaseDiscovery();
    });
    EXPECT_EQ(catalog.discoverPrinters(5s), std::vector<std::string>{"Net"});
    release.join();
    EXPECT_EQ(p.backend.discoveries, 1) << "it waited for the running one instead of its own";
}

TEST(PrinterCatalog, APrinterNoLongerAnnouncedLeavesTheList)
{
    Printers p;
    p.backend.printers.push_back(FakePrinterBackend::a4("Net"));
    p.backend.network = {"Net"};
    PrinterCatalog catalog(p.backend);
    catalog.discoverInBackground(1s, nullptr);
    ASSERT_TRUE(Settled(catalog));
    ASSERT_EQ(catalog.printerNames().size(), 3u);
    p.backend.network.clear();
    catalog.discoverInBackground(1s, nullptr);
    ASSERT_TRUE(Settled(catalog));
    EXPECT_EQ(catalog.discoverPrinters(1s), std::vector<std::string>{});
}

TEST(PrinterCatalog, APrinterThatGivesNoPageIsNotForgottenButExplained)
{
    struct Case {
        const char* printer;
        bool broken;
        int invalidations;  // of the backend, after the failed lookup
    };
    const Case cases[] = {
        {"Lab", true, 0},    // there, and says why: asking again would change nothing
        {"Gone", false, 1},  // not there: everything may have changed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printer);
        Printers p;
        p.backend.problems["Lab"] = PageProblem{PageProblem::Kind::Printer,
                                                "プリンタの解像度（0×0 dpi）では印刷できません。"};
        PrinterCatalog catalog(p.backend);
        ASSERT_EQ(IdsOf(catalog.pageSizes("Office")), Ids{QPageSize::A4});
        EXPECT_FALSE(catalog.pageMetrics(c.printer, kA4, QPageLayout::Portrait));
        EXPECT_EQ(p.backend.invalidations, c.invalidations);
        const auto problem = catalog.pageProblem(c.printer, kA4);
        ASSERT_EQ(problem.has_value(), c.broken);
        if (problem) {
            EXPECT_EQ(problem->kind, PageProblem::Kind::Printer);
            EXPECT_EQ(problem->reason, "プリンタの解像度（0×0 dpi）では印刷できません。");
        }
        // What was kept of the printer that works is kept still when nothing was forgotten.
        catalog.pageSizes("Office");
        EXPECT_EQ(p.sizeQueries("Office"), 1 + c.invalidations);
    }
}
