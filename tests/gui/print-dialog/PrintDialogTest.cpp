#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <memory>

#include "controls/ScaleSlider.h"
#include "core/PaperNames.h"
#include "core/Rounding.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/RecordingClipboard.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/RecordingPrintDialogHost.h"
#include "harness/TestSession.h"
#include "output/OutputTexts.h"
#include "output/PageGeometry.h"
#include "output/PagePrinter.h"
#include "output/PageRenderer.h"
#include "output/PreviewBox.h"
#include "output/PrintDialog.h"
#include "output/PrintDialogTexts.h"
#include "output/TitleOptionsDialog.h"
#include "platform/cups/CupsPrinterBackend.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

PrintLayout BaseLayout(const std::string& device)
{
    PrintLayout l;
    l.printerName = device;
    l.position = PagePosition::Centre;
    l.scaleMode = ScaleMode::ActualSize;
    l.scalePercent = 100;
    l.keepAspectRatio = true;
    l.paperSize = 9;
    l.paperSource = 0;
    l.orientation = PageOrientation::Portrait;
    l.fontName = "IPAGothic";
    l.fontPoints = 10;
    return l;
}

// Clicks a button where its indicator is: an option's label can be narrower than its widget.
void Press(QAbstractButton* b)
{
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

QImage Capture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    return img;
}

// Where screenshots of the dialogs go: $TOVRIMO_ARTIFACTS or ./artifacts.
QString ArtifactPath(const QString& file)
{
    QString dir = qEnvironmentVariable("TOVRIMO_ARTIFACTS");
    if (dir.isEmpty()) dir = QDir::currentPath() + QStringLiteral("/artifacts");
    QDir().mkpath(dir);
    return dir + QLatin1Char('/') + file;
}

// One dialog over a chosen printer backend, with everything around it recorded.
struct Dialog {
    PrinterBackend& printers;
    RecordingMessageBoxes boxes;
    RecordingClipboard clipboard;
    RecordingPrintDialogHost host;
    SettingsData data;
    QImage captureImage;
    QImage pageImage;
    std::string lastFolder = "/tmp/";
    PagePrinter printer;
    std::unique_ptr<PrintDialog> dlg;

    explicit Dialog(PrinterBackend& backend, const std::string& device,
                    QImage capture = Capture(200, 100))
        : printers(backend),
          captureImage(std::move(capture)),
          printer(
              backend, boxes, [](const std::string& t) { return t; }, ScreenScale{})
    {
        data.settings.title = "トヴリモ";
        data.settings.lastNamedSetting = -1;
        data.current = BaseLayout(device);
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
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
    QRadioButton* option(const char* name) { return child<QRadioButton>(name); }
    QComboBox* list(const char* name) { return child<QComboBox>(name); }
    void click(QAbstractButton* b) { Press(b); }
    void choose(const char* listName, int index)
    {
        QComboBox* c = list(listName);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    int paperEntry(int code)
    {
        return list("paperSizeList")->findText(QString::fromStdString(PaperSizeNames()[code]));
    }
};

struct FakeOffice {
    FakePrinterBackend printers;
    FakeOffice()
    {
        auto office = FakePrinterBackend::a4("Office");
        office.sizes = {QPageSize::A4, QPageSize::Letter};
        office.sources = {PaperSource::Upper, PaperSource::Lower};
        auto other = FakePrinterBackend::a4("Other");
        other.sizes = {QPageSize::Letter, QPageSize::A4};
        other.defaultSize = QPageSize::Letter;
        printers.printers = {office, other};
        printers.defaultName = "Office";
    }
};

}  // namespace

TEST(ScaleSlider, KeepsTheRangeAndClampsValues)
{
    QWidget form;
    form.resize(300, 60);
    auto* s = new ScaleSlider(&form);
    s->setGeometry(10, 5, 200, 30);
    EXPECT_EQ(s->parentWidget(), &form);
    EXPECT_EQ(s->orientation(), Qt::Horizontal);
    EXPECT_EQ(s->minimum(), 1);
    EXPECT_EQ(s->maximum(), 200);
    EXPECT_EQ(s->tickInterval(), 10);
    EXPECT_EQ(s->geometry(), QRect(10, 5, 200, 30));
    struct Case {
        int set;
        int got;
    } cases[] = {{60, 60}, {0, 1}, {-5, 1}, {201, 200}, {500, 200}, {200, 200}, {1, 1}};
    for (const auto& c : cases) {
        s->setValue(c.set);
        EXPECT_EQ(s->value(), c.got) << c.set;
    }
}

TEST(ScaleSlider, ReportsOnlyALeftButtonRelease)
{
    ScaleSlider s;
    s.resize(200, 30);
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&s));
    QSignalSpy released(&s, &ScaleSlider::released);
    s.setValue(50);
    s.setFocus();
    QTest::keyClick(&s, Qt::Key_Right);
    EXPECT_EQ(s.value(), 51);
    EXPECT_EQ(released.count(), 0) << "keyboard moves are not a release";
    QTest::mouseClick(&s, Qt::RightButton, {}, QPoint(5, 15));
    EXPECT_EQ(released.count(), 0) << "the right button";
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(5, 15));
    EXPECT_EQ(released.count(), 1);
}

TEST(PrintDialog, OffsetBoxesAreEnabledOnlyForTheManualPosition)
{
    struct Case {
        PagePosition position;
        const char* option;
    } cases[] = {
        {PagePosition::TopLeft, "topLeftOption"},
        {PagePosition::TopRight, "topRightOption"},
        {PagePosition::Centre, "centreOption"},
        {PagePosition::BottomLeft, "bottomLeftOption"},
        {PagePosition::BottomRight, "bottomRightOption"},
        {PagePosition::Manual, "manualPositionOption"},
    };
    for (const auto& c : cases) {
        FakeOffice o;
        Dialog d(o.printers, "Office");
        d.data.current.position = c.position;
        d.data.current.leftCm = 1.5;
        d.data.current.topCm = 2;
        d.open();
        const bool manual = c.position == PagePosition::Manual;
        EXPECT_EQ(d.box("leftEdit")->isEnabled(), manual) << c.option;
        EXPECT_EQ(d.box("topEdit")->isEnabled(), manual) << c.option;
        EXPECT_TRUE(d.option(c.option)->isChecked());
        if (manual) {
            EXPECT_EQ(d.box("leftEdit")->text(), "1.5");
            EXPECT_EQ(d.dlg->workingLayout().leftCm, 1.5);
        }
    }
}

