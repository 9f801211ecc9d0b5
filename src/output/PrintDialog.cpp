#include "output/PrintDialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "core/PaperNames.h"
#include "output/PagePrinter.h"
#include "output/PreviewBox.h"
#include "output/PreviewComposer.h"
#include "output/PrintDialogHost.h"
#include "output/PrintDialogRules.h"
#include "output/PrintDialogTexts.h"
#include "output/PrintingNotice.h"
#include "output/TitleOptionsDialog.h"
#include "platform/PrinterBackend.h"

namespace tovrimo {

namespace {

QString NumberText(double v)
{
    return QString::number(v, 'g', 15);
}

int FindEntry(const QComboBox* combo, const std::string& text)
{
    return combo->findText(QString::fromStdString(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

}  // namespace

PrintDialog::PrintDialog(PrintDialogServices services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      s_(std::move(services)),
      capabilities_(s_.printers)
{
    setObjectName(QStringLiteral("PrintDialog"));
    setWindowTitle(tr(texts::kPrintDialogCaption));
    setModal(false);
    buildControls();
    connectHandlers();
}

PrintDialog::~PrintDialog()
{
    delete titleOptions_.data();
}

void PrintDialog::open()
{
    if (!s_.customIcon.isNull()) {
        setWindowIcon(s_.customIcon);
    }
    workSettings_ = s_.data.settings;
    workLayout_ = s_.data.current;
    // Filling the paper list selects the printer's own size, which would overwrite the
    // layout's: what is shown comes from the record as it was stored.
    const PrintLayout stored = s_.data.current;
    loading_ = true;

    printerNames_ = s_.printers.printerNames();
    printerList_->clear();
    printerList_->addItem(tr(texts::kNoPrinterEntry));
    for (const auto& name : printerNames_) {
        printerList_->addItem(QString::fromStdString(name));
    }
    printerList_->setCurrentIndex(-1);
    fillPaperSizeList();
    paperSourceList_->clear();
    const auto& bins = PaperBinNames();
    for (const auto& name : bins) {
        if (!name.empty()) paperSourceList_->addItem(QString::fromStdString(name));
    }
    paperSourceList_->setCurrentIndex(-1);

    fillSettingList();
    if (workSettings_.lastNamedSetting >= 0 &&
        workSettings_.lastNamedSetting < namedSettingList_->count()) {
        selectSettingEntry(workSettings_.lastNamedSetting);
    } else {
        // A choice that no longer exists (a damaged file) counts as none.
        workSettings_.lastNamedSetting = -1;
    }
    if (namedSettingList_->currentIndex() < 0) {
        workLayout_ = stored;
        showLayout(stored);
    }
    titleEdit_->setText(QString::fromStdString(s_.data.current.titleText));
    // What the working layout holds now, so that a title option set back to the current
    // layout's value after a named setting was chosen still arrives as a change.
    rememberHandedTitle(workLayout_);
    loading_ = false;

    scaleSlider_->setValue(s_.data.current.scalePercent);

    refreshPreview();
    adjustSize();
    setFixedSize(sizeHint());
    show();
    raise();
    activateWindow();
    printButton_->setFocus();
}

void PrintDialog::end()
{
    if (closed_) {
        return;
    }
    closed_ = true;
    previewTimer_->stop();
    printTimer_->stop();
    if (titleOptions_) {
        titleOptions_->hide();
    }
    printingNotice_.reset();
    hide();
    s_.host.printDialogClosed();
}

void PrintDialog::closeEvent(QCloseEvent* event)
{
    // The window's close box closes without printing, like "閉じる".
    event->ignore();
    if (isVisible() && !closed_) {
        cancel();
    }
}

void PrintDialog::reject()
{
    cancel();
}

void PrintDialog::fillPaperSizeList()
{
    const std::string printer = chosenPrinter();
    const int current = printer.empty() ? 0 : capabilities_.defaultPaperSize(printer);
    paperSizeList_->clear();
    const auto& names = PaperSizeNames();
    int selected = -1;
    for (int code = 0; code < static_cast<int>(names.size()); ++code) {
        if (names[code].empty()) continue;
        paperSizeList_->addItem(QString::fromStdString(names[code]));
        if (code == current) selected = paperSizeList_->count() - 1;
    }
    if (selected >= 0) {
        selectPaperSizeEntry(selected);
    } else {
        paperSizeList_->setCurrentIndex(-1);
    }
}

void PrintDialog::keepListedPrinter()
{
    // A layout that names a printer which is not installed keeps the printer the list shows,
    // and the page goes where the list and the preview say.
    if (printerList_->currentIndex() >= 0 && FindEntry(printerList_, workLayout_.printerName) < 0) {
        workLayout_.printerName = printerList_->currentText().toStdString();
    }
}

std::string PrintDialog::chosenPrinter() const
{
    const int index = printerList_->currentIndex();
    if (index >= 1 && index <= static_cast<int>(printerNames_.size())) {
        return printerNames_[index - 1];
    }
    // No printer chosen: the one printing would use now.
    if (!s_.printer.currentPrinter().empty()) {
        return s_.printer.currentPrinter();
    }
    const auto def = s_.printers.defaultPrinter();
    return def ? def->deviceName : std::string();
}

void PrintDialog::showLayout(const PrintLayout& shown)
{
    selectOption(positionGroup_, IndexOfCode(shown.position));
    leftEdit_->setText(NumberText(shown.leftCm));
    topEdit_->setText(NumberText(shown.topCm));
    selectOption(scaleModeGroup_, IndexOfCode(shown.scaleMode));
    if (shown.scaleMode != ScaleMode::Percent) {
        setBoxEnabled(scaleEdit_, false);
    }
    selectOption(orientationGroup_, IndexOfCode(shown.orientation));
    keepAspectRatioBox_->setChecked(shown.keepAspectRatio);
    workLayout_.keepAspectRatio = shown.keepAspectRatio;
    scaleEdit_->setText(QString::number(shown.scalePercent));

    const int printer = FindEntry(printerList_, shown.printerName);
    if (printer >= 0) {
        selectPrinterEntry(printer);
    } else {
        keepListedPrinter();
    }
    // Choosing the printer took that printer's own paper size; the layout's size is shown
    // again, and kept even when it has no entry to show.
    const auto& sizeNames = PaperSizeNames();
    const int size = shown.paperSize >= 0 && shown.paperSize < static_cast<int>(sizeNames.size())
                         ? FindEntry(paperSizeList_, sizeNames[shown.paperSize])
                         : -1;
    if (size >= 0 && !sizeNames[shown.paperSize].empty()) {
        selectPaperSizeEntry(size);
    } else {
        paperSizeList_->setCurrentIndex(-1);
        workLayout_.paperSize = shown.paperSize;
    }
    const auto& binNames = PaperBinNames();
    const int bin = shown.paperSource >= 0 &&
                            shown.paperSource < static_cast<int>(binNames.size()) &&
                            !binNames[shown.paperSource].empty()
                        ? FindEntry(paperSourceList_, binNames[shown.paperSource])
                        : -1;
    if (bin >= 0) {
        selectPaperBinEntry(bin);
    } else {
        paperSourceList_->setCurrentIndex(-1);
        workLayout_.paperSource = shown.paperSource;
    }
}

void PrintDialog::rememberHandedTitle(const PrintLayout& from)
{
    handedTitle_.fontPoints = from.fontPoints;
    handedTitle_.alignmentIndex = IndexOfCode(from.titleAlignment);
    handedTitle_.placementIndex = IndexOfCode(from.titlePlacement);
}

void PrintDialog::selectOption(QButtonGroup* group, int index)
{
    QAbstractButton* button = group->button(index);
    if (!button) {
        // A code without an option: none is shown as chosen.
        group->setExclusive(false);
        for (QAbstractButton* b : group->buttons()) b->setChecked(false);
        group->setExclusive(true);
        if (group == positionGroup_) {
            // Only the manual position takes offsets.
            setBoxEnabled(leftEdit_, false);
            setBoxEnabled(topEdit_, false);
        }
        return;
    }
    button->setChecked(true);
    if (group == positionGroup_) {
        onPositionChosen(CodeAtIndex<PagePosition>(index));
    } else if (group == scaleModeGroup_) {
        onScaleModeChosen(CodeAtIndex<ScaleMode>(index));
    } else if (group == orientationGroup_) {
        onOrientationChosen(CodeAtIndex<PageOrientation>(index));
    }
}

void PrintDialog::selectPrinterEntry(int index)
{
    printerList_->setCurrentIndex(index);
    onPrinterChanged();
}

void PrintDialog::selectPaperSizeEntry(int index)
{
    paperSizeList_->setCurrentIndex(index);
    onPaperSizeChanged();
}

void PrintDialog::selectPaperBinEntry(int index)
{
    paperSourceList_->setCurrentIndex(index);
    onPaperSourceChanged();
}

void PrintDialog::selectSettingEntry(int index)
{
    namedSettingList_->setCurrentIndex(index);
    onNamedSettingChosen();
}

void PrintDialog::setBoxEnabled(QLineEdit* box, bool enabled)
{
    // A disabled box takes the dialog's face colour, which Qt's disabled palette already is.
    box->setEnabled(enabled);
}

void PrintDialog::setTextLoading(QLineEdit* box, const QString& text)
{
    const bool wasLoading = loading_;
    loading_ = true;
    box->setText(text);
    loading_ = wasLoading;
}

void PrintDialog::startDelayedPreview()
{
    if (!previewTimer_->isActive()) {
        previewTimer_->start();
    }
}

void PrintDialog::onPreviewDelayElapsed()
{
    previewTimer_->stop();
    refreshPreview();
}

void PrintDialog::refreshPreview()
{
    if (loading_) {
        return;
    }
    preview_->showError(false);
    const std::string printer = chosenPrinter();
    const PageOrientation orientation = workLayout_.orientation;
    // "指定なし" draws the sheet the printer is set to, which is the one the page will take.
    const int paper = s_.printer.paperSizeFor(printer, workLayout_.paperSize);
    bool refused = printer.empty() || orientation == PageOrientation::Unrecognised;
    if (!refused && paper > 0) {
        const auto& sizes = capabilities_.paperSizes(printer);
        refused = std::find(sizes.begin(), sizes.end(), paper) == sizes.end();
    }
    const std::optional<PageMetrics> metrics =
        refused ? std::nullopt
                : capabilities_.pageMetrics(printer, std::max(paper, 0),
                                            PageLayoutOrientation(orientation));
    if (!metrics) {
        preview_->showError(true);
        return;
    }

    TitleFont font;
    font.family = QString::fromStdString(workLayout_.fontName);
    font.pointSize = workLayout_.fontPoints;
    font.bold = workLayout_.bold;
    font.italic = workLayout_.italic;
    font.underline = workLayout_.underline;
    const std::string expanded =
        s_.expandTitle ? s_.expandTitle(workLayout_.titleText) : workLayout_.titleText;
    const QString title = QString::fromStdString(expanded);
    const QString key = font.toQFont().toString() + QChar(0) + title + QChar(0) +
                        QString::number(metrics->dotsPerInchY);
    if (key != measuredTitleKey_) {
        measuredTitle_ = PageRenderer::measureTitle(font, title, metrics->dotsPerInchY);
        measuredTitleKey_ = key;
    }

    PreviewInput in;
    in.page = *metrics;
    in.scaleMode = workLayout_.scaleMode;
    in.sizePercent = workLayout_.scalePercent;
    in.position = workLayout_.position;
    in.leftCm = ParseNumber(leftEdit_->text());
    in.topCm = ParseNumber(topEdit_->text());
    in.titleAlignment = workLayout_.titleAlignment;
    in.titlePlacement = workLayout_.titlePlacement;
    in.imageWidthPixels = s_.captureImage.width();
    in.imageHeightPixels = s_.captureImage.height();
    in.sx = s_.sx;
    in.sy = s_.sy;
    in.titleWidthTwips = measuredTitle_.widthTwips;
    in.titleHeightTwips = measuredTitle_.heightTwips;
    in.titleBlank = TitleIsBlank(expanded);
    const PreviewPicture picture = ComposePreview(in);
    preview_->showPicture(picture);

    if (picture.fitPercent) {
        const bool wasLoading = loading_;
        loading_ = true;
        scaleEdit_->setText(QString::number(*picture.fitPercent));
        scaleSlider_->setValue(*picture.fitPercent);
        loading_ = wasLoading;
    }
    if (!picture.placed) {
        preview_->showError(true);
        return;
    }
    if (picture.leftCm && picture.topCm) {
        // Shown so that choosing the manual position starts from here; written as the
        // dialog's own update, which is not an edit that lets a named setting go.
        setTextLoading(leftEdit_, FormatCentimetres(*picture.leftCm));
        setTextLoading(topEdit_, FormatCentimetres(*picture.topCm));
    }
}

void PrintDialog::onPrinterListOpened()
{
    // Printers added, removed or changed in the printing system since the dialog opened show
    // up now; this is the one place where the user expects the list to be asked again.
    s_.printers.invalidate();
    capabilities_.clear();
    addNewPrinters();
    emit printerListOpened();
}

void PrintDialog::addNewPrinters()
{
    const QSignalBlocker block(printerList_);
    for (const auto& name : s_.printers.printerNames()) {
        if (std::find(printerNames_.begin(), printerNames_.end(), name) != printerNames_.end())
            continue;
        printerNames_.push_back(name);
        printerList_->addItem(QString::fromStdString(name));
    }
}

}  // namespace tovrimo
