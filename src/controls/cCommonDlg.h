#pragma once

#include <cstdint>
#include <optional>
#include <string>

class QFileDialog;
class QFontDialog;
class QWidget;

namespace tovrimo {

// The open and save dialogs, the help viewer and a font dialog behind properties. Made per
// use: set the properties, call one Show method, read the results from the properties.
// Nothing here raises an error; a cancelled file dialog shows only in CancelButton.
class cCommonDlg {
public:
    // Object names by which a test finds the dialogs while they are open.
    static constexpr const char* kFileDialogName = "cCommonDlgFileDialog";
    static constexpr const char* kFontDialogName = "cCommonDlgFontDialog";

    // File-dialog flags the dialogs honour.
    static constexpr int32_t OFN_OVERWRITEPROMPT = 0x2;
    static constexpr int32_t OFN_HIDEREADONLY = 0x4;
    static constexpr int32_t OFN_PATHMUSTEXIST = 0x800;
    static constexpr int32_t OFN_FILEMUSTEXIST = 0x1000;
    // Font-dialog flags.
    static constexpr int32_t CF_INITTOLOGFONTSTRUCT = 0x40;
    static constexpr int32_t CF_LIMITSIZE = 0x2000;
    // Action values.
    static constexpr int16_t kActionOpen = 1;
    static constexpr int16_t kActionSave = 2;
    static constexpr int16_t kActionHelp = 6;

    cCommonDlg();

    QWidget* Form() const { return form_; }
    // The owner; its font becomes the font properties' starting point.
    void setForm(QWidget* NewForm);

    const std::string& Filter() const { return filter_; }
    void setFilter(const std::string& strNewFilter) { filter_ = strNewFilter; }
    int16_t FilterIndex() const { return filterIndex_; }
    void setFilterIndex(int16_t intNewFilterIndex) { filterIndex_ = intNewFilterIndex; }
    const std::string& FileName() const { return fileName_; }
    void setFileName(const std::string& strNewFileName) { fileName_ = strNewFileName; }
    const std::string& FileTitle() const { return fileTitle_; }
    void setFileTitle(const std::string& strNewFileTitle) { fileTitle_ = strNewFileTitle; }
    const std::string& DialogTitle() const { return dialogTitle_; }
    void setDialogTitle(const std::string& strNewDialogTitle) { dialogTitle_ = strNewDialogTitle; }
    const std::string& InitDir() const { return initDir_; }
    void setInitDir(const std::string& strNewInitDir) { initDir_ = strNewInitDir; }
    const std::string& DefaultExt() const { return defaultExt_; }
    void setDefaultExt(const std::string& strNewDefaultExt) { defaultExt_ = strNewDefaultExt; }
    int32_t MaxFileSize() const { return maxFileSize_; }
    void setMaxFileSize(int32_t lngNewMaxFileSize) { maxFileSize_ = lngNewMaxFileSize; }
    int32_t Flags() const { return flags_; }
    void setFlags(int32_t lngNewFlags) { flags_ = lngNewFlags; }
    bool CancelError() const { return cancelError_; }
    void setCancelError(bool bolNewCancelErr) { cancelError_ = bolNewCancelErr; }
    bool CancelButton() const { return cancelButton_; }

    int16_t Action() const { return action_; }
    // 1 runs ShowOpen, 2 ShowSave, 6 ShowHelp; any other value is only stored.
    void setAction(int16_t intNewAction);

    const std::string& HelpFile() const { return helpFile_; }
    void setHelpFile(const std::string& strNewHelpFile) { helpFile_ = strNewHelpFile; }
    int32_t HelpCommand() const { return helpCommand_; }
    void setHelpCommand(int32_t lngNewHelpCommand) { helpCommand_ = lngNewHelpCommand; }
    int32_t HelpContext() const { return helpContext_; }
    void setHelpContext(int32_t lngNewHelpContext) { helpContext_ = lngNewHelpContext; }
    // Held as a whole number: text that is not one reads back as "0".
    std::string HelpKey() const { return std::to_string(helpKey_); }
    void setHelpKey(const std::string& strNewHelpKey);

    const std::string& FontName() const { return fontName_; }
    void setFontName(const std::string& strNewFontName) { fontName_ = strNewFontName; }
    int16_t FontSize() const { return fontSize_; }
    void setFontSize(int16_t intNewFontSize) { fontSize_ = intNewFontSize; }
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool bolNewFontBold) { fontBold_ = bolNewFontBold; }
    bool FontItalic() const { return fontItalic_; }
    void setFontItalic(bool bolNewFontItalic) { fontItalic_ = bolNewFontItalic; }
    bool FontStrikethru() const { return fontStrikethru_; }
    void setFontStrikethru(bool bolNewFontStrikethru) { fontStrikethru_ = bolNewFontStrikethru; }
    bool FontUnderline() const { return fontUnderline_; }
    void setFontUnderline(bool bolNewFontUnderline) { fontUnderline_ = bolNewFontUnderline; }
    int32_t Min() const { return min_; }
    void setMin(int32_t lngNewMin) { min_ = lngNewMin; }
    int32_t Max() const { return max_; }
    void setMax(int32_t lngNewMax) { max_ = lngNewMax; }

    int32_t ErrNumber() const { return errNumber_; }
    std::string ErrDescription() const;

    void ShowOpen();
    void ShowSave();
    void ShowFont();
    void ShowHelp();

    // The last step of ShowOpen and ShowSave: the path the dialog returned, or nothing when
    // it was cancelled or failed.
    void TakeFileDialogResult(const std::optional<std::string>& chosenPath);

private:
    void showFileDialog(bool save);
    void configureFileDialog(QFileDialog& dialog, bool save) const;

    QWidget* form_ = nullptr;
    std::string filter_ = "All Files (*.*)|*.*";
    int16_t filterIndex_ = 0;
    std::string fileName_;
    std::string fileTitle_ = std::string(254, ' ');
    std::string dialogTitle_ = "Open File";
    std::string initDir_;
    std::string defaultExt_;
    int32_t maxFileSize_ = 255;
    int32_t flags_ = 0;
    bool cancelError_ = false;
    bool cancelButton_ = false;
    int16_t action_ = 0;
    std::string helpFile_;
    int32_t helpCommand_ = 0;
    int32_t helpContext_ = 0;
    int32_t helpKey_ = 0;
    std::string fontName_;
    int16_t fontSize_ = 0;
    bool fontBold_ = false;
    bool fontItalic_ = false;
    bool fontStrikethru_ = false;
    bool fontUnderline_ = false;
    int32_t fontColor_ = 0;
    int32_t min_ = 0;
    int32_t max_ = 0;
    int32_t errNumber_ = 0;
};

}  // namespace tovrimo