TEST(PrintDialog, ScaleModesAndTheScaleBox)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    d.data.current.scaleMode = ScaleMode::Percent;
    d.data.current.scalePercent = 150;
    PrintDialog& dlg = d.open();
    QLineEdit* scale = d.box("scaleEdit");
    EXPECT_TRUE(scale->isEnabled());
    EXPECT_EQ(scale->text(), "150");
    EXPECT_EQ(dlg.slider()->value(), 150);

    // "実寸" puts 100 everywhere.
    d.click(d.option("actualSizeOption"));
    EXPECT_EQ(scale->text(), "100");
    EXPECT_EQ(dlg.slider()->value(), 100);
    EXPECT_EQ(dlg.workingLayout().scalePercent, 100);
    EXPECT_EQ(dlg.workingLayout().scaleMode, ScaleMode::ActualSize);
    EXPECT_FALSE(scale->isEnabled());

    // Fit mode with 350 in the box, then the manual mode: 200.
    d.click(d.option("fitToPaperOption"));
    scale->setText("350");
    EXPECT_TRUE(d.boxes.shown.empty());  // a disabled box is not checked
    EXPECT_EQ(dlg.workingLayout().scalePercent, 350);
    d.click(d.option("scalePercentOption"));
    EXPECT_EQ(scale->text(), "200");
    EXPECT_EQ(dlg.workingLayout().scalePercent, 200);

    // 201 typed: the range message, then 100.
    QTest::keyClick(scale, Qt::Key_End);
    scale->setText("201");
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].caption, texts::kSettingErrorCaption);
    EXPECT_EQ(d.boxes.shown[0].text, texts::kScaleRange);
    EXPECT_EQ(scale->text(), "100");
    EXPECT_EQ(dlg.workingLayout().scalePercent, 100);

    // An empty box is accepted as 0.
    scale->setText("");
    EXPECT_EQ(dlg.workingLayout().scalePercent, 0);
    EXPECT_EQ(d.boxes.shown.size(), 1u);

    // Letters are refused at the keyboard, digits pass.
    scale->setText("1");
    scale->setFocus();
    scale->setCursorPosition(1);
    QTest::keyClicks(scale, "a2-");
    EXPECT_EQ(scale->text(), "12");
    EXPECT_TRUE(dlg.previewTimer()->isActive());
}

TEST(PrintDialog, StepButtonsMoveInQuarters)
{
    struct Case {
        int from;
        const char* button;
        int to;
    } cases[] = {{110, "reduceScaleButton", 75},
                 {26, "reduceScaleButton", 1},
                 {190, "enlargeScaleButton", 200},
                 {200, "enlargeScaleButton", 200},
                 {110, "enlargeScaleButton", 125}};
    for (const auto& c : cases) {
        FakeOffice o;
        Dialog d(o.printers, "Office");
        PrintDialog& dlg = d.open();
        dlg.slider()->setValue(c.from);
        d.click(d.child<QToolButton>(c.button));
        EXPECT_EQ(d.box("scaleEdit")->text(), QString::number(c.to)) << c.from << c.button;
        EXPECT_EQ(dlg.slider()->value(), c.to) << c.from << c.button;
        EXPECT_EQ(dlg.workingLayout().scalePercent, c.to) << c.from << c.button;
        EXPECT_EQ(dlg.workingLayout().scaleMode, ScaleMode::Percent) << c.from << c.button;
        EXPECT_TRUE(d.option("scalePercentOption")->isChecked());
    }
}

TEST(PrintDialog, TitleFieldsGoInAtTheCaret)
{
    struct Case {
        const char* why;
        int selectFrom, selectLength;
    } cases[] = {{"caret after the third character", 3, 0},
                 {"fourth and fifth characters selected", 3, 2}};
    for (const auto& c : cases) {
        FakeOffice o;
        Dialog d(o.printers, "Office");
        PrintDialog& dlg = d.open();
        QLineEdit* title = d.box("titleEdit");
        title->setText("abcdef");
        if (c.selectLength > 0) {
            title->setSelection(c.selectFrom, c.selectLength);
        } else {
            title->setCursorPosition(c.selectFrom);
        }
        d.click(d.child<QToolButton>("insertDateButton"));
        EXPECT_EQ(title->text(), QString::fromUtf8("abc&[日付]def")) << c.why;
        EXPECT_EQ(title->cursorPosition(), 8) << c.why;
        EXPECT_EQ(dlg.workingLayout().titleText, "abc&[日付]def") << c.why;
        // The dialog's own focus widget: whether the window manager has made the dialog the
        // active window yet is a matter of timing on a busy machine.
        EXPECT_EQ(dlg.focusWidget(), title) << c.why;
        EXPECT_EQ(d.child<QToolButton>("insertDateButton")->toolTip(),
                  QString::fromUtf8("日付を挿入"));
    }
}

TEST(PrintDialog, SliderTransfersOnlyOnMouseRelease)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    PrintDialog& dlg = d.open();
    QSlider* s = dlg.slider();
    ASSERT_NE(s, nullptr);
    QSignalSpy ups(dlg.slider(), &ScaleSlider::released);
    dlg.slider()->setValue(50);
    s->setFocus();
    for (int i = 0; i < 10; ++i) QTest::keyClick(s, Qt::Key_Right);
    EXPECT_EQ(s->value(), 60);
    EXPECT_EQ(ups.count(), 0);
    EXPECT_EQ(d.box("scaleEdit")->text(), "100");
    EXPECT_EQ(dlg.workingLayout().scaleMode, ScaleMode::ActualSize);

    // Press and release on the thumb, where it stands.
    QStyleOptionSlider opt;
    opt.initFrom(s);
    opt.orientation = s->orientation();
    opt.minimum = s->minimum();
    opt.maximum = s->maximum();
    opt.sliderPosition = s->value();
    opt.sliderValue = s->value();
    opt.tickPosition = s->tickPosition();
    opt.tickInterval = s->tickInterval();
    opt.singleStep = s->singleStep();
    opt.pageStep = s->pageStep();
    opt.subControls = QStyle::SC_All;
    const QPoint thumb =
        s->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, s).center();
    QTest::mousePress(s, Qt::LeftButton, {}, thumb);
    QTest::mouseRelease(s, Qt::LeftButton, {}, thumb);
    EXPECT_EQ(ups.count(), 1);
    EXPECT_EQ(s->value(), 60);
    EXPECT_TRUE(d.option("scalePercentOption")->isChecked());
    EXPECT_EQ(d.box("scaleEdit")->text(), "60");
    EXPECT_EQ(dlg.workingLayout().scalePercent, 60);
    EXPECT_EQ(dlg.workingLayout().scaleMode, ScaleMode::Percent);
}

