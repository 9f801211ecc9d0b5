// The print dialog's edit handlers: each lets a chosen named setting go first (see
// releaseNamedSetting), then applies its edit to the working layout.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "controls/TextLengthLimit.h"
#include "core/PaperNames.h"
#include "output/NamedSettingsTable.h"
#include "output/PrintDialog.h"
#include "output/PrintDialogRules.h"
#include "output/PrintDialogTexts.h"
#include "output/TitleOptionsDialog.h"
#include "platform/MessageBoxes.h"

namespace tovrimo {

namespace {

template <size_t N>
int CodeOfName(const std::array<std::string, N>& names, const QString& text)
{
    const std::string wanted = text.toStdString();
    for (size_t code = 0; code < N; ++code) {
        if (!names[code].empty() && names[code] == wanted) return static_cast<int>(code);
    }
    return -1;
}

}  // namespace

void PrintDialog::releaseNamedSetting()
{
    NamedSettingsTable table(s_.data.named, workSettings_.namedSettingCount);
    const auto r = NamedSettingsTable::decideRelease(
        loading_, workSettings_.lastNamedSetting, namedSettingList_->currentIndex(), table.count());
    if (!r.release) {
        return;
    }
    if (r.slot >= 0) {
        workLayout_ = table.at(r.slot);
        rememberedName_ = table.at(r.slot).name;
        keepListedPrinter();
    }
    workSettings_.lastNamedSetting = -1;
    namedSettingList_->setCurrentIndex(-1);
}

void PrintDialog::onPrinterChanged()
{
    releaseNamedSetting();
    if (printerList_->currentIndex() < 0) {
        selectPrinterEntry(0);
        return;
    }
    fillPaperSizeList();
    workLayout_.printerName = printerList_->currentText().toStdString();
    // The new printer's page shows even when its paper size has no entry to choose.
    refreshPreview();
}

void PrintDialog::onPaperSizeChanged()
{
    releaseNamedSetting();
    if (paperSizeList_->currentIndex() < 0) {
        selectPaperSizeEntry(0);
        return;
    }
    const int code = CodeOfName(PaperSizeNames(), paperSizeList_->currentText());
    if (code >= 0) workLayout_.paperSize = static_cast<int16_t>(code);
    refreshPreview();
}

void PrintDialog::onPaperSourceChanged()
{
    releaseNamedSetting();
    // Without an entry the list is left as it is, showing no choice.
    if (paperSourceList_->currentIndex() < 0) {
        return;
    }
    const int code = CodeOfName(PaperBinNames(), paperSourceList_->currentText());
    if (code >= 0) workLayout_.paperSource = static_cast<int16_t>(code);
    refreshPreview();
}

void PrintDialog::onOrientationChosen(PageOrientation orientation)
{
    releaseNamedSetting();
    workLayout_.orientation = orientation;
    refreshPreview();
}

void PrintDialog::onPositionChosen(PagePosition position)
{
    releaseNamedSetting();
    const bool manual = position == PagePosition::Manual;
    setBoxEnabled(leftEdit_, manual);
    setBoxEnabled(topEdit_, manual);
    workLayout_.position = position;
    refreshPreview();
}

void PrintDialog::onScaleModeChosen(ScaleMode mode)
{
    releaseNamedSetting();
    workLayout_.scaleMode = mode;
    if (mode == ScaleMode::ActualSize) {
        setBoxEnabled(scaleEdit_, false);
        scaleEdit_->setText(QString::number(kScaleDefault));
        scaleSlider_->setValue(kScaleDefault);
    } else if (mode == ScaleMode::Percent) {
        setBoxEnabled(scaleEdit_, true);
        if (const auto corrected = ManualScaleCorrection(LeadingNumber(scaleEdit_->text()))) {
            scaleEdit_->setText(*corrected);
        }
    } else if (mode == ScaleMode::FitToPaper) {
        setBoxEnabled(scaleEdit_, false);
    }
    keepAspectRatioBox_->setEnabled(mode == ScaleMode::FitToPaper);
    refreshPreview();
}

void PrintDialog::onKeepAspectRatioToggled()
{
    releaseNamedSetting();
    workLayout_.keepAspectRatio = keepAspectRatioBox_->isChecked();
}

void PrintDialog::onScaleEdited()
{
    releaseNamedSetting();
    const double value = LeadingNumber(scaleEdit_->text());
    if (ScaleOutOfRange(value, scaleEdit_->isEnabled())) {
        s_.messages.show(texts::kSettingErrorCaption, texts::kScaleRange, MsgButtons::Ok,
                         MsgIcon::None);
        scaleEdit_->setText(QString::number(kScaleDefault));
        return;
    }
    scaleSlider_->setValue(StoredScale(std::clamp(value, -32768.0, 32767.0)));
    workLayout_.scalePercent = StoredScale(value);
    if (scaleEdit_->isEnabled()) {
        startDelayedPreview();
    }
}

void PrintDialog::onLeftEdited()
{
    releaseNamedSetting();
    if (const auto value = ParseNumber(leftEdit_->text())) {
        workLayout_.leftCm = *value;
        if (leftEdit_->isEnabled()) startDelayedPreview();
    }
}

void PrintDialog::onTopEdited()
{
    releaseNamedSetting();
    if (const auto value = ParseNumber(topEdit_->text())) {
        workLayout_.topCm = *value;
        if (topEdit_->isEnabled()) startDelayedPreview();
    }
}

void PrintDialog::onTitleEdited()
{
    releaseNamedSetting();
    workLayout_.titleText = titleEdit_->text().toStdString();
    startDelayedPreview();
}

void PrintDialog::onSliderReleased()
{
    QAbstractButton* manual = scaleModeGroup_->button(IndexOfCode(ScaleMode::Percent));
    manual->setChecked(true);
    scaleEdit_->setText(QString::number(scaleSlider_->value()));
    onScaleModeChosen(ScaleMode::Percent);
    onScaleEdited();
}

void PrintDialog::enlargeScale()
{
    const int v = ScaleStepUp(scaleSlider_->value());
    scaleSlider_->setValue(v);
    scaleModeGroup_->button(IndexOfCode(ScaleMode::Percent))->setChecked(true);
    scaleModeGroup_->button(IndexOfCode(ScaleMode::Percent))->setFocus();
    onScaleModeChosen(ScaleMode::Percent);
    scaleEdit_->setText(QString::number(v));
    refreshPreview();
}

void PrintDialog::reduceScale()
{
    const int v = ScaleStepDown(scaleSlider_->value());
    scaleModeGroup_->button(IndexOfCode(ScaleMode::Percent))->setChecked(true);
    scaleModeGroup_->button(IndexOfCode(ScaleMode::Percent))->setFocus();
    onScaleModeChosen(ScaleMode::Percent);
    scaleSlider_->setValue(v);
    scaleEdit_->setText(QString::number(v));
    refreshPreview();
}

void PrintDialog::insertTitleField(const char* field)
{
    const int position =
        titleEdit_->hasSelectedText() ? titleEdit_->selectionStart() : titleEdit_->cursorPosition();
    const TitleEdit edit = InsertField(titleEdit_->text(), position, QString::fromUtf8(field));
    if (!titleLimit_->fits(edit.text)) {
        emit inputRefused();
        titleEdit_->setFocus();
        return;
    }
    titleEdit_->setText(edit.text);
    titleEdit_->setCursorPosition(edit.caret);
    titleEdit_->setFocus();
}

void PrintDialog::onTitleOptionsChosen(const TitleOptions& chosen)
{
    if (loading_) {
        return;
    }
    if (chosen.alignmentIndex != handedTitle_.alignmentIndex) {
        handedTitle_.alignmentIndex = chosen.alignmentIndex;
        releaseNamedSetting();
        workLayout_.titleAlignment = CodeAtIndex<TitleAlignment>(chosen.alignmentIndex);
    }
    if (chosen.placementIndex != handedTitle_.placementIndex) {
        handedTitle_.placementIndex = chosen.placementIndex;
        releaseNamedSetting();
        workLayout_.titlePlacement = CodeAtIndex<TitlePlacement>(chosen.placementIndex);
    }
    handedTitle_.fontPoints = chosen.fontPoints;
    const int size = StoredScale(chosen.fontPoints);
    // A size of 0 or less (one typed into the settings file) is not a font size.
    if (size <= 0) {
        return;
    }
    releaseNamedSetting();
    workLayout_.fontName = chosen.font.family().toStdString();
    workLayout_.italic = chosen.font.italic();
    workLayout_.bold = chosen.font.bold();
    workLayout_.underline = chosen.font.underline();
    workLayout_.fontPoints = size;
    refreshPreview();
}

void PrintDialog::openTitleOptions()
{
    hide();
    delete titleOptions_.data();
    titleOptions_ = new TitleOptionsDialog(*this, s_.host);
    connect(titleOptions_, &TitleOptionsDialog::titleOptionsChosen, this,
            &PrintDialog::onTitleOptionsChosen);
    titleOptions_->showFor(workLayout_);
}

}  // namespace tovrimo
