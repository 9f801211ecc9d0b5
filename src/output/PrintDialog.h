#pragma once

#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/ScaleSlider.h"
#include "core/Settings.h"
#include "output/TitleOptionsDialog.h"
#include "output/PageRenderer.h"
#include "output/PrinterCapabilityCache.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

namespace tovrimo {

class CarrierLabel;
class ClipboardAccess;
class PrintingNotice;
class MessageBoxes;
class PagePrinter;
class PreviewBox;
class PrintDialogHost;
class PrinterBackend;

// What the print dialog works with; all of it outlives the dialog.
struct PrintDialogServices {
    SettingsData& data;  // the program's records: written back only by the committing commands
    PrinterBackend& printers;
    MessageBoxes& messages;
    ClipboardAccess& clipboard;
    PagePrinter& printer;
    const QImage& captureImage;  // the capture buffer
    QImage& pageImage;       // the page image buffer
    std::function<std::string(const std::string&)> expandTitle;
    std::string& lastFolder;
    PrintDialogHost& host;
    double sx = 15.0;  // the screen's twips per pixel
    double sy = 15.0;
    QIcon customIcon;  // the tray icon from the settings; null when the built-in one is used
};

// The print dialog between a finished capture and the printer: printer, paper, orientation,
// scale, position and title of the page, a live preview, named settings, and the commands to
// print, copy, save or make a sticky note of the laid-out image. It edits private copies of
// the settings and the current layout and writes them back only when a command commits them.
class PrintDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrintDialog(PrintDialogServices services, QWidget* parent = nullptr);
    ~PrintDialog() override;

    // Fills the controls from the records, draws the preview and shows the dialog.
    void Load();
    // Ends the dialog without writing anything back; tells the host.
    void Unload();
    bool unloaded() const { return unloaded_; }

    void RefreshPreview();
    void ReleaseNamedSetting();
    void FillPaperSizeList();

    // Handlers, named after their control and event.
    void CmbPrinterName_Click();
    void CmbPaperSize_Click();
    void CmbPaperBin_Click();
    void OptOrientation_Click(int index);
    void Opt_Size_Click(int index);
    void Opt_Position_Click(int index);
    void ChkHiritsu_Click();
    void Txt_PSize_Change();
    void Txt_Left_Change();
    void Txt_Top_Change();
    void Txt_Title_Change();
    void Sld_PSize_MouseUp();
    void Btn_PSizeBig_Click();
    void Btn_PSizeSmall_Click();
    void Btn_InsField_Click(const char* field);
    void Btn_TitleSet_Click();
    void Lbl_Font_Change();
    void Lbl_TitleAlign_Change();
    void Lbl_TitleVAlign_Change();
    void CmbSetting_Click();
    void BtnSaveSetting_Click();
    void BtnDelSetting_Click();
    void BtnOK_Click();
    void TimPrint_Timer();
    void BtnClipBoard_Click();
    void BtnSaveA_Click();
    void Btn_Fusen_Click();
    void BtnHelp_Click();
    void BtnCancel_Click();
    void Tim_RefreshPreview_Timer();

    // Refused keys and pastes in the scale box sound this; QApplication::beep unless replaced.
    std::function<void()> beep;

    // The carrier labels the title options dialog writes into.
    CarrierLabel* fontCarrier() const { return lblFont_; }
    CarrierLabel* titleAlignCarrier() const { return lblTitleAlign_; }
    CarrierLabel* titleVAlignCarrier() const { return lblTitleVAlign_; }

    // State, for those who drive the dialog.
    const PrintLayout& workingLayout() const { return workLayout_; }
    const Settings& workingSettings() const { return workSettings_; }
    const std::string& rememberedSettingName() const { return rememberedName_; }
    bool loading() const { return loading_; }
    PreviewBox* preview() const { return picPreview_; }
    ScaleSlider& slider() { return sldPSize_; }
    QTimer* refreshTimer() const { return timRefreshPreview_; }
    QTimer* printTimer() const { return timPrint_; }
    TitleOptionsDialog* titleOptionDialog() const { return titleOption_; }
    PrintingNotice* printingIndicator() const { return printingNotice_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool scaleBoxEvent(QEvent* event);
    bool scalePasteRefused(const QString& pasted);
    void buildControls();
    QWidget* buildPageSetupFrame();
    QWidget* buildSizeFrame();
    QWidget* buildPositionFrame();
    QWidget* buildTitleRow();
    QWidget* buildSettingRow();
    QWidget* buildCommandRow();
    void connectHandlers();

    void showLayout(const PrintLayout& shown);
    void showCarriers(const PrintLayout& from);
    void selectOption(QButtonGroup* group, int index);
    void selectPrinterEntry(int index);
    void selectPaperSizeEntry(int index);
    void selectPaperBinEntry(int index);
    void selectSettingEntry(int index);
    void fillSettingList();
    void setBoxEnabled(QLineEdit* box, bool enabled);
    void setTextLoading(QLineEdit* box, const QString& text);
    void startDelayedPreview();
    std::string chosenPrinter() const;
    void writeBack();
    bool prepareLaidOutImage();

    PrintDialogServices s_;
    Settings workSettings_;
    PrintLayout workLayout_;
    bool loading_ = false;
    bool unloaded_ = false;
    std::string rememberedName_;
    std::vector<std::string> printerNames_;  // list entry k >= 1 is printerNames_[k - 1]
    PrinterCapabilityCache capabilities_;
    QString measuredTitleKey_;  // what the title was last measured for
    PageRenderer::TextSize measuredTitle_;
    ScaleSlider sldPSize_;

    QComboBox* cmbPrinterName_ = nullptr;
    QComboBox* cmbPaperSize_ = nullptr;
    QComboBox* cmbPaperBin_ = nullptr;
    QButtonGroup* optOrientation_ = nullptr;
    QButtonGroup* optSize_ = nullptr;
    QButtonGroup* optPosition_ = nullptr;
    QLineEdit* txtPSize_ = nullptr;
    QWidget* lblSlideBar_ = nullptr;
    QToolButton* btnPSizeBig_ = nullptr;
    QToolButton* btnPSizeSmall_ = nullptr;
    QCheckBox* chkHiritsu_ = nullptr;
    QLineEdit* txtLeft_ = nullptr;
    QLineEdit* txtTop_ = nullptr;
    QLineEdit* txtTitle_ = nullptr;
    QComboBox* cmbSetting_ = nullptr;
    PreviewBox* picPreview_ = nullptr;
    QPushButton* btnOK_ = nullptr;
    CarrierLabel* lblFont_ = nullptr;
    CarrierLabel* lblTitleAlign_ = nullptr;
    CarrierLabel* lblTitleVAlign_ = nullptr;
    QTimer* timRefreshPreview_ = nullptr;
    QTimer* timPrint_ = nullptr;
    QPointer<TitleOptionsDialog> titleOption_;
    std::unique_ptr<PrintingNotice> printingNotice_;
};

}  // namespace tovrimo