namespace {

void AddNamed(SettingsData& data, const std::string& name, PagePosition pos,
              const std::string& title)
{
    PrintLayout l = BaseLayout("Office");
    l.name = name;
    l.position = pos;
    l.titleText = title;
    data.named[data.settings.namedSettingCount++] = l;
}

}  // namespace

TEST(PrintDialog, OpensWithTheLastChosenSettingButTheCurrentTitle)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    AddNamed(d.data, "A", PagePosition::TopLeft, "title A");
    AddNamed(d.data, "B", PagePosition::BottomRight, "title B");
    d.data.named[1].scaleMode = ScaleMode::Percent;
    d.data.named[1].scalePercent = 40;
    d.data.settings.lastNamedSetting = 1;
    d.data.current.titleText = "current title";
    PrintDialog& dlg = d.open();
    EXPECT_EQ(d.list("namedSettingList")->currentIndex(), 1);
    EXPECT_EQ(d.list("namedSettingList")->currentText(), "B");
    EXPECT_EQ(dlg.workingSettings().lastNamedSetting, 1);
    EXPECT_TRUE(d.option("bottomRightOption")->isChecked());
    EXPECT_TRUE(d.option("scalePercentOption")->isChecked());
    EXPECT_EQ(d.box("scaleEdit")->text(), "40");
    EXPECT_EQ(d.box("titleEdit")->text(), "current title");
    EXPECT_EQ(dlg.workingLayout().position, PagePosition::BottomRight);
}

TEST(PrintDialog, AnEditLetsTheChosenSettingGoAndSavingOverwritesInPlace)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    AddNamed(d.data, "A", PagePosition::TopLeft, "");
    AddNamed(d.data, "B", PagePosition::TopRight, "");
    AddNamed(d.data, "C", PagePosition::BottomLeft, "");
    PrintDialog& dlg = d.open();
    d.choose("namedSettingList", 1);
    EXPECT_EQ(dlg.workingSettings().lastNamedSetting, 1);
    EXPECT_TRUE(d.option("topRightOption")->isChecked());

    d.click(d.option("centreOption"));
    EXPECT_EQ(dlg.workingSettings().lastNamedSetting, -1);
    EXPECT_EQ(d.list("namedSettingList")->currentIndex(), -1);
    EXPECT_EQ(dlg.rememberedSettingName(), "B");
    EXPECT_EQ(dlg.workingLayout().position, PagePosition::Centre);

    d.click(d.child<QPushButton>("saveSettingButton"));
    ASSERT_EQ(d.host.inputs.size(), 1u);
    EXPECT_EQ(d.host.inputs[0].a, texts::kAskSettingName);
    EXPECT_EQ(d.host.inputs[0].b, texts::kAskSettingNameTitle);
    EXPECT_EQ(d.host.inputs[0].c, "B");
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].caption, texts::kOverwriteCaption);
    EXPECT_EQ(d.boxes.shown[0].text, "Bは既に存在します。上書きしますか？");
    EXPECT_EQ(d.data.settings.namedSettingCount, 3);
    EXPECT_EQ(d.data.named[0].name, "A");
    EXPECT_EQ(d.data.named[1].name, "B");
    EXPECT_EQ(d.data.named[1].position, PagePosition::Centre);
    EXPECT_EQ(d.data.named[2].name, "C");
    EXPECT_EQ(d.list("namedSettingList")->count(), 3);
    EXPECT_EQ(d.list("namedSettingList")->currentIndex(), 1);
    EXPECT_EQ(d.data.settings.lastNamedSetting, 1);
    EXPECT_EQ(d.data.current.position, PagePosition::Centre);
    EXPECT_EQ(d.host.saves, 1);
}

TEST(PrintDialog, SavingNewNamesAndRefusals)
{
    struct Case {
        const char* why;
        int existing;
        bool printerChosen;
        std::string answer;
        MsgResult overwrite;
        int count;
        int saves;
        const char* caption;
    } cases[] = {
        {"a name in another case is new", 1, true, "a", MsgResult::Yes, 2, 1, nullptr},
        {"overwrite refused", 1, true, "A", MsgResult::No, 1, 0, texts::kOverwriteCaption},
        {"input cancelled", 1, true, "", MsgResult::Yes, 1, 0, nullptr},
        {"no printer chosen", 1, false, "x", MsgResult::Yes, 1, 0, texts::kSettingErrorCaption},
        {"all 101 in use", 101, true, "new", MsgResult::Yes, 101, 0, texts::kSettingErrorCaption},
    };
    for (const auto& c : cases) {
        FakeOffice o;
        Dialog d(o.printers, c.printerChosen ? "Office" : "Missing");
        for (int i = 0; i < c.existing; ++i)
            AddNamed(d.data, i ? "S" + std::to_string(i) : "A", PagePosition::TopLeft, "");
        const auto before = d.data.named;
        d.open();
        d.host.inputAnswers = {c.answer};
        d.boxes.answers = {c.overwrite};
        d.click(d.child<QPushButton>("saveSettingButton"));
        EXPECT_EQ(d.data.settings.namedSettingCount, c.count) << c.why;
        EXPECT_EQ(d.host.saves, c.saves) << c.why;
        EXPECT_EQ(d.list("namedSettingList")->count(), c.count) << c.why;
        if (c.caption) {
            ASSERT_FALSE(d.boxes.shown.empty()) << c.why;
            EXPECT_EQ(d.boxes.shown.back().caption, c.caption) << c.why;
        }
        if (c.saves == 0) {
            EXPECT_EQ(d.data.named, before) << c.why;
        }
    }
}

