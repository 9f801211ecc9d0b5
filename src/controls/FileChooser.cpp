#include "controls/FileChooser.h"

#include "controls/cCommonDlg.h"

namespace tovrimo {

std::optional<std::string> CommonDlgFileChooser::choose(const FileDialogRequest& request)
{
    cCommonDlg dlg;
    dlg.setFileName("");
    dlg.setForm(request.owner);
    dlg.setDialogTitle(request.dialogTitle);
    dlg.setFilter(request.filter);
    dlg.setFilterIndex(request.filterIndex);
    dlg.setFlags(request.flags);
    dlg.setInitDir(request.initDir);
    dlg.setCancelError(true);
    if (request.kind == FileDialogRequest::Kind::Save)
        dlg.ShowSave();
    else
        dlg.ShowOpen();
    if (dlg.CancelButton()) return std::nullopt;
    return dlg.FileName();
}

}  // namespace tovrimo
