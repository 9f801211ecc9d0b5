#include "controls/cCommonDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "controls/CommonDlgRules.h"
#include "controls/FontDialogSetup.h"
#include "controls/HelpViewer.h"

namespace tovrimo {

namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// A hidden owner (the resident window) would only make the dialog transient for a window the
// window manager never shows; such a dialog is better left without owner.
QWidget* VisibleOwner(QWidget* form)
{
    return form && form->isVisible() ? form : nullptr;
}

// Where a file dialog starts: the folder itself, or the folder of a file name such as the
// last file chosen.
QString StartFolder(const std::string& initDir)
{
    if (initDir.empty()) return QDir::currentPath();
    const QFileInfo info(Q(initDir));
    if (info.isDir()) return info.absoluteFilePath();
    const QFileInfo parent(info.absolutePath());
    return parent.isDir() ? parent.absoluteFilePath() : QDir::currentPath();
}

}  // namespace

cCommonDlg::cCommonDlg() : initDir_(QDir::currentPath().toStdString()) {}

void cCommonDlg::setForm(QWidget* NewForm)
{
    form_ = NewForm;
    if (!form_) return;
    const QFont font = form_->font();
    fontName_ = font.family().toStdString();
    fontSize_ =
        static_cast<int16_t>(std::lround(FontPointSize(font, VerticalPixelsPerInch(form_))));
    fontBold_ = font.bold();
    fontItalic_ = font.italic();
    fontStrikethru_ = font.strikeOut();
    fontUnderline_ = font.underline();
}

void cCommonDlg::setAction(int16_t intNewAction)
{
    action_ = intNewAction;
    switch (intNewAction) {
    case kActionOpen:
        ShowOpen();
        break;
    case kActionSave:
        ShowSave();
        break;
    case kActionHelp:
        ShowHelp();
        break;
    default:
        break;
    }
}

void cCommonDlg::setHelpKey(const std::string& strNewHelpKey)
{
    int32_t value = 0;
    const char* first = strNewHelpKey.data();
    const char* last = first + strNewHelpKey.size();
    while (first != last && *first == ' ') ++first;
    if (std::from_chars(first, last, value).ec != std::errc()) value = 0;
    helpKey_ = value;
}

std::string cCommonDlg::ErrDescription() const
{
    return ErrDescriptionText(errNumber_);
}

void cCommonDlg::ShowOpen()
{
    showFileDialog(false);
}

void cCommonDlg::ShowSave()
{
    showFileDialog(true);
}

void cCommonDlg::showFileDialog(bool save)
{
    action_ = save ? kActionSave : kActionOpen;
    errNumber_ = 0;
    QFileDialog dialog(VisibleOwner(form_));
    configureFileDialog(dialog, save);
    std::optional<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        chosen = dialog.selectedFiles().first().toStdString();
    TakeFileDialogResult(chosen);
}

void cCommonDlg::configureFileDialog(QFileDialog& dialog, bool save) const
{
    dialog.setObjectName(kFileDialogName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Descriptions are shown as written, as the patterns are already part of them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(Q(dialogTitle_));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dialog.setFileMode(QFileDialog::AnyFile);
    else
        dialog.setFileMode((flags_ & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                        : QFileDialog::AnyFile);
    if (!(flags_ & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(StartFolder(initDir_));

    QStringList filters;
    for (const std::string& f : DialogNameFilters(filter_)) filters << Q(f);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters[SelectedFilterPosition(filterIndex_, filters.size())]);
    }
    std::string ext = defaultExt_;
    if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
    if (!ext.empty()) dialog.setDefaultSuffix(Q(ext));
    if (!fileName_.empty()) dialog.selectFile(Q(fileName_));
}

void cCommonDlg::TakeFileDialogResult(const std::optional<std::string>& chosenPath)
{
    // A name longer than the buffer would come back cut off: the system reports such a
    // choice as a failure, and so do we, rather than hand on a different file's name.
    const bool chosen = chosenPath && !chosenPath->empty() &&
                        FileNameFits(Q(*chosenPath).toStdU16String(), maxFileSize_);
    if (!chosen) {
        if (cancelError_) {
            cancelButton_ = true;
            fileName_.clear();
        }
        return;
    }
    fileName_ = *chosenPath;
    fileTitle_ = QFileInfo(Q(*chosenPath)).fileName().trimmed().toStdString();
    cancelButton_ = false;
}

void cCommonDlg::ShowFont()
{
    const double ppi = VerticalPixelsPerInch(VisibleOwner(form_));
    QFont initial(Q(fontName_));
    if (fontSize_ > 0)
        initial.setPointSizeF(PointsFromHeight(LogicalFontHeight(fontSize_, ppi), ppi));
    initial.setWeight(fontBold_ ? QFont::Bold : QFont::Normal);
    initial.setItalic(fontItalic_);
    initial.setUnderline(fontUnderline_);
    initial.setStrikeOut(fontStrikethru_);

    QFontDialog dialog(initial, VisibleOwner(form_));
    dialog.setObjectName(kFontDialogName);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if ((flags_ & CF_LIMITSIZE) && max_ >= min_ && max_ > 0)
        LimitFontDialogSizes(dialog, min_, max_);

    if (dialog.exec() != QDialog::Accepted) {
        errNumber_ = 0;  // a cancel carries no extended error
        cancelButton_ = true;
        fontBold_ = fontItalic_ = fontUnderline_ = fontStrikethru_ = false;
        fontName_.clear();
        fontSize_ = 0;
        fontColor_ = 0;
        return;
    }
    const QFont chosen = dialog.selectedFont();
    double points = FontPointSize(chosen, ppi);
    if ((flags_ & CF_LIMITSIZE) && max_ >= min_ && max_ > 0)
        points = std::clamp<double>(points, min_, max_);
    fontBold_ = ShowFontBold(chosen.weight());
    fontItalic_ = chosen.italic();
    fontUnderline_ = chosen.underline();
    fontStrikethru_ = chosen.strikeOut();
    fontName_ = chosen.family().toStdString();
    fontSize_ = static_cast<int16_t>(PointsFromHeight(LogicalFontHeight(points, ppi), ppi));
    cancelButton_ = false;
}

void cCommonDlg::ShowHelp()
{
    if (helpFile_.empty() || helpCommand_ == 0) return;
    HelpViewer::Show(HelpViewer::ResolveHelpFile(helpFile_), helpCommand_, helpContext_,
                     VisibleOwner(form_));
}

}  // namespace tovrimo