TEST(PrintDialog, DeletingTheSecondOfThree)
{
    struct Case {
        MsgResult answer;
        std::vector<std::string> left;
    } cases[] = {{MsgResult::Yes, {"A", "C"}},
                 {MsgResult::No, {"A", "B", "C"}},
                 {MsgResult::Cancel, {"A", "B", "C"}}};
    for (const auto& c : cases) {
        FakeOffice o;
        Dialog d(o.printers, "Office");
        AddNamed(d.data, "A", PagePosition::TopLeft, "");
        AddNamed(d.data, "B", PagePosition::TopRight, "");
        AddNamed(d.data, "C", PagePosition::BottomLeft, "");
        PrintDialog& dlg = d.open();
        d.choose("namedSettingList", 1);
        d.boxes.answers = {c.answer};
        d.click(d.child<QPushButton>("deleteSettingButton"));
        ASSERT_EQ(d.boxes.shown.size(), 1u);
        EXPECT_EQ(d.boxes.shown[0].caption, texts::kDeleteCaption);
        EXPECT_EQ(d.boxes.shown[0].text, "Bを削除しますか？");
        EXPECT_EQ(d.boxes.shown[0].buttons, MsgButtons::YesNoCancel);
        const bool deleted = c.answer == MsgResult::Yes;
        EXPECT_EQ(d.list("namedSettingList")->count(), static_cast<int>(c.left.size()));
        for (size_t i = 0; i < c.left.size(); ++i) {
            EXPECT_EQ(d.list("namedSettingList")->itemText(static_cast<int>(i)).toStdString(),
                      c.left[i]);
        }
        if (deleted) {
            EXPECT_EQ(d.data.settings.namedSettingCount, 2);
            EXPECT_EQ(d.data.named[1].name, "C");
            EXPECT_EQ(d.data.settings.lastNamedSetting, -1);
            EXPECT_EQ(d.list("namedSettingList")->currentIndex(), -1);
            EXPECT_EQ(d.host.saves, 1);
            EXPECT_EQ(dlg.workingLayout().position,
                      PagePosition::TopRight);  // the layout keeps its values
        } else {
            EXPECT_EQ(d.data.settings.namedSettingCount, 3);
            EXPECT_EQ(d.host.saves, 0);
        }
    }
    FakeOffice o;
    Dialog d(o.printers, "Office");
    d.open();
    d.click(d.child<QPushButton>("deleteSettingButton"));
    ASSERT_EQ(d.boxes.shown.size(), 1u);
    EXPECT_EQ(d.boxes.shown[0].caption, texts::kErrorCaption);
    EXPECT_EQ(d.boxes.shown[0].text, texts::kCannotDelete);
}

TEST(PrintDialog, PreviewBoxesMatchThePageGeometryOnARealQueue)
{
    CupsPrinterBackend cups;
    struct Case {
        PageOrientation orientation;
        ScaleMode size;
        PagePosition pos;
        TitlePlacement valign;
        TitleAlignment align;
        const char* title;
    } cases[] = {
        {PageOrientation::Portrait, ScaleMode::ActualSize, PagePosition::TopLeft,
         TitlePlacement::AboveImage, TitleAlignment::ImageLeft, "Title"},
        {PageOrientation::Portrait, ScaleMode::FitToPaper, PagePosition::Centre,
         TitlePlacement::BelowImage, TitleAlignment::ImageCentre, "題名 Title"},
        {PageOrientation::Portrait, ScaleMode::Percent, PagePosition::BottomRight,
         TitlePlacement::BelowImage, TitleAlignment::ImageRight, "x"},
        {PageOrientation::Landscape, ScaleMode::ActualSize, PagePosition::TopRight,
         TitlePlacement::AboveImage, TitleAlignment::ImageRight, "Title"},
        {PageOrientation::Landscape, ScaleMode::FitToPaper, PagePosition::Centre,
         TitlePlacement::AboveImage, TitleAlignment::ImageCentre, ""},
        {PageOrientation::Landscape, ScaleMode::Percent, PagePosition::BottomLeft,
         TitlePlacement::BelowImage, TitleAlignment::ImageLeft, "landscape"},
        {PageOrientation::Portrait, ScaleMode::FitToPaper, PagePosition::TopLeft,
         TitlePlacement::AboveImage, TitleAlignment::ImageLeft, "   "},
    };
    for (const auto& c : cases) {
        Dialog d(cups, TestSession::kA4Queue, Capture(400, 300));
        d.data.current.orientation = c.orientation;
        d.data.current.scaleMode = c.size;
        d.data.current.scalePercent = 60;
        d.data.current.position = c.pos;
        d.data.current.titlePlacement = c.valign;
        d.data.current.titleAlignment = c.align;
        d.data.current.titleText = c.title;
        PrintDialog& dlg = d.open();
        const bool landscape = c.orientation == PageOrientation::Landscape;
        // The printer interface numbers portrait 1 and landscape 2.
        const auto metrics =
            cups.pageMetrics(TestSession::kA4Queue, QPageSize(QPageSize::A4),
                             landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        ASSERT_TRUE(metrics.has_value());
        const Margins m = ComputeMargins(*metrics);
        TitleFont font;
        font.family = "IPAGothic";
        font.pointSize = 10;
        const auto measured =
            PageRenderer::measureTitle(font, QString::fromUtf8(c.title), metrics->dotsPerInchY);
        const ImageSize size =
            TargetImageSize(c.size, 60, m, 400, 300, 15, 15, nearestEven(measured.heightTwips),
                            TwipsPerPixelY(*metrics));
        PlacementInput in;
        in.position = c.pos;
        in.titlePlacement = c.valign;
        in.titleAlignment = c.align;
        in.image = size;
        in.titleWidth = nearestEven(measured.widthTwips);
        in.titleHeight = PlacingTitleHeight(c.title, measured.heightTwips);
        in.printerTwipsPerPixelY = TwipsPerPixelY(*metrics);
        const PagePlacement p = PlacePage(m, in);
        const double scale = 1.2 * std::max(m.pageWidth, m.pageHeight);
        const int64_t x0 = halfTowardZero(nearestEven(scale - m.pageWidth));
        const int64_t y0 = halfTowardZero(nearestEven(scale - m.pageHeight));

        const PreviewPicture& pic = dlg.preview()->picture();
        SCOPED_TRACE(testing::Message() << "orientation " << static_cast<int>(c.orientation)
                                        << " size " << static_cast<int>(c.size) << " pos "
                                        << static_cast<int>(c.pos) << " title '" << c.title << "'");
        ASSERT_TRUE(pic.placed);
        EXPECT_FALSE(dlg.preview()->errorShown());
        EXPECT_DOUBLE_EQ(pic.scale, scale);
        EXPECT_EQ(pic.sheet, QRect(x0, y0, m.pageWidth, m.pageHeight));
        EXPECT_EQ(pic.image, QRect(x0 + p.imageX, y0 + p.imageY, p.imageWidth, p.imageHeight));
        EXPECT_EQ(pic.title, QRect(x0 + p.titleX, y0 + p.titleY, p.titleWidth, p.titleHeight));
        EXPECT_EQ(dlg.preview()->imageBox()->geometry(),
                  PreviewToPixels(QRectF(pic.image), scale, QSize(249, 231)));
        EXPECT_EQ(landscape, pic.sheet.width() > pic.sheet.height());
        if (c.size == ScaleMode::FitToPaper) {
            EXPECT_EQ(d.box("scaleEdit")->text().toInt(),
                      static_cast<int>(std::floor(size.width / (400 * 15.0) * 100)));
        }
        if (c.pos != PagePosition::Manual) {
            EXPECT_EQ(d.box("leftEdit")->text(),
                      QString::number((p.imageX - m.left) / 567.0, 'f', 2));
            EXPECT_EQ(d.box("topEdit")->text(),
                      QString::number((p.imageY - m.top) / 567.0, 'f', 2));
        }
        if (landscape && c.size == ScaleMode::Percent) {
            dlg.preview()->grab().save(ArtifactPath("preview-landscape.png"));
        }
    }
}

TEST(PrintDialog, ManualPositionKeepsTheImageWhereThePresetPutIt)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    PrintDialog& dlg = d.open();
    d.click(d.option("bottomRightOption"));
    const QRect bottomRight = dlg.preview()->picture().image;
    d.click(d.option("manualPositionOption"));
    // The boxes hold the offsets to a hundredth of a centimetre (under 3 twips).
    EXPECT_NEAR(dlg.preview()->picture().image.x(), bottomRight.x(), 3);
    EXPECT_NEAR(dlg.preview()->picture().image.y(), bottomRight.y(), 3);
    EXPECT_EQ(dlg.preview()->picture().image.size(), bottomRight.size());
    EXPECT_TRUE(d.box("leftEdit")->isEnabled());

    d.box("leftEdit")->setText("abc");
    dlg.onPreviewDelayElapsed();
    EXPECT_TRUE(dlg.preview()->errorShown());
    d.box("leftEdit")->setText("1");
    dlg.onPreviewDelayElapsed();
    EXPECT_FALSE(dlg.preview()->errorShown());
    EXPECT_EQ(dlg.workingLayout().leftCm, 1.0);
}

