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
#include "output/PageRenderer.h"
#include "output/PrinterCapabilityCache.h"
#include "output/TitleOptionsDialog.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

namespace tovrimo {

class ClipboardAccess;
class TextLengthLimit;
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
    QImage& pageImage;           // the page image buffer
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

    // Fills the controls from the records, draws the preview and shows the dialog (modeless).
    void open() override;
    // Whether the dialog has ended (printed, or closed without writing anything back); the
    // host has been told.
    bool isClosed() const { return closed_; }

    void refreshPreview();
    void releaseNamedSetting();
    void fillPaperSizeList();
    // Adds the printers that became known since the list was filled (network printers found in
    // the background), keeping the entry shown.
    void addNewPrinters();

    // Edits of the page layout. Each lets a chosen named setting go before it applies.
    void onPrinterChanged();
    void onPaperSizeChanged();
    void onPaperSourceChanged();
    void onOrientationChosen(PageOrientation orientation);
    void onScaleModeChosen(ScaleMode mode);
    void onPositionChosen(PagePosition position);
    void onKeepAspectRatioToggled();
    void onScaleEdited();
    void onLeftEdited();
    void onTopEdited();
    void onTitleEdited();
    // Takes the slider's value only once the user lets go of it.
    void onSliderReleased();
    // Step the scale by a quarter, to the next multiple of 25 within 1..200.
    void enlargeScale();
    void reduceScale();
    // Puts a title field at the caret, replacing the selection.
    void insertTitleField(const char* field);
    void openTitleOptions();
    // OK in the title options dialog. The alignment and the placement are edits only when they
    // differ from what the dialog handed over last (at first: what the working layout held
    // when this dialog opened); the font is one whenever it has a size.
    void onTitleOptionsChosen(const TitleOptions& chosen);

    // Commands.
    void onNamedSettingChosen();
    void saveNamedSetting();
    void deleteNamedSetting();
    // Shows the printing notice and prints once it has had time to appear.
    void print();
    void onPrintDelayElapsed();
    void copyToClipboard();
    void saveImageAs();
    void makeStickyNote();
    void showHelp();
    // Closes without printing, like the close box and Escape.
    void cancel();
    // Typing pauses this long before the preview follows, so each key does not redraw it.
    void onPreviewDelayElapsed();

signals:
    // A key or paste refused in the scale box, or text beyond what the settings file keeps of a
    // title: the user hears it (whoever made the dialog connects a beep).
    void inputRefused();
    // The user opened the printer list: what is known of the printers has been read afresh,
    // and the network may be asked again.
    void printerListOpened();

public:
    // State, for those who drive the dialog.
    const PrintLayout& workingLayout() const { return workLayout_; }
    const Settings& workingSettings() const { return workSettings_; }
    const std::string& rememberedSettingName() const { return rememberedName_; }
    bool loading() const { return loading_; }
    PreviewBox* preview() const { return preview_; }
    ScaleSlider* slider() const { return scaleSlider_; }
    QTimer* previewTimer() const { return previewTimer_; }
    QTimer* printTimer() const { return printTimer_; }
    TitleOptionsDialog* titleOptionsDialog() const { return titleOptions_; }
    PrintingNotice* printingNotice() const { return printingNotice_.get(); }

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
    void onPrinterListOpened();

    void showLayout(const PrintLayout& shown);
    void rememberHandedTitle(const PrintLayout& from);
    // Ends the dialog without writing anything back and tells the host.
    void end();
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
    void keepListedPrinter();
    void writeBack();
    bool prepareLaidOutImage();

    PrintDialogServices s_;
    Settings workSettings_;
    PrintLayout workLayout_;
    bool loading_ = false;
    bool closed_ = false;
    // What the title options dialog handed over last.
    struct HandedTitle {
        int fontPoints = 0;
        int alignmentIndex = 0;
        int placementIndex = 0;
    } handedTitle_;
    std::string rememberedName_;
    std::vector<std::string> printerNames_;  // list entry k >= 1 is printerNames_[k - 1]
    PrinterCapabilityCache capabilities_;
    QString measuredTitleKey_;  // what the title was last measured for
    PageRenderer::TextSize measuredTitle_;

    QComboBox* printerList_ = nullptr;
    QComboBox* paperSizeList_ = nullptr;
    QComboBox* paperSourceList_ = nullptr;
    QButtonGroup* orientationGroup_ = nullptr;
    QButtonGroup* scaleModeGroup_ = nullptr;
    QButtonGroup* positionGroup_ = nullptr;
    QLineEdit* scaleEdit_ = nullptr;
    ScaleSlider* scaleSlider_ = nullptr;
    QToolButton* enlargeButton_ = nullptr;
    QToolButton* reduceButton_ = nullptr;
    QCheckBox* keepAspectRatioBox_ = nullptr;
    QLineEdit* leftEdit_ = nullptr;
    QLineEdit* topEdit_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    TextLengthLimit* titleLimit_ = nullptr;
    QComboBox* namedSettingList_ = nullptr;
    PreviewBox* preview_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QTimer* previewTimer_ = nullptr;
    QTimer* printTimer_ = nullptr;
    QPointer<TitleOptionsDialog> titleOptions_;
    std::unique_ptr<PrintingNotice> printingNotice_;
};

}  // namespace tovrimo
