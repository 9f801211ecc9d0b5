// The print dialog keeps what the layout says until the user changes it, and what it shows is
// what the job carries: the stored paper size, "指定なし", the printer in the list, a named
// setting on a printer that is not installed. Also the file and sticky-note commands.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/Rounding.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/RecordingClipboard.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/RecordingPrintDialogHost.h"
#include "output/PagePrinter.h"
#include "output/PreviewBox.h"
#include "output/PrintDialog.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

// Sheets at 300 dpi, in pixels.
const PageMetrics kA4 = FakePrinterBackend::sheet(2480, 3508);
const PageMetrics kA5 = FakePrinterBackend::sheet(1748, 2480);
const PageMetrics kLetter = FakePrinterBackend::sheet(2550, 3300);

// Two printers that hold their sheets by size: "Office" takes A4 by default and offers A4, A5
// and Letter; "Usa" takes Letter by default and offers Letter and A4.
struct Office {
    FakePrinterBackend printers;
    Office()
    {
        FakePrinterBackend::Printer office = FakePrinterBackend::a4("Office");
        office.sizes = {QPageSize::A4, QPageSize::A5, QPageSize::Letter};
        office.defaultSize = QPageSize::A4;
        office.sheets = {{QPageSize::A4, kA4}, {QPageSize::A5, kA5}, {QPageSize::Letter, kLetter}};
        FakePrinterBackend::Printer usa = FakePrinterBackend::a4("Usa");
        usa.sizes = {QPageSize::Letter, QPageSize::A4};
        usa.defaultSize = QPageSize::Letter;
        usa.portrait = kLetter;
        usa.sheets = {{QPageSize::Letter, kLetter}, {QPageSize::A4, kA4}};
        printers.printers = {office, usa};
        printers.defaultName = "Office";
    }
};

PrintLayout Layout(const std::string& printer, int16_t paperSize)
{
    PrintLayout l;
    l.printerName = printer;
    l.position = PagePosition::Centre;
    l.scaleMode = ScaleMode::ActualSize;
    l.scalePercent = 100;
    l.paperSize = paperSize;
    l.orientation = PageOrientation::Portrait;
    l.fontName = "IPAGothic";
    l.fontPoints = 10;
    return l;
}

struct Rig {
    FakePrinterBackend& printers;
    RecordingMessageBoxes boxes;
    RecordingClipboard clipboard;
    RecordingPrintDialogHost host;
    SettingsData data;
    QImage captureImage;
    QImage pageImage;
    std::string lastFolder = "/tmp/";
    PagePrinter printer;
    std::unique_ptr<PrintDialog> dlg;

    explicit Rig(FakePrinterBackend& backend, PrintLayout current)
        : printers(backend),
          captureImage(200, 100, QImage::Format_RGB32),
          printer(
              backend, boxes, [](const std::string& t) { return t; }, ScreenScale{})
    {
        captureImage.fill(Qt::darkGreen);
        data.settings.title = "トヴリモ";
        data.settings.lastNamedSetting = -1;
        data.current = std::move(current);
    }