TEST(PrintDialog, RefusedPaperSizeShowsThePreviewError)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    PrintDialog& dlg = d.open();
    EXPECT_FALSE(dlg.preview()->errorShown());
    d.choose("paperSizeList", d.paperEntry(8));  // A3: not offered by this printer
    EXPECT_EQ(dlg.workingLayout().paperSize, 8);
    EXPECT_TRUE(dlg.preview()->errorShown());
    EXPECT_EQ(dlg.preview()->findChild<QLabel*>("previewError")->text(),
              QString::fromUtf8(texts::kPreviewError));
    d.choose("paperSizeList", d.paperEntry(9));
    EXPECT_FALSE(dlg.preview()->errorShown());
}

TEST(PrintDialog, ChoosingAnotherPrinterTakesItsPaperSize)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    PrintDialog& dlg = d.open();
    d.choose("paperSourceList",
             d.list("paperSourceList")->findText(QString::fromStdString(PaperBinNames()[2])));
    EXPECT_EQ(dlg.workingLayout().paperSource, 2);
    d.choose("printerList", 2);
    EXPECT_EQ(dlg.workingLayout().printerName, "Other");
    EXPECT_EQ(dlg.workingLayout().paperSize, 1);
    EXPECT_EQ(d.list("paperSizeList")->currentIndex(), d.paperEntry(1));
    EXPECT_EQ(dlg.workingLayout().paperSource, 2);
}

TEST(PrintDialog, PrintWritesBackSavesAndComesBackAfterASetupError)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    PrintDialog& dlg = d.open();
    d.choose("paperSizeList", d.paperEntry(8));
    SettingsData atSave;
    d.host.onSave = [&] { atSave = d.data; };
    d.click(d.child<QPushButton>("printButton"));
    EXPECT_FALSE(dlg.isVisible());
    ASSERT_NE(dlg.printingNotice(), nullptr);
    EXPECT_TRUE(dlg.printTimer()->isActive());
    EXPECT_EQ(dlg.printTimer()->interval(), 1000);
    EXPECT_EQ(atSave.current.paperSize, 8);
    dlg.onPrintDelayElapsed();
    EXPECT_EQ(dlg.printingNotice(), nullptr);
    EXPECT_TRUE(d.printer.pageSetupFailed());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.printTimer()->isActive());
    EXPECT_EQ(d.host.closes, 0);
    EXPECT_TRUE(o.printers.jobs.empty());

    d.choose("paperSizeList", d.paperEntry(9));
    d.click(d.child<QPushButton>("printButton"));
    dlg.onPrintDelayElapsed();
    ASSERT_EQ(o.printers.jobs.size(), 1u);
    EXPECT_EQ(o.printers.jobs[0].pageSize.id(), QPageSize::A4);
    EXPECT_EQ(d.host.closes, 1);
    EXPECT_TRUE(dlg.isClosed());
    EXPECT_EQ(d.host.saves, 2);
}

TEST(PrintDialog, CopyAndCloseKeepOnlyWhatWasWrittenBack)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    d.open();
    d.click(d.option("topLeftOption"));
    d.click(d.child<QPushButton>("copyButton"));
    ASSERT_EQ(d.clipboard.images.size(), 1u);
    EXPECT_EQ(d.clipboard.images[0].size(), QSize(200, 100));
    EXPECT_EQ(d.data.current.position, PagePosition::TopLeft);
    d.click(d.option("bottomRightOption"));
    d.click(d.child<QPushButton>("closeButton"));
    EXPECT_EQ(d.data.current.position, PagePosition::TopLeft);
    EXPECT_EQ(d.host.closes, 1);
    EXPECT_EQ(d.host.saves, 1);
}

