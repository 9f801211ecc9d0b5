// What a hard copy asks of the printing system, counted at the printer backend: every question
// costs a round trip to the scheduler (and, for the network, a wait), so the program asks each
// one once per process and never listens to the network for a queue the scheduler lists.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QtTest/QTest>

#include "app/DialogCoordinator.h"
#include "app/Program.h"
#include "capture/CaptureEngine.h"
#include "doubles/FakePlatform.h"
#include "output/PagePrinter.h"
#include "output/PrintDialog.h"
#include "platform/PrinterCatalog.h"
#include "resident/CommandRouter.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

const std::string kFolder = "/opt/tovrimo/";

std::string SettingsFile(const std::string& printer, int paperSize)
{
    return "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
           "[DefaultPrinter]\nDeviceName=" +
           printer + "\nOrientation=1\nPaperSize=" + std::to_string(paperSize) +
           "\nPos=3\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\n";
}

struct World : FakePlatform {
    std::unique_ptr<Program> program;

    World() : FakePlatform(PlainScreen(64, 48))
    {
        FakePrinterBackend::Printer letter = FakePrinterBackend::a4("Letter");
        letter.sizes = {QPageSize::Letter, QPageSize::A4};
        letter.defaultSize = QPageSize::Letter;
        printers.printers.push_back(letter);
        program = std::make_unique<Program>(services());
    }
    Program::Outcome start(std::vector<std::string> args = {})
    {
        return program->startUp(AppFolders{kFolder, kFolder}, args);
    }
    int count(std::map<std::string, int>& counts, const std::string& printer)
    {
        std::lock_guard lock(printers.countMutex);
        return counts[printer];
    }
    // No question asked twice: per printer, and per sheet and orientation.
    void expectEachQuestionAtMostOnce()
    {
        EXPECT_LE(printers.nameQueries, 1);
        EXPECT_LE(printers.defaultQueries, 1);
        std::lock_guard lock(printers.countMutex);
        for (auto* counts :
             {&printers.sizeQueries, &printers.sourceQueries, &printers.defaultSizeQueries})
            for (const auto& [printer, n] : *counts) EXPECT_LE(n, 1) << printer;
        for (const auto& [key, n] : printers.metricsQueriesFor)
            EXPECT_LE(n, 1) << std::get<0>(key) << " size " << std::get<1>(key);
    }
    static bool waitUntil(const std::function<bool()>& done, int ms = 3000)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms) {
            QCoreApplication::processEvents();
            QTest::qWait(5);
        }
        return done();
    }
};

}  // namespace

TEST(PrinterQuestions, ACommandLineHardCopyAsksEachThingOnceAndNeverTheNetwork)
{
    struct Case {
        const char* what;
        std::string settings;  // empty: a first run
        std::string printer;
        QPageSize::PageSizeId size;  // Custom: not looked at
    };
    const Case cases[] = {
        {"a first run on the default printer", "", "Office", QPageSize::Custom},
        {"a stored A4 layout", SettingsFile("Office", 9), "Office", QPageSize::A4},
        {"a stored layout on the printer that is not the default", SettingsFile("Letter", 1),
         "Letter", QPageSize::Letter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        World w;
        if (!c.settings.empty()) w.files.files[kFolder + "tovrimo.ini"] = c.settings;
        const auto outcome = w.start({"/d"});
        EXPECT_EQ(outcome.exitCode, 0);
        ASSERT_EQ(w.printers.jobs.size(), 1u);
        EXPECT_EQ(w.printers.jobs[0].printer, c.printer);
        if (c.size != QPageSize::Custom) {
            EXPECT_EQ(w.printers.jobs[0].pageSize.id(), c.size);
        }
        EXPECT_EQ(w.printers.discoveries, 0) << "every printer here is a queue";
        w.expectEachQuestionAtMostOnce();
    }
}

TEST(PrinterQuestions, OnlyAPrinterTheSchedulerDoesNotListMakesTheJobListenToTheNetwork)
{
    World w;
    w.printers.printers.push_back(FakePrinterBackend::a4("NetPrinter"));
    w.printers.network = {"NetPrinter"};
    w.files.files[kFolder + "tovrimo.ini"] = SettingsFile("NetPrinter", 9);
    EXPECT_EQ(w.start({"/d"}).exitCode, 0);
    ASSERT_EQ(w.printers.jobs.size(), 1u);
    EXPECT_EQ(w.printers.jobs[0].printer, "NetPrinter");
    EXPECT_EQ(w.printers.discoveries, 1);
    w.expectEachQuestionAtMostOnce();
}

TEST(PrinterQuestions, ADesktopWithOnlyNetworkPrintersStillStarts)
{
    World w;
    w.printers.printers = {FakePrinterBackend::a4("NetPrinter")};
    w.printers.defaultName = "NetPrinter";
    w.printers.network = {"NetPrinter"};
    w.program = std::make_unique<Program>(w.services());  // it takes the default as it starts
    EXPECT_EQ(w.start({"/d"}).exitCode, 0);
    for (const auto& m : w.messages.shown) ADD_FAILURE() << m.caption << ": " << m.text;
    ASSERT_EQ(w.printers.jobs.size(), 1u);
    EXPECT_EQ(w.printers.jobs[0].printer, "NetPrinter");
}

TEST(PrinterQuestions, ResidentHardCopiesAskNothingTwiceAndTheFirstFindsItWarm)
{
    World w;
    w.files.files[kFolder + "tovrimo.ini"] = SettingsFile("Office", 9);
    w.program->warmUpDelayMs = 0;
    ASSERT_TRUE(w.start().resident);
    // Idle after the start: the default printer is read on a worker thread.
    ASSERT_TRUE(World::waitUntil([&] {
        return !w.program->printers().discovering() && w.count(w.printers.sizeQueries, "Office");
    }));
    EXPECT_EQ(w.count(w.printers.sizeQueries, "Office"), 1);
    const int namesBefore = w.printers.nameQueries;

    for (int copy = 0; copy < 3; ++copy) {
        w.program->commands().run(
            CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer});
        w.timers.advance(200);
    }
    ASSERT_EQ(w.printers.jobs.size(), 3u);
    EXPECT_EQ(w.printers.nameQueries, namesBefore);
    EXPECT_EQ(w.printers.discoveries, 1) << "only the one in the background";
    w.expectEachQuestionAtMostOnce();
}

