// The print dialog's edit handlers: each lets a chosen named setting go first (see
// ReleaseNamedSetting), then applies its edit to the working layout.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include "core/PaperNames.h"
#include "output/CarrierLabel.h"
#include "output/PrintDialog.h"
#include "output/TitleOptionsDialog.h"
#include "output/NamedSettingsTable.h"
#include "output/PrintDialogRules.h"
#include "output/PrintDialogTexts.h"
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

int CaptionNumber(const QString& caption)
{
    return static_cast<int>(StoredScale(LeadingNumber(caption)));
}

}  // namespace

void PrintDialog::ReleaseNamedSetting()
{
    NamedSettingsTable table(s_.data.named, workSettings_.namedSettingCount);
    const auto r = NamedSettingsTable::DecideRelease(loading_, workSettings_.lastNamedSetting,
                                                     cmbSetting_->currentIndex(), table.count());
    if (!r.release) {
        return;
    }
    if (r.slot >= 0) {
        workLayout_ = table.at(r.slot);
        rememberedName_ = table.at(r.slot).Title;
    }
    workSettings_.lastNamedSetting = -1;
    cmbSetting_->setCurrentIndex(-1);
}

void PrintDialog::CmbPrinterName_Click()
{
    ReleaseNamedSetting();
    if (cmbPrinterName_->currentIndex() < 0) {
        selectPrinterEntry(0);
        return;
    }
    FillPaperSizeList();
    workLayout_.DeviceName = cmbPrinterName_->currentText().toStdString();
    // The new printer's page shows even when its paper size has no entry to choose.
    RefreshPreview();
}

void PrintDialog::CmbPaperSize_Click()
{
    ReleaseNamedSetting();
    if (cmbPaperSize_->currentIndex() < 0) {
        selectPaperSizeEntry(0);
        return;
    }
    const int code = CodeOfName(PaperSizeNames(), cmbPaperSize_->currentText());
    if (code >= 0) workLayout_.PaperSize = static_cast<int16_t>(code);
    RefreshPreview();
}

void PrintDialog::CmbPaperBin_Click()
{
    ReleaseNamedSetting();
    // Without an entry the list is left as it is, showing no choice.
    if (cmbPaperBin_->currentIndex() < 0) {
        return;
    }
    const int code = CodeOfName(PaperBinNames(), cmbPaperBin_->currentText());
    if (code >= 0) workLayout_.PaperBin = static_cast<int16_t>(code);
    RefreshPreview();
}

void PrintDialog::OptOrientation_Click(int index)
{
    ReleaseNamedSetting();
    workLayout_.Orientation = static_cast<int16_t>(index);
    RefreshPreview();
}

void PrintDialog::Opt_Position_Click(int index)
{
    ReleaseNamedSetting();
    const bool manual = index == 6;
    setBoxEnabled(txtLeft_, manual);
    setBoxEnabled(txtTop_, manual);
    workLayout_.Pos = static_cast<int16_t>(index);
    RefreshPreview();
}

void PrintDialog::Opt_Size_Click(int index)
{
    ReleaseNamedSetting();
    workLayout_.Size = static_cast<int16_t>(index);
    if (index == 1) {
        setBoxEnabled(txtPSize_, false);
        txtPSize_->setText(QString::number(kScaleDefault));
        sldPSize_.SetTracBarPos(kScaleDefault);
    } else if (index == 3) {
        setBoxEnabled(txtPSize_, true);
        if (const auto corrected = ManualScaleCorrection(LeadingNumber(txtPSize_->text()))) {
            txtPSize_->setText(*corrected);
        }
    } else if (index == 2) {
        setBoxEnabled(txtPSize_, false);
    }
    chkHiritsu_->setEnabled(index == 2);
    RefreshPreview();
}

void PrintDialog::ChkHiritsu_Click()
{
    ReleaseNamedSetting();
    workLayout_.Hiritsu = chkHiritsu_->isChecked() ? 1 : 0;
}