TEST(PrintDialog, TitleOptionsHandTheirValuesBackOnOk)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    d.data.current.titleText = "&[PC名] hard copy";
    PrintDialog& dlg = d.open();
    dlg.grab().save(ArtifactPath("print-dialog.png"));

    d.click(d.child<QPushButton>("titleOptionsButton"));
    TitleOptionsDialog* opt = dlg.titleOptionsDialog();
    ASSERT_NE(opt, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(opt));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(opt->findChild<QLabel*>("fontSummary")->text(), "IPAGothic,10pt");
    opt->grab().save(ArtifactPath("title-options.png"));

    QFont chosen("IPAGothic");
    chosen.setPointSize(14);
    chosen.setBold(true);
    d.host.fontAnswer = chosen;
    QTest::mouseClick(opt->findChild<QPushButton*>("chooseFontButton"), Qt::LeftButton);
    EXPECT_EQ(opt->findChild<QLabel*>("fontSummary")->text(), "IPAGothic,14pt");
    Press(opt->findChild<QRadioButton*>("rightAlignOption"));
    Press(opt->findChild<QRadioButton*>("belowImageOption"));
    QTest::mouseClick(opt->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.workingLayout().titleAlignment, TitleAlignment::ImageRight);
    EXPECT_EQ(dlg.workingLayout().titlePlacement, TitlePlacement::BelowImage);
    EXPECT_EQ(dlg.workingLayout().fontPoints, 14);
    EXPECT_TRUE(dlg.workingLayout().bold);
    EXPECT_EQ(dlg.workingLayout().fontName, "IPAGothic");

    // Cancelled through the close box: nothing comes back, the dialog does.
    d.click(d.child<QPushButton>("titleOptionsButton"));
    opt = dlg.titleOptionsDialog();
    ASSERT_NE(opt, nullptr);
    Press(opt->findChild<QRadioButton*>("leftAlignOption"));
    opt->close();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.workingLayout().titleAlignment, TitleAlignment::ImageRight);
}

namespace {

// Gives a control the focus the way Tab would and returns what really has it, so that keys go
// where a user's keys would go.
QWidget* FocusOn(QWidget* w)
{
    w->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();  // the scale box selects its text once focused
    QWidget* focused = QApplication::focusWidget();
    EXPECT_TRUE(focused == w || (focused && w->isAncestorOf(focused)))
        << w->objectName().toStdString();
    return focused ? focused : w;
}

bool NothingCommitted(Dialog& d, PrintDialog& dlg)
{
    return dlg.isVisible() && !dlg.printTimer()->isActive() && !dlg.printingNotice() &&
           d.host.saves == 0 && d.host.closes == 0 && d.clipboard.images.empty();
}

}  // namespace

TEST(PrintDialog, ReturnPrintsOnlyFromThePrintButton)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    AddNamed(d.data, "Tate", PagePosition::TopLeft, "named title");
    AddNamed(d.data, "B", PagePosition::BottomRight, "");
    d.data.current.scaleMode = ScaleMode::Percent;
    d.data.current.scalePercent = 150;
    d.data.current.titleText = "T";
    PrintDialog& dlg = d.open();
    int beeps = 0;
    QObject::connect(&dlg, &PrintDialog::inputRefused, &dlg, [&beeps] { ++beeps; });
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_EQ(QApplication::focusWidget(), d.child<QPushButton>("printButton"))
        << "focus at start-up";

    struct Case {
        const char* control;
        const char* typed;
        int beepsAfter;  // Return and Enter are refused keys in the scale box only
    } cases[] = {
        {"titleEdit", "abc", 0},     {"scaleEdit", "12", 2}, {"namedSettingList", "Tate", 2},
        {"printerList", "Other", 2}, {"closeButton", "", 2}, {"copyButton", "", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        QWidget* focused = FocusOn(d.dlg->findChild<QWidget*>(QString::fromUtf8(c.control)));
        QTest::keyClicks(focused, QString::fromUtf8(c.typed));
        QTest::keyClick(focused, Qt::Key_Return);
        QTest::keyClick(focused, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(NothingCommitted(d, dlg));
        EXPECT_EQ(beeps, c.beepsAfter);
    }
    // The typed names chose nothing: neither the named setting nor the printer.
    EXPECT_EQ(d.list("namedSettingList")->currentIndex(), -1);
    EXPECT_EQ(dlg.workingSettings().lastNamedSetting, -1);
    EXPECT_EQ(dlg.workingLayout().position, PagePosition::Centre);
    EXPECT_EQ(dlg.workingLayout().printerName, "Office");
    EXPECT_EQ(dlg.workingLayout().scalePercent, 12);
    EXPECT_EQ(dlg.workingLayout().titleText, "abc");  // Tab selected "T", typing replaced it
    EXPECT_TRUE(o.printers.jobs.empty());

    // On the print button Return prints, with what was typed.
    QTest::keyClick(FocusOn(d.child<QPushButton>("printButton")), Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.printTimer()->isActive());
    EXPECT_EQ(d.host.saves, 1);
    EXPECT_EQ(d.data.current.titleText, "abc");
    EXPECT_EQ(d.data.current.scalePercent, 12);
    dlg.onPrintDelayElapsed();
    EXPECT_EQ(o.printers.jobs.size(), 1u);
    EXPECT_TRUE(dlg.isClosed());
}

TEST(PrintDialog, ScaleBoxRefusesOtherKeysAndPastes)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    d.data.current.scaleMode = ScaleMode::Percent;
    d.data.current.scalePercent = 150;
    PrintDialog& dlg = d.open();
    int beeps = 0;
    QObject::connect(&dlg, &PrintDialog::inputRefused, &dlg, [&beeps] { ++beeps; });
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QLineEdit* scale = d.box("scaleEdit");
    QWidget* focused = FocusOn(scale);
    ASSERT_EQ(focused, scale);
    scale->end(false);

    QTest::keyClicks(scale, "a-. x");
    QTest::keyClick(scale, Qt::Key_Return);
    EXPECT_EQ(beeps, 6);
    EXPECT_EQ(scale->text(), "150");
    EXPECT_TRUE(NothingCommitted(d, dlg));

    struct Paste {
        const char* clipboard;
        QKeyCombination keys;
        const char* after;
        bool refused;
    } pastes[] = {
        {"abc", Qt::ControlModifier | Qt::Key_V, "150", true},
        {"-5", Qt::ShiftModifier | Qt::Key_Insert, "150", true},
        {"1 5", Qt::ControlModifier | Qt::Key_V, "150", true},
        {"", Qt::ControlModifier | Qt::Key_V, "150", true},
        {"60", Qt::ControlModifier | Qt::Key_V, "60", false},
    };
    for (const auto& p : pastes) {
        SCOPED_TRACE(p.clipboard);
        QApplication::clipboard()->setText(QString::fromUtf8(p.clipboard));
        scale->selectAll();
        const int beepsBefore = beeps;
        QTest::keyClick(scale, p.keys.key(), p.keys.keyboardModifiers());
        EXPECT_EQ(scale->text(), p.after);
        EXPECT_EQ(dlg.workingLayout().scalePercent, QString::fromUtf8(p.after).toInt());
        EXPECT_EQ(beeps - beepsBefore, p.refused ? 1 : 0);
    }
    EXPECT_TRUE(d.boxes.shown.empty()) << "no range message: nothing out of range got in";

    // The middle button pastes the X selection: refused the same way.
    QApplication::clipboard()->setText(QStringLiteral("abc"), QClipboard::Selection);
    const int beepsBefore = beeps;
    QTest::mouseClick(scale, Qt::MiddleButton, {}, QPoint(4, scale->height() / 2));
    EXPECT_EQ(scale->text(), "60");
    EXPECT_EQ(beeps - beepsBefore, 1);

    // Backspace passes; Esc still closes without writing anything back.
    scale->end(false);
    QTest::keyClick(scale, Qt::Key_Backspace);
    EXPECT_EQ(scale->text(), "6");
    EXPECT_EQ(dlg.workingLayout().scalePercent, 6);
    QTest::keyClick(scale, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isClosed());
    EXPECT_EQ(d.host.closes, 1);
    EXPECT_EQ(d.host.saves, 0);
    EXPECT_EQ(d.data.current.scalePercent, 150);
}

