#include "controls/clsChooseFont.h"

#include <QFontDialog>
#include <algorithm>

#include "controls/CommonDlgRules.h"
#include "controls/FontDialogSetup.h"

namespace tovrimo {

int clsChooseFont::FontDlg(QWidget* nHwnd, const std::string& FontName, int32_t FontColor,
                           int32_t FontSize, bool FontBold, bool FontItalic, bool FontStrikethrough,
                           bool FontUnderline)
{
    QWidget* owner = nHwnd && nHwnd->isVisible() ? nHwnd : nullptr;
    const double ppi = VerticalPixelsPerInch(owner);
    QFont initial(QString::fromStdString(FontName));
    const int height = LogicalFontHeight(FontSize, ppi);
    if (height > 0) initial.setPointSizeF(height * 72.0 / ppi);
    initial.setWeight(FontBold ? QFont::Bold : QFont::Normal);
    initial.setItalic(FontItalic);
    initial.setStrikeOut(FontStrikethrough);
    initial.setUnderline(FontUnderline);

    QFontDialog dialog(initial, owner);
    dialog.setObjectName(kDialogName);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    LimitFontDialogSizes(dialog, kMinSize, kMaxSize);
    if (dialog.exec() != QDialog::Accepted) return 1;

    const QFont chosen = dialog.selectedFont();
    const double points = std::clamp<double>(FontPointSize(chosen, ppi), kMinSize, kMaxSize);
    fontName_ = chosen.family().toStdString();
    fontBold_ = FontDlgBold(chosen.weight());
    fontItalic_ = chosen.italic();
    fontStrikethrough_ = chosen.strikeOut();
    fontUnderline_ = chosen.underline();
    fontSize_ = PointsFromHeight(LogicalFontHeight(points, ppi), ppi);
    // The dialog offers no colour of its own: the colour comes back as it went in.
    fontColor_ = FontColor;
    return 0;
}

}  // namespace tovrimo
