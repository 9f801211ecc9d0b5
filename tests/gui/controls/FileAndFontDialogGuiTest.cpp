#include <gtest/gtest.h>

#include <QFileDialog>
#include <QFontDialog>
#include <QListView>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "controls/FileDialog.h"
#include "controls/FontDialog.h"
#include "controls/HelpViewer.h"
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

TEST(FileDialogGui, ACancelledOpenDialogGivesNoName)
{
    FileDialog dialog;
    DialogDriver<QFileDialog> driver(FileDialog::kObjectName, [](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("ピクチャ画像の指定"));
        EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
        d->reject();
    });
    EXPECT_EQ(dialog.getOpenFileName(nullptr, "ピクチャ画像の指定", "/tmp/earlier.bmp",
                                     "イメージファイル(*.BMP)|*.bmp|"),
              std::nullopt);
    EXPECT_TRUE(driver.seen);
}

TEST(FileDialogGui, SaveDialogReturnsTheTypedNameUnchanged)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("picture").toStdString();
    FileDialog dialog;
    DialogDriver<QFileDialog> driver(FileDialog::kObjectName, [&](QFileDialog* d) {
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(d->directory().absolutePath(), dir.path());
        EXPECT_FALSE(d->testOption(QFileDialog::DontConfirmOverwrite));
        TypePathAndAccept(d, path);
    });
    const auto chosen = dialog.getSaveFileName(nullptr, "保存", dir.path().toStdString(),
                                               "ビットマップファイル(*.BMP)|*.bmp|", 0,
                                               /*confirmOverwrite=*/true);
    EXPECT_TRUE(driver.seen);
    EXPECT_EQ(chosen, std::optional<std::string>(path)) << "no extension is added";
}

TEST(FileDialogGui, AnOpenDialogForExistingFilesOnlyRefusesOthers)
{
    QTemporaryDir dir;
    FileDialog dialog;
    QFileDialog::FileMode strict{}, lenient{};
    {
        DialogDriver<QFileDialog> driver(FileDialog::kObjectName, [&](QFileDialog* d) {
            strict = d->fileMode();
            d->reject();
        });
        dialog.getOpenFileName(nullptr, "アイコン", dir.path().toStdString(), "A|*.ico|", 1,
                               /*fileMustExist=*/true);
        EXPECT_TRUE(driver.seen);
    }
    {
        DialogDriver<QFileDialog> driver(FileDialog::kObjectName, [&](QFileDialog* d) {
            lenient = d->fileMode();
            d->reject();
        });
        dialog.getOpenFileName(nullptr, "画像", dir.path().toStdString(), "A|*.bmp|", 0,
                               /*fileMustExist=*/false);
        EXPECT_TRUE(driver.seen);
    }
    EXPECT_EQ(strict, QFileDialog::ExistingFile);
    EXPECT_EQ(lenient, QFileDialog::AnyFile);
}

TEST(FontDialogGui, TheTitleFontOffersSizesEightToTwentyFour)
{
    FontDialog dialog;
    QStringList sizes;
    DialogDriver<QFontDialog> driver(FontDialog::kObjectName, [&](QFontDialog* d) {
        ProcessEventsFor(std::chrono::milliseconds(100));  // the queued filtering
        sizes = SizeList(d);
        d->accept();
    });
    // Italic is asked for, but the face has no italic style: the dialog settles on what exists.
    QFont initial(QStringLiteral("IPAGothic"));
    initial.setPointSize(12);
    initial.setItalic(true);
    initial.setUnderline(true);
    const auto chosen = dialog.getFont(nullptr, initial, 8, 24);
    EXPECT_TRUE(driver.seen);
    ASSERT_FALSE(sizes.isEmpty());
    for (const QString& s : sizes) {
        EXPECT_GE(s.toInt(), 8);
        EXPECT_LE(s.toInt(), 24);
    }
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->pointSize(), 12);
    EXPECT_TRUE(chosen->underline());
    EXPECT_FALSE(chosen->strikeOut());
    EXPECT_FALSE(chosen->bold());
    EXPECT_FALSE(chosen->family().isEmpty());
}

TEST(FontDialogGui, ACancelGivesNoFont)
{
    FontDialog dialog;
    DialogDriver<QFontDialog> driver(FontDialog::kObjectName, [](QFontDialog* d) { d->reject(); });
    QFont initial(QStringLiteral("IPAGothic"));
    initial.setPointSize(12);
    initial.setBold(true);
    EXPECT_EQ(dialog.getFont(nullptr, initial), std::nullopt);
    EXPECT_TRUE(driver.seen);
}

TEST(FontDialogGui, TheNextFontAnswersOneCallWithoutADialog)
{
    FontDialog dialog;
    QFont next(QStringLiteral("IPAGothic"));
    next.setPointSize(14);
    dialog.setNextFont(next);
    const auto chosen = dialog.getFont(nullptr, QFont());
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(chosen->pointSize(), 14);
    dialog.setNextFont(std::nullopt);
    EXPECT_EQ(dialog.getFont(nullptr, QFont()), std::nullopt);
}

TEST(HelpViewerGui, HelpOpensTheHelpFileAtItsContents)
{
    EXPECT_EQ(HelpViewer::showContents("", nullptr), nullptr);
    EXPECT_EQ(HelpViewer::current(), nullptr) << "no file: nothing";

    HelpViewer::showContents(TOVRIMO_SOURCE_DIR "/resources/tovrimo.html", nullptr);
    HelpViewer* viewer = HelpViewer::current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->browser()->source().toLocalFile(),
              QFileInfo(TOVRIMO_SOURCE_DIR "/resources/tovrimo.html").absoluteFilePath());
    EXPECT_FALSE(viewer->browser()->toPlainText().isEmpty());

    HelpViewer::closeHelp();
    FlushDeferredDeletes();
    EXPECT_EQ(HelpViewer::current(), nullptr);
}

TEST(HelpViewerGui, AHelpFileNamedForTheOldViewerIsFoundBesideTheProgram)
{
    // The .hlp name a caller may pass resolves to the HTML help in the data folder or beside
    // the binary; a name that exists is used as it is.
    const std::string existing = TOVRIMO_SOURCE_DIR "/resources/tovrimo.html";
    EXPECT_EQ(HelpViewer::resolveHelpFile(existing), existing);
    EXPECT_EQ(HelpViewer::resolveHelpFile("/nowhere/nothing.hlp"), "/nowhere/nothing.hlp");
}