void PrintDialog::Txt_PSize_Change()
{
    ReleaseNamedSetting();
    const double value = LeadingNumber(txtPSize_->text());
    if (ScaleOutOfRange(value, txtPSize_->isEnabled())) {
        s_.messages.show(texts::kSettingErrorCaption, texts::kScaleRange, MsgButtons::Ok,
                         MsgIcon::None);
        txtPSize_->setText(QString::number(kScaleDefault));
        return;
    }
    sldPSize_.SetTracBarPos(StoredScale(std::clamp(value, -32768.0, 32767.0)));
    workLayout_.SizeP = StoredScale(value);
    if (txtPSize_->isEnabled()) {
        startDelayedPreview();
    }
}

void PrintDialog::Txt_Left_Change()
{
    ReleaseNamedSetting();
    if (const auto value = ParseNumber(txtLeft_->text())) {
        workLayout_.Left = *value;
        if (txtLeft_->isEnabled()) startDelayedPreview();
    }
}

void PrintDialog::Txt_Top_Change()
{
    ReleaseNamedSetting();
    if (const auto value = ParseNumber(txtTop_->text())) {
        workLayout_.Top = *value;
        if (txtTop_->isEnabled()) startDelayedPreview();
    }
}

void PrintDialog::Txt_Title_Change()
{
    ReleaseNamedSetting();
    workLayout_.TitleText = txtTitle_->text().toStdString();
    startDelayedPreview();
}

void PrintDialog::Sld_PSize_MouseUp()
{
    QAbstractButton* manual = optSize_->button(3);
    manual->setChecked(true);
    txtPSize_->setText(QString::number(sldPSize_.GetTracBarPos()));
    Opt_Size_Click(3);
    Txt_PSize_Change();
}

void PrintDialog::Btn_PSizeBig_Click()
{
    const int v = ScaleStepUp(sldPSize_.GetTracBarPos());
    sldPSize_.SetTracBarPos(static_cast<int16_t>(v));
    optSize_->button(3)->setChecked(true);
    optSize_->button(3)->setFocus();
    Opt_Size_Click(3);
    txtPSize_->setText(QString::number(v));
    RefreshPreview();
}

void PrintDialog::Btn_PSizeSmall_Click()
{
    const int v = ScaleStepDown(sldPSize_.GetTracBarPos());
    optSize_->button(3)->setChecked(true);
    optSize_->button(3)->setFocus();
    Opt_Size_Click(3);
    sldPSize_.SetTracBarPos(static_cast<int16_t>(v));
    txtPSize_->setText(QString::number(v));
    RefreshPreview();
}

void PrintDialog::Btn_InsField_Click(const char* field)
{
    const int position =
        txtTitle_->hasSelectedText() ? txtTitle_->selectionStart() : txtTitle_->cursorPosition();
    const TitleEdit edit = InsertField(txtTitle_->text(), position, QString::fromUtf8(field));
    txtTitle_->setText(edit.text);
    txtTitle_->setCursorPosition(edit.caret);
    txtTitle_->setFocus();
}

void PrintDialog::Lbl_Font_Change()
{
    if (loading_) {
        return;
    }
    const int size = CaptionNumber(lblFont_->text());
    // The title options dialog passes the caption through 0 so that an unchanged size still
    // arrives as a change; that passing value is not a font size.
    if (size <= 0) {
        return;
    }
    ReleaseNamedSetting();
    const QFont f = lblFont_->font();
    workLayout_.FontName = f.family().toStdString();
    workLayout_.FontItalic = f.italic();
    workLayout_.FontBold = f.bold();
    workLayout_.FontUnderLine = f.underline();
    workLayout_.FontSize = size;
    RefreshPreview();
}

void PrintDialog::Lbl_TitleAlign_Change()
{
    if (loading_) {
        return;
    }
    ReleaseNamedSetting();
    workLayout_.TitleAlign = static_cast<int16_t>(CaptionNumber(lblTitleAlign_->text()));
}

void PrintDialog::Lbl_TitleVAlign_Change()
{
    if (loading_) {
        return;
    }
    ReleaseNamedSetting();
    workLayout_.TitleVAlign = static_cast<int16_t>(CaptionNumber(lblTitleVAlign_->text()));
}

void PrintDialog::Btn_TitleSet_Click()
{
    hide();
    delete titleOption_.data();
    titleOption_ = new TitleOptionsDialog(*this, s_.host);
    titleOption_->Open(workLayout_);
}

}  // namespace tovrimo
