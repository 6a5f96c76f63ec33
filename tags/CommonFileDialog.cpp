#include "tags/CommonFileDialog.h"

#include "dialogs/clsCommonDialog.h"

bool CommonFileDialog::ShowOpen(FileDialogRequest &request)
{
    clsCommonDialog dialog;
    dialog.Parent = m_owner;
    dialog.CancelError = true;
    dialog.InitDir = request.InitDir;
    dialog.Flags = request.Flags;
    dialog.Filter = request.Filter;
    dialog.FilterIndex = request.FilterIndex;
    dialog.DialogTitle = request.DialogTitle;
    dialog.FileName = request.FileName;
    const bool chosen = dialog.ShowOpen();
    request.FileName = dialog.FileName;
    request.FilterIndex = dialog.FilterIndex;
    request.Flags = dialog.Flags;
    request.Error = dialog.ErrorText;
    return chosen;
}