TEST(PrintDialog, TitleBoxRefusesTextBeyondWhatTheSettingsFileKeeps)
{
    // The file keeps 1023 bytes of a value; kana take three bytes each in UTF-8.
    QString start;
    for (int i = 0; i < 340; ++i) start += QStringLiteral("あ");  // 1020 bytes
    FakeOffice o;
    Dialog d(o.printers, "Office");
    d.data.current.titleText = start.toStdString();
    PrintDialog& dlg = d.open();
    int beeps = 0;
    QObject::connect(&dlg, &PrintDialog::inputRefused, &dlg, [&beeps] { ++beeps; });
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QLineEdit* title = d.box("titleEdit");
    FocusOn(title);
    title->end(false);

    struct Step {
        const char* typed;
        int bytesAfter;
        int beepsAfter;
    } steps[] = {
        {"い", 1023, 0},                   // exactly what the file keeps
        {"a", 1023, 1},                    // one byte more: refused
        {"\b", 1020, 1},                   // backspace removes the kana
        {"ab", 1022, 1}, {"う", 1022, 2},  // three bytes do not fit into one
        {"c", 1023, 2},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.typed);
        if (std::string(step.typed) == "\b")
            QTest::keyClick(title, Qt::Key_Backspace);
        else  // kana come as the key's text, as from an input method's direct keys
            for (const QChar ch : QString::fromUtf8(step.typed))
                QTest::sendKeyEvent(QTest::Click, title, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
        EXPECT_EQ(title->text().toUtf8().size(), step.bytesAfter);
        EXPECT_EQ(beeps, step.beepsAfter);
    }
    const QString full = start + QStringLiteral("abc");
    EXPECT_EQ(title->text(), full);
    EXPECT_EQ(dlg.workingLayout().titleText, full.toStdString());

    // A paste and a field from the insert buttons are refused the same way.
    QApplication::clipboard()->setText(QStringLiteral("かきく"));
    QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(title->text(), full);
    EXPECT_EQ(beeps, 3);
    d.child<QToolButton>("insertDateButton")->click();
    EXPECT_EQ(title->text(), full);
    EXPECT_EQ(beeps, 4);

    // With room, the field goes in: "&[日付]" is nine bytes.
    title->setText(start.left(338));  // 1014 bytes
    title->end(false);
    d.child<QToolButton>("insertDateButton")->click();
    EXPECT_EQ(title->text(), start.left(338) + QStringLiteral("&[日付]"));
    EXPECT_EQ(beeps, 4);
    EXPECT_TRUE(d.boxes.shown.empty());
}

namespace {

// Where the screenshots of this test go, printed once so a reader can find them.
QString ScreenshotPath(const QString& file)
{
    const QString path = ArtifactPath(file);
    static bool told = false;
    if (!told) {
        std::printf("screenshots of the dialogs: %s\n", qPrintable(QFileInfo(path).absolutePath()));
        told = true;
    }
    return path;
}

// The whole sample text lies inside the sample label, the label inside its frame and the frame
// inside the dialog.
void ExpectSampleFits(TitleOptionsDialog* opt)
{
    auto* sample = opt->findChild<QLabel*>(QStringLiteral("sampleText"));
    auto* frame = opt->findChild<QFrame*>(QStringLiteral("sampleFrame"));
    ASSERT_NE(sample, nullptr);
    ASSERT_NE(frame, nullptr);
    const QFontMetrics metrics(sample->font());
    const QRect inside = sample->contentsRect();
    EXPECT_LE(metrics.boundingRect(sample->text()).width(), inside.width());
    EXPECT_LE(metrics.horizontalAdvance(sample->text()), inside.width());
    EXPECT_LE(metrics.height(), inside.height());
    EXPECT_TRUE(
        frame->contentsRect().contains(QRect(sample->mapTo(frame, QPoint()), sample->size())));
    EXPECT_TRUE(opt->rect().contains(QRect(frame->mapTo(opt, QPoint()), frame->size())));
}

}  // namespace

