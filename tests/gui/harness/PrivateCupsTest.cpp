#include <gtest/gtest.h>

#include "harness/Ink.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"

using namespace tovrimo::test;

namespace {

bool PrintWithLp(PrivateCups& cups, const std::string& queue, const std::string& pdf,
                 std::vector<std::string> options)
{
    Process::Options opts;
    opts.args = {"-h", cups.socketPath(), "-d", queue};
    for (const auto& o : options) {
        opts.args.push_back("-o");
        opts.args.push_back(o);
    }
    opts.args.push_back(pdf);
    const Process p = Process::run("lp", opts);
    return p.exitedNormally() && p.exitCode() == 0;
}

}  // namespace

TEST(PrivateCups, QueuePassesThePdfThroughUnwrapped)
{
    PrivateCups& cups = TestSession::current().cups();
    cups.clearOutput("TovLetter");
    const std::string pdf = WriteMarkedPdf(cups.folder() + "/tmp/letter.pdf", 612, 792, 72, 36);
    ASSERT_FALSE(pdf.empty());
    const int before = cups.jobCount();
    ASSERT_TRUE(PrintWithLp(cups, "TovLetter", pdf, {"print-scaling=none", "media=Letter"}));
    ASSERT_TRUE(cups.waitForJobs());
    EXPECT_EQ(cups.jobCount(), before + 1);
    EXPECT_EQ(cups.jobStates().back(), 9) << cups.errorLog();  // completed
    PdfPage page(cups.outputPdf("TovLetter"));
    ASSERT_TRUE(page.exists());
    EXPECT_TRUE(page.isPlainPdf());
    EXPECT_EQ(page.pageCount(), 1);
    EXPECT_EQ(page.sheetSizePoints(), QSizeF(612, 792));
    // The mark stays where it was drawn, at its size: 72 x 36 pt is 72 x 36 px at 72 dpi.
    EXPECT_EQ(Ink::bounds(page.render(72)), QRect(0, 0, 72, 36));
}

// How the scheduler turns a landscape job onto the sheet: the page printer metrics are
// rotated the same way. The landscape page's top-left corner ends up at the bottom-left of
// the portrait sheet, that is the page is turned a quarter turn counter-clockwise.
TEST(PrivateCups, LandscapeJobIsTurnedCounterClockwiseOntoThePortraitSheet)
{
    PrivateCups& cups = TestSession::current().cups();
    cups.clearOutput("TovA4");
    const std::string pdf = WriteMarkedPdf(cups.folder() + "/tmp/land.pdf", 842, 595, 100, 40);
    ASSERT_TRUE(PrintWithLp(cups, "TovA4", pdf,
                            {"print-scaling=none", "media=A4", "orientation-requested=4"}));
    ASSERT_TRUE(cups.waitForJobs());
    PdfPage page(cups.outputPdf("TovA4"));
    ASSERT_TRUE(page.exists()) << cups.errorLog();
    EXPECT_EQ(page.sheetSizePoints(), QSizeF(595, 842));
    const QImage image = page.render(72);
    ASSERT_EQ(image.size(), QSize(595, 842));
    // 100 pt along the landscape top edge runs up the sheet's left edge from the bottom.
    EXPECT_EQ(Ink::bounds(image), QRect(0, 842 - 100, 40, 100));
}

TEST(PrivateCups, RejectingQueueCreatesNoJob)
{
    PrivateCups cups;
    ASSERT_TRUE(cups.start()) << cups.error();
    ASSERT_TRUE(TestSession::addTestQueue(cups, "TovA4")) << cups.error();
    ASSERT_TRUE(cups.rejectJobs("TovA4")) << cups.error();
    const std::string pdf = WriteMarkedPdf(cups.folder() + "/tmp/a4.pdf", 595, 842, 10, 10);
    EXPECT_FALSE(PrintWithLp(cups, "TovA4", pdf, {}));
    EXPECT_EQ(cups.jobCount(), 0);
    ASSERT_TRUE(cups.acceptJobs("TovA4"));
    EXPECT_TRUE(PrintWithLp(cups, "TovA4", pdf, {}));
    EXPECT_TRUE(cups.waitForJobs());
    EXPECT_EQ(cups.jobCount(), 1);
}

TEST(PrivateCups, QueuesSurviveARestart)
{
    PrivateCups cups;
    ASSERT_TRUE(cups.start()) << cups.error();
    ASSERT_TRUE(TestSession::addTestQueue(cups, "TovLetter")) << cups.error();
    cups.stop();
    EXPECT_FALSE(cups.running());
    EXPECT_EQ(cups.jobCount(), 0);  // no scheduler: nothing to ask, and no hang
    ASSERT_TRUE(cups.start()) << cups.error();
    Process::Options opts;
    opts.args = {"-h", cups.socketPath(), "-p"};
    EXPECT_NE(Process::run("lpstat", opts).standardOutput().find("TovLetter"), std::string::npos);
}
