#pragma once

#include <cstdint>
#include <string>

class QWidget;

namespace tovrimo {

// The title font dialog: FontDlg shows Qt's font dialog with sizes 8 to 24 and leaves the
// choice in the read-only properties.
class clsChooseFont {
public:
    static constexpr const char* kDialogName = "clsChooseFontDialog";
    static constexpr int kMinSize = 8;
    static constexpr int kMaxSize = 24;

    // Returns 0 when a font was chosen, 1 when the dialog was cancelled; after a cancel the
    // properties keep what they held before.
    int FontDlg(QWidget* nHwnd, const std::string& FontName, int32_t FontColor, int32_t FontSize,
                bool FontBold, bool FontItalic, bool FontStrikethrough, bool FontUnderline);

    const std::string& FontName() const { return fontName_; }
    int32_t FontSize() const { return fontSize_; }
    bool FontBold() const { return fontBold_; }
    bool FontItalic() const { return fontItalic_; }
    bool FontStrikethrough() const { return fontStrikethrough_; }
    bool FontUnderline() const { return fontUnderline_; }
    int32_t FontColor() const { return fontColor_; }

private:
    std::string fontName_;
    int32_t fontSize_ = 0;
    bool fontBold_ = false;
    bool fontItalic_ = false;
    bool fontStrikethrough_ = false;
    bool fontUnderline_ = false;
    int32_t fontColor_ = 0;
};

}  // namespace tovrimo