TEST(PrintDialog, TitleBoxAndFontSampleShowTheirWholeText)
{
    const QString longTitle =
        QStringLiteral("&[日付] &[時刻] &[PC名] &[ユーザ名] &[タイトル] 総務部");
    for (const int points : {10, 24}) {
        SCOPED_TRACE(points);
        FakeOffice o;
        Dialog d(o.printers, "Office");
        d.data.current.titleText = longTitle.toStdString();
        d.data.current.fontPoints = static_cast<int16_t>(points);
        d.data.current.bold = points == 24;
        PrintDialog& dlg = d.open();

        // The title box spans the dialog and shows the whole template.
        QLineEdit* title = d.box("titleEdit");
        EXPECT_GE(title->width(), dlg.width() * 3 / 4);
        QStyleOptionFrame frame;
        frame.initFrom(title);
        frame.rect = title->rect();
        frame.lineWidth = title->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, title);
        const QRect textArea =
            title->style()->subElementRect(QStyle::SE_LineEditContents, &frame, title);
        const int margins = 2 * 2 + title->textMargins().left() + title->textMargins().right();
        EXPECT_LE(QFontMetrics(title->font()).horizontalAdvance(longTitle),
                  textArea.width() - margins);
        EXPECT_TRUE(
            dlg.grab().save(ScreenshotPath(QStringLiteral("print-dialog-%1pt.png").arg(points))));

        // The title options open at that size with the whole sample in view.
        d.click(d.child<QPushButton>("titleOptionsButton"));
        TitleOptionsDialog* opt = dlg.titleOptionsDialog();
        ASSERT_NE(opt, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(opt));
        EXPECT_EQ(opt->workingFont().pointSize(), points);
        EXPECT_FALSE(opt->sampleScaled());
        EXPECT_EQ(opt->findChild<QLabel*>("sampleText")->font().pointSize(), points);
        ExpectSampleFits(opt);
        EXPECT_TRUE(
            opt->grab().save(ScreenshotPath(QStringLiteral("title-options-%1pt.png").arg(points))));
        opt->cancel();
    }
}

TEST(PrintDialog, FontSampleGrowsWithTheChosenSizeAndShrinksOnlyBeyondTheScreen)
{
    FakeOffice o;
    Dialog d(o.printers, "Office");
    PrintDialog& dlg = d.open();
    d.click(d.child<QPushButton>("titleOptionsButton"));
    TitleOptionsDialog* opt = dlg.titleOptionsDialog();
    ASSERT_NE(opt, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(opt));
    ExpectSampleFits(opt);

    // The largest size the font dialog offers, chosen while the dialog is open.
    QFont chosen(QStringLiteral("IPAGothic"));
    chosen.setPointSize(24);
    chosen.setBold(true);
    d.host.fontAnswer = chosen;
    QTest::mouseClick(opt->findChild<QPushButton*>("chooseFontButton"), Qt::LeftButton);
    EXPECT_EQ(opt->findChild<QLabel*>("fontSummary")->text(), "IPAGothic,24pt");
    EXPECT_FALSE(opt->sampleScaled());
    EXPECT_FALSE(opt->findChild<QLabel*>("sampleScaledNote")->isVisible());
    ExpectSampleFits(opt);

    // A size no font dialog offers (typed into the settings file) would make the dialog wider
    // than the screen: the sample is drawn smaller, says so, and the chosen size is kept.
    chosen.setPointSize(150);
    d.host.fontAnswer = chosen;
    QTest::mouseClick(opt->findChild<QPushButton*>("chooseFontButton"), Qt::LeftButton);
    EXPECT_TRUE(opt->sampleScaled());
    EXPECT_TRUE(opt->findChild<QLabel*>("sampleScaledNote")->isVisible());
    EXPECT_LT(opt->findChild<QLabel*>("sampleText")->font().pointSizeF(), 150.0);
    EXPECT_EQ(opt->workingFont().pointSize(), 150);
    EXPECT_LE(opt->width(), opt->screen()->availableGeometry().width());
    ExpectSampleFits(opt);
    EXPECT_TRUE(opt->grab().save(ScreenshotPath(QStringLiteral("title-options-150pt.png"))));

    // Back to a normal size: drawn as chosen again, the note goes.
    chosen.setPointSize(12);
    d.host.fontAnswer = chosen;
    QTest::mouseClick(opt->findChild<QPushButton*>("chooseFontButton"), Qt::LeftButton);
    EXPECT_FALSE(opt->sampleScaled());
    EXPECT_EQ(opt->findChild<QLabel*>("sampleText")->font().pointSize(), 12);
    ExpectSampleFits(opt);

    chosen.setPointSize(150);
    d.host.fontAnswer = chosen;
    QTest::mouseClick(opt->findChild<QPushButton*>("chooseFontButton"), Qt::LeftButton);
    QTest::mouseClick(opt->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.workingLayout().fontPoints, 150) << "the chosen size, not the drawn one";
}

TEST(PrintDialog, APrinterThatGivesNoPageIsListedButRefusedWithTheReason)
{
    struct Case {
        PageProblem problem;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {{PageProblem::Kind::Printer, "プリンタの解像度（0×0 dpi）では印刷できません。"},
         texts::kPrinterNameErrorCaption,
         "プリンタのデバイス名が不正です。もう一度確認してください。\n"
         "理由: プリンタの解像度（0×0 dpi）では印刷できません。"},
        {{PageProblem::Kind::PaperSize,
          "プリンタの既定の用紙「iso_a4_210x297mm」は、寸法か余白が不正です。"},
         texts::kPaperSizeErrorCaption,
         "用紙のサイズが不正です。もう一度用紙がプリンタで使用可能か確認してください。\n"
         "それでもうまくいかない場合は、用紙サイズを「指定なし」にしてみてください。\n"
         "理由: プリンタの既定の用紙「iso_a4_210x297mm」は、寸法か余白が不正です。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        FakeOffice o;
        o.printers.printers.push_back(FakePrinterBackend::a4("Broken"));
        o.printers.problems["Broken"] = c.problem;
        Dialog d(o.printers, "Office");
        PrintDialog& dlg = d.open();
        EXPECT_FALSE(dlg.preview()->errorShown());
        const int broken = d.list("printerList")->findText("Broken");
        ASSERT_GE(broken, 0) << "a broken printer is still listed";
        d.choose("printerList", broken);
        EXPECT_EQ(dlg.workingLayout().printerName, "Broken");
        EXPECT_TRUE(dlg.preview()->errorShown());

        d.click(d.child<QPushButton>("printButton"));
        dlg.onPrintDelayElapsed();
        ASSERT_EQ(d.boxes.shown.size(), 1u);
        EXPECT_EQ(d.boxes.shown[0].caption, c.caption);
        EXPECT_EQ(d.boxes.shown[0].text, c.text);
        EXPECT_TRUE(d.printer.pageSetupFailed());
        EXPECT_TRUE(dlg.isVisible()) << "the dialog comes back";
        EXPECT_TRUE(o.printers.jobs.empty());
    }
}
