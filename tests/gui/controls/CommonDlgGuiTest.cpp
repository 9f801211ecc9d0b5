#include <gtest/gtest.h>

#include <QFileDialog>
#include <QFontDialog>
#include <QListView>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "controls/HelpViewer.h"
#include "controls/clsChooseFont.h"
#include "gui/SourcesRig.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

// The entries of the font dialog's size list.
QStringList SizeList(QFontDialog* dialog)
{
    for (QListView* list : dialog->findChildren<QListView*>()) {
        auto* model = qobject_cast<QStringListModel*>(list->model());
        if (!model || model->stringList().isEmpty()) continue;
        bool numbers = true;
        for (const QString& s : model->stringList()) {
            s.toInt(&numbers);
            if (!numbers) break;
        }
        if (numbers) return model->stringList();
    }
    return {};
}

}  // namespace

TEST(CommonDlgGui, CancelledOpenDialogReportsThroughCancelButton)
{
    for (bool cancelError : {true, false}) {
        cCommonDlg dlg;
        dlg.setFileName("/tmp/earlier.bmp");
        dlg.setDialogTitle("ピクチャ画像の指定");
        dlg.setCancelError(cancelError);
        DialogDriver<QFileDialog> driver(cCommonDlg::kFileDialogName, [](QFileDialog* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("ピクチャ画像の指定"));
            EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
            d->reject();
        });
        dlg.ShowOpen();
        EXPECT_TRUE(driver.seen);
        EXPECT_EQ(dlg.Action(), 1);
        EXPECT_EQ(dlg.CancelButton(), cancelError);
        EXPECT_EQ(dlg.FileName(), cancelError ? "" : "/tmp/earlier.bmp");
    }
}

TEST(CommonDlgGui, SaveDialogReturnsTheTypedNameUnchanged)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("picture").toStdString();
    cCommonDlg dlg;
    dlg.setFilter("ビットマップファイル(*.BMP)|*.bmp|");
    dlg.setFlags(cCommonDlg::OFN_OVERWRITEPROMPT);
    dlg.setInitDir(dir.path().toStdString());
    dlg.setCancelError(true);
    DialogDriver<QFileDialog> driver(cCommonDlg::kFileDialogName, [&](QFileDialog* d) {
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(d->directory().absolutePath(), dir.path());
        TypePathAndAccept(d, path);
    });
    dlg.ShowSave();
    EXPECT_TRUE(driver.seen);
    EXPECT_EQ(dlg.Action(), 2);
    EXPECT_FALSE(dlg.CancelButton());
    EXPECT_EQ(dlg.FileName(), path) << "no extension is added";
    EXPECT_EQ(dlg.FileTitle(), "picture");
}

TEST(CommonDlgGui, FontDlgOffersSizesEightToTwentyFour)
{
    clsChooseFont font;
    QStringList sizes;
    DialogDriver<QFontDialog> driver(clsChooseFont::kDialogName, [&](QFontDialog* d) {
        ProcessEventsFor(std::chrono::milliseconds(100));  // the queued filtering
        sizes = SizeList(d);
        d->accept();
    });
    // Italic is asked for, but the face has no italic style: the dialog settles on what exists.
    EXPECT_EQ(font.FontDlg(nullptr, "IPAGothic", 0x123456, 12, false, true, false, true), 0);
    EXPECT_TRUE(driver.seen);
    ASSERT_FALSE(sizes.isEmpty());
    for (const QString& s : sizes) {
        EXPECT_GE(s.toInt(), 8);
        EXPECT_LE(s.toInt(), 24);
    }
    EXPECT_EQ(font.FontSize(), 12);
    EXPECT_TRUE(font.FontUnderline());
    EXPECT_FALSE(font.FontStrikethrough());
    EXPECT_FALSE(font.FontBold());
    EXPECT_EQ(font.FontColor(), 0x123456);
    EXPECT_FALSE(font.FontName().empty());
}

TEST(CommonDlgGui, FontDlgCancelReturnsOneAndKeepsTheProperties)
{
    clsChooseFont font;
    DialogDriver<QFontDialog> driver(clsChooseFont::kDialogName,
                                     [](QFontDialog* d) { d->reject(); });
    EXPECT_EQ(font.FontDlg(nullptr, "IPAGothic", 5, 12, true, false, false, false), 1);
    EXPECT_TRUE(driver.seen);
    EXPECT_EQ(font.FontName(), "");
    EXPECT_EQ(font.FontSize(), 0);
    EXPECT_FALSE(font.FontBold());
}

TEST(CommonDlgGui, ShowFontCancelResetsTheFontProperties)
{
    cCommonDlg dlg;
    dlg.setFontName("IPAGothic");
    dlg.setFontSize(11);
    dlg.setFontBold(true);
    DialogDriver<QFontDialog> driver(cCommonDlg::kFontDialogName,
                                     [](QFontDialog* d) { d->reject(); });
    dlg.ShowFont();
    EXPECT_TRUE(driver.seen);
    EXPECT_TRUE(dlg.CancelButton());
    EXPECT_EQ(dlg.FontName(), "");
    EXPECT_EQ(dlg.FontSize(), 0);
    EXPECT_FALSE(dlg.FontBold());
}

TEST(CommonDlgGui, HelpOpensTheHelpFileAtItsContents)
{
    cCommonDlg none;
    none.ShowHelp();
    EXPECT_EQ(HelpViewer::Current(), nullptr) << "no file: nothing";
    none.setHelpFile(TOVRIMO_SOURCE_DIR "/resources/tovrimo.html");
    none.ShowHelp();
    EXPECT_EQ(HelpViewer::Current(), nullptr) << "help command 0: nothing";

    cCommonDlg dlg;
    dlg.setHelpFile(TOVRIMO_SOURCE_DIR "/resources/tovrimo.html");
    dlg.setHelpCommand(HelpViewer::HELP_FINDER);
    dlg.setAction(cCommonDlg::kActionHelp);
    HelpViewer* viewer = HelpViewer::Current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->browser()->source().toLocalFile(),
              QFileInfo(TOVRIMO_SOURCE_DIR "/resources/tovrimo.html").absoluteFilePath());
    EXPECT_FALSE(viewer->browser()->toPlainText().isEmpty());

    dlg.setHelpCommand(HelpViewer::HELP_QUIT);
    dlg.ShowHelp();
    FlushDeferredDeletes();
    EXPECT_EQ(HelpViewer::Current(), nullptr);
}

TEST(CommonDlgGui, AHelpFileNamedForTheOldViewerIsFoundBesideTheProgram)
{
    // The .hlp name a caller may pass resolves to the HTML help in the data folder or beside
    // the binary; a name that exists is used as it is.
    const std::string existing = TOVRIMO_SOURCE_DIR "/resources/tovrimo.html";
    EXPECT_EQ(HelpViewer::ResolveHelpFile(existing), existing);
    EXPECT_EQ(HelpViewer::ResolveHelpFile("/nowhere/nothing.hlp"), "/nowhere/nothing.hlp");
}