TEST(PrinterQuestions, ThePrintDialogListsTheQueuesAtOnceAndAddsNetworkPrintersAsFound)
{
    World w;
    w.printers.printers.push_back(FakePrinterBackend::a4("NetPrinter"));
    w.printers.network = {"NetPrinter"};
    w.printers.holdDiscovery = true;  // the network is slow to answer
    w.files.files[kFolder + "tovrimo.ini"] = SettingsFile("Office", 9);
    w.program->warmUpDelayMs = 0;
    ASSERT_TRUE(w.start().resident);
    ASSERT_TRUE(World::waitUntil([&] { return w.printers.discoveries.load() == 1; }));

    w.program->buffer().image = FakePlatform::PlainScreen(64, 48);
    QElapsedTimer opening;
    opening.start();
    w.program->dialogs().openPrintDialog();
    PrintDialog* dialog = w.program->dialogs().printDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_LT(opening.elapsed(), 1000) << "the dialog does not wait for the network";
    auto* list = dialog->findChild<QComboBox*>("printerList");
    ASSERT_NE(list, nullptr);
    auto entries = [list] {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->itemText(i);
        return out;
    };
    EXPECT_EQ(entries(), (QStringList{"指定なし", "Office", "Letter"}));
    EXPECT_EQ(list->currentText(), "Office");
    EXPECT_TRUE(w.program->printers().discovering());

    w.printers.releaseDiscovery();
    ASSERT_TRUE(World::waitUntil([&] { return list->count() == 4; }));
    EXPECT_EQ(entries(), (QStringList{"指定なし", "Office", "Letter", "NetPrinter"}));
    EXPECT_EQ(list->currentText(), "Office") << "the entry shown stays";
    // It was described on the worker thread before it was listed.
    EXPECT_EQ(w.count(w.printers.sizeQueries, "NetPrinter"), 1);

    // Opening the list reads the printers afresh and looks at the network again.
    const int invalidations = w.printers.invalidations;
    list->showPopup();
    EXPECT_EQ(w.printers.invalidations, invalidations + 1);
    ASSERT_TRUE(World::waitUntil([&] { return w.printers.discoveries.load() == 2; }));
    list->hidePopup();
    EXPECT_EQ(list->count(), 4) << "nothing listed twice";
    dialog->cancel();
}

TEST(PrinterQuestions, AQueueDeletedAfterItWasListedPrintsWhereAFreshListWouldHaveSent)
{
    struct Case {
        const char* what;
        bool briefInUse;  // the vanished queue had printed the page before
        std::string expectedPrinter;
        size_t messages;
    };
    const Case cases[] = {
        {"the page goes to the printer in use before", false, "Office", 0},
        {"the printer in use itself is gone: the user is told", true, "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform p;
        p.printers.printers.push_back(FakePrinterBackend::a4("Brief"));
        PrinterCatalog catalog(p.printers);
        PagePrinter printer(
            catalog, p.messages, [](const std::string& t) { return t; }, ScreenScale{});
        PrintLayout layout;
        layout.printerName = "Brief";
        layout.paperSize = 9;
        layout.orientation = PageOrientation::Portrait;
        layout.scaleMode = ScaleMode::FitToPaper;
        layout.fontName = "IPAGothic";
        layout.fontPoints = 10;
        const QImage capture = FakePlatform::PlainScreen(64, 48);
        QImage page;
        if (c.briefInUse) {
            ASSERT_TRUE(printer.printPage(layout, capture, page));
        } else {
            // Listed and described, as the print dialog's lists and preview leave it.
            ASSERT_EQ(catalog.printerNames().size(), 2u);
            ASSERT_EQ(catalog.pageSizes("Brief").size(), 1u);
            EXPECT_EQ(catalog.pageSizes("Brief").front().id(), QPageSize::A4);
            ASSERT_TRUE(
                catalog.pageMetrics("Brief", QPageSize(QPageSize::A4), QPageLayout::Portrait));
        }
        const size_t jobsBefore = p.printers.jobs.size();
        p.printers.printers.pop_back();  // the queue is deleted
        const bool printed = printer.printPage(layout, capture, page);
        EXPECT_EQ(printed, !c.expectedPrinter.empty());
        EXPECT_EQ(p.messages.shown.size(), c.messages);
        if (c.messages) {
            EXPECT_EQ(
                p.messages.shown[0].text,
                "プリンタ「Brief」で印刷できませんでした。\n理由: プリンタが見つかりません。");
        }
        ASSERT_GE(p.printers.jobs.size(), jobsBefore + 1) << "the refused attempt";
        if (printed) {
            EXPECT_EQ(p.printers.jobs.back().printer, c.expectedPrinter);
        }
    }
}