    PrintDialog& open()
    {
        PrintDialogServices s{
            data,       printers,     boxes,     clipboard,
            printer,    captureImage, pageImage, [](const std::string& t) { return t; },
            lastFolder, host,         15.0,      15.0,
            QIcon()};
        dlg = std::make_unique<PrintDialog>(s);
        dlg->open();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        return *dlg;
    }
    template <typename W>
    W* child(const char* name)
    {
        W* w = dlg->findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox* list(const char* name) { return child<QComboBox>(name); }
    void choose(const char* listName, const QString& text)
    {
        QComboBox* c = list(listName);
        const int index = c->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    void press(const char* button)
    {
        QAbstractButton* b = child<QAbstractButton>(button);
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // Prints through the dialog's own button and its delay.
    void print()
    {
        press("printButton");
        dlg->onPrintDelayElapsed();
    }
    // The sheet the preview draws, in twips.
    QSize previewSheet() const
    {
        EXPECT_FALSE(dlg->preview()->errorShown());
        return dlg->preview()->picture().sheet.size();
    }
};

// The sheet of a page as the printer lays it out for a job, in twips.
QSize SheetOfJob(FakePrinterBackend& printers, const JobRequest& job)
{
    const auto m = printers.pageMetrics(job.printer, job.pageSize, job.orientation);
    EXPECT_TRUE(m.has_value());
    return m ? QSize(static_cast<int>(nearestEven(m->sheetPoints.width() * 20)),
                     static_cast<int>(nearestEven(m->sheetPoints.height() * 20)))
             : QSize();
}

// The layout without the offsets, which the preview fills in for every preset position so
// that choosing the manual one starts from where the image was shown.
PrintLayout WithoutOffsets(PrintLayout l)
{
    l.leftCm = 0;
    l.topCm = 0;
    return l;
}

// Twips of a 300-dpi sheet of w x h pixels.
QSize Twips(const PageMetrics& m)
{
    return {static_cast<int>(nearestEven(m.sheetPoints.width() * 20)),
            static_cast<int>(nearestEven(m.sheetPoints.height() * 20))};
}

}  // namespace

TEST(PrintDialogChoices, AStoredPaperSizeIsShownPrintedAndKeptOnAPrinterWithAnotherDefault)
{
    struct Case {
        const char* name;
        const char* printer;
        int16_t code;
        QPageSize::PageSizeId size;  // what the printer is asked for
        const char* entry;           // the paper list's entry for the code
        PageMetrics sheet;
    };
    const Case cases[] = {
        {"A5 on an A4 printer", "Office", 11, QPageSize::A5, "A5、148 x 210 mm", kA5},
        {"Letter on an A4 printer", "Office", 1, QPageSize::Letter, "ﾚﾀｰ、8 1/2 x 11 ｲﾝﾁ", kLetter},
        {"A4 on a Letter printer", "Usa", 9, QPageSize::A4, "A4、210 x 297 mm", kA4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Office o;
        Rig r(o.printers, Layout(c.printer, c.code));
        const PrintLayout stored = r.data.current;

        // Opening and closing changes nothing.
        PrintDialog& first = r.open();
        EXPECT_EQ(r.list("printerList")->currentText().toStdString(), c.printer);
        EXPECT_EQ(r.list("paperSizeList")->currentText(), QString::fromUtf8(c.entry));
        EXPECT_EQ(first.workingLayout().paperSize, c.code);
        EXPECT_EQ(r.previewSheet(), Twips(c.sheet));
        r.press("closeButton");
        EXPECT_EQ(r.data.current, stored);
        EXPECT_EQ(r.host.saves, 0);

        // Printing prints what the dialog showed and keeps the code.
        PrintDialog& second = r.open();
        EXPECT_EQ(WithoutOffsets(second.workingLayout()), stored);
        r.print();
        ASSERT_EQ(o.printers.jobs.size(), 1u);
        EXPECT_EQ(o.printers.jobs[0].printer, c.printer);
        EXPECT_EQ(o.printers.jobs[0].pageSize.id(), c.size);
        EXPECT_EQ(SheetOfJob(o.printers, o.printers.jobs[0]), Twips(c.sheet));
        EXPECT_EQ(r.data.current.paperSize, c.code);
        EXPECT_EQ(WithoutOffsets(r.data.current), stored);
        EXPECT_EQ(r.host.saves, 1);
        EXPECT_TRUE(r.boxes.shown.empty());
    }
}

TEST(PrintDialogChoices, ThePreviewDrawsTheSheetThePrinterAndTheSizeTheJobCarries)
{
    struct Case {
        const char* name;
        const char* printer;  // chosen in the list after an A5 page on "Office"
        QSize sheet;
    };
    const Case cases[] = {
        // The printer keeps the sheet it was last set to, as a printer device does.
        {"指定なし on the printer that just printed A5", "Office", Twips(kA5)},
        // Another printer starts from its own sheet.
        {"指定なし on another printer chosen in the list", "Usa", Twips(kLetter)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Office o;
        Rig r(o.printers, Layout("Office", 11));
        r.open();
        r.print();
        ASSERT_EQ(o.printers.jobs.size(), 1u);

        PrintDialog& dlg = r.open();
        r.choose("printerList", QString::fromUtf8(c.printer));
        r.choose("paperSizeList", QStringLiteral("指定なし"));
        EXPECT_EQ(dlg.workingLayout().paperSize, 0);
        const QSize shown = r.previewSheet();
        EXPECT_EQ(shown, c.sheet);
        r.print();
        ASSERT_EQ(o.printers.jobs.size(), 2u);
        const JobRequest& job = o.printers.jobs[1];
        EXPECT_EQ(job.printer, c.printer);
        EXPECT_EQ(SheetOfJob(o.printers, job), shown);
        EXPECT_EQ(job.orientation, QPageLayout::Portrait);
    }
}

TEST(PrintDialogChoices, TheJobGoesToThePrinterSelectedInTheList)
{
    Office o;
    Rig r(o.printers, Layout("Office", 9));
    PrintDialog& dlg = r.open();
    r.choose("printerList", QStringLiteral("Usa"));
    EXPECT_EQ(dlg.workingLayout().printerName, "Usa");
    EXPECT_EQ(r.previewSheet(), Twips(kLetter));
    r.print();
    ASSERT_EQ(o.printers.jobs.size(), 1u);
    EXPECT_EQ(o.printers.jobs[0].printer, "Usa");
    EXPECT_EQ(o.printers.jobs[0].pageSize.id(), QPageSize::Letter);
    EXPECT_EQ(r.data.current.printerName, "Usa");
}

TEST(PrintDialogChoices, ANamedSettingOnAPrinterThatIsNotInstalledKeepsTheListsPrinter)
{
    Office o;
    Rig r(o.printers, Layout("Office", 9));
    PrintLayout gone = Layout("Ghost", 9);
    gone.name = "Gone";
    gone.position = PagePosition::TopLeft;
    r.data.named[0] = gone;
    r.data.settings.namedSettingCount = 1;
    PrintDialog& dlg = r.open();
    r.choose("printerList", QStringLiteral("Usa"));
    r.choose("namedSettingList", QStringLiteral("Gone"));
    EXPECT_EQ(dlg.workingSettings().lastNamedSetting, 0);
    EXPECT_EQ(r.list("printerList")->currentText(), "Usa");
    EXPECT_EQ(dlg.workingLayout().printerName, "Usa");
    EXPECT_EQ(dlg.workingLayout().position, PagePosition::TopLeft);
    EXPECT_EQ(r.previewSheet(), Twips(kA4)) << "Usa's A4, the setting's size";

    // The first edit lets the setting go and copies it back in: the printer stays the list's.
    r.press("bottomRightOption");
    EXPECT_EQ(dlg.workingSettings().lastNamedSetting, -1);
    EXPECT_EQ(dlg.workingLayout().printerName, "Usa");
    r.print();
    ASSERT_EQ(o.printers.jobs.size(), 1u);
    EXPECT_EQ(o.printers.jobs[0].printer, "Usa");
    EXPECT_EQ(o.printers.jobs[0].pageSize.id(), QPageSize::A4);
    EXPECT_TRUE(r.boxes.shown.empty()) << "nothing more is said";
    EXPECT_EQ(r.data.named[0].printerName, "Ghost") << "the named setting itself is unchanged";
}

TEST(PrintDialogChoices, TitleOptionsAreComparedWithTheChosenSettingsFromTheStart)
{
    Office o;
    Rig r(o.printers, Layout("Office", 9));
    PrintLayout right = Layout("Office", 9);
    right.name = "Right";
    right.titleAlignment = TitleAlignment::ImageRight;
    right.titlePlacement = TitlePlacement::BelowImage;
    right.fontPoints = 14;
    r.data.named[0] = right;
    r.data.settings.namedSettingCount = 1;
    r.data.settings.lastNamedSetting = 0;
    PrintDialog& dlg = r.open();

    // The chosen setting's own alignment (list index 2) and placement (1), and no font size:
    // nothing is an edit, the setting stays chosen.
    TitleOptions same;
    same.alignmentIndex = 2;
    same.placementIndex = 1;
    same.fontPoints = 0;
    dlg.onTitleOptionsChosen(same);
    EXPECT_EQ(dlg.workingSettings().lastNamedSetting, 0);
    EXPECT_EQ(dlg.workingLayout().titleAlignment, TitleAlignment::ImageRight);

    // The current layout's values (index 0 both) arrive, although the current layout holds
    // them already.
    TitleOptions current = same;
    current.alignmentIndex = 0;
    current.placementIndex = 0;
    dlg.onTitleOptionsChosen(current);
    EXPECT_EQ(dlg.workingSettings().lastNamedSetting, -1);
    EXPECT_EQ(dlg.workingLayout().titleAlignment, TitleAlignment::ImageLeft);
    EXPECT_EQ(dlg.workingLayout().titlePlacement, TitlePlacement::AboveImage);
    EXPECT_EQ(dlg.workingLayout().fontPoints, 14) << "a size of 0 is not taken";

    // A font with a size is taken every time, even the one the layout has.
    TitleOptions font = current;
    font.font.setFamily(QStringLiteral("Serif"));
    font.font.setBold(true);
    font.fontPoints = 14;
    dlg.onTitleOptionsChosen(font);
    EXPECT_EQ(dlg.workingLayout().fontName, "Serif");
    EXPECT_TRUE(dlg.workingLayout().bold);
    EXPECT_EQ(dlg.workingLayout().fontPoints, 14);
}

TEST(PrintDialogChoices, OffsetBoxesAreDisabledForAPositionWithoutAnOption)
{
    struct Case {
        PagePosition position;
        bool enabled;
    };
    const Case cases[] = {{PagePosition::Unrecognised, false},
                          {PagePosition::Manual, true},
                          {PagePosition::Centre, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.position));
        Office o;
        PrintLayout l = Layout("Office", 9);
        l.position = c.position;
        Rig r(o.printers, l);
        r.open();
        EXPECT_EQ(r.child<QLineEdit>("leftEdit")->isEnabled(), c.enabled);
        EXPECT_EQ(r.child<QLineEdit>("topEdit")->isEnabled(), c.enabled);
    }

    // From a manual named setting to one with an unknown position.
    Office o;
    Rig r(o.printers, Layout("Office", 9));
    PrintLayout manual = Layout("Office", 9);
    manual.name = "Manual";
    manual.position = PagePosition::Manual;
    PrintLayout odd = manual;
    odd.name = "Odd";
    odd.position = PagePosition::Unrecognised;
    r.data.named[0] = manual;
    r.data.named[1] = odd;
    r.data.settings.namedSettingCount = 2;
    r.open();
    r.choose("namedSettingList", QStringLiteral("Manual"));
    EXPECT_TRUE(r.child<QLineEdit>("leftEdit")->isEnabled());
    r.choose("namedSettingList", QStringLiteral("Odd"));
    EXPECT_FALSE(r.child<QLineEdit>("leftEdit")->isEnabled());
    EXPECT_FALSE(r.child<QLineEdit>("topEdit")->isEnabled());
    EXPECT_FALSE(r.child<QRadioButton>("manualPositionOption")->isChecked());
}

TEST(PrintDialogChoices, SavingTheLaidOutImageAsABitmapFile)
{
    struct Case {
        const char* name;
        bool chosen;
    };
    const Case cases[] = {{"a file chosen", true}, {"cancelled", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const std::string path = dir.filePath(QStringLiteral("page.bmp")).toStdString();
        Office o;
        Rig r(o.printers, Layout("Office", 9));
        r.lastFolder = "/srv/pictures/";
        if (c.chosen) r.host.saveAnswer = path;
        PrintDialog& dlg = r.open();
        r.press("topLeftOption");
        r.press("saveFileButton");
        ASSERT_EQ(r.host.saveDialogs.size(), 1u);
        EXPECT_EQ(r.host.saveDialogs[0].a, "ピクチャ画像の保存");
        EXPECT_EQ(r.host.saveDialogs[0].b,
                  "ビットマップファイル(*.BMP)|*.bmp|PNGファイル(*.png)|*.png|");
        EXPECT_EQ(r.host.saveDialogs[0].c, "/srv/pictures/");
        EXPECT_TRUE(dlg.isVisible()) << "shown again";
        EXPECT_EQ(r.host.saves, 1) << "saved in both cases";
        EXPECT_EQ(r.data.current.position, PagePosition::TopLeft) << "written back";
        if (c.chosen) {
            EXPECT_EQ(r.lastFolder, path);
            QImageReader reader(QString::fromStdString(path));
            EXPECT_EQ(reader.format(), "bmp");
            const QImage saved = reader.read();
            EXPECT_EQ(saved.size(), QSize(200, 100)) << "the page image at actual size";
            EXPECT_EQ(saved.pixel(100, 50), QColor(Qt::darkGreen).rgb());
        } else {
            EXPECT_EQ(r.lastFolder, "/srv/pictures/");
            EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
        }
        r.press("closeButton");
    }
}

TEST(PrintDialogChoices, StickyNotesUpToSixteen)
{
    Office o;
    Rig r(o.printers, Layout("Office", 9));
    r.host.notes = 15;
    PrintDialog& dlg = r.open();
    r.press("stickyNoteButton");
    ASSERT_EQ(r.host.noteImages.size(), 1u);
    EXPECT_EQ(r.host.noteImages[0].size(), QSize(200, 100));
    EXPECT_EQ(r.host.notes, 16);
    EXPECT_EQ(r.host.saves, 1);
    EXPECT_TRUE(r.boxes.shown.empty());
    EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open";

    r.press("stickyNoteButton");
    EXPECT_EQ(r.host.noteImages.size(), 1u) << "no seventeenth note";
    ASSERT_EQ(r.boxes.shown.size(), 1u);
    EXPECT_EQ(r.boxes.shown[0].caption, "トヴリモ");
    EXPECT_EQ(r.boxes.shown[0].text,
              "付せんの数が上限(16枚)を超えているので新たに生成できません。");
    EXPECT_EQ(r.boxes.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(r.boxes.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(r.host.saves, 1) << "nothing else happens";
    EXPECT_TRUE(dlg.isVisible());
}
