// The control-point correction of an image window: the tool that picks
// ground control points into the window's control-point dialog, and the
// picture of the opened file corrected by the dialog's fit.
#include "analysis/corrections/GcpCorrection.h"
#include "windows/AfinDlg.h"
#include "windows/LeafImageWindow.h"

namespace tam32 {

TAfinDlg* TLeafImageWindow::AfinDlg() const { return FAfinDlg; }

void TLeafImageWindow::StartGetGCP() {
    // The frame's window owns it, as it owns the sample table; once made it
    // stays, hidden or shown, until this window closes.
    if (FAfinDlg == nullptr) FAfinDlg = new TAfinDlg(window());
    FAfinDlg->show();
    FAfinDlg->raise();
    ResetTools();
    FPickTool = ptGCP;
    FPickMode = true;
}

void TLeafImageWindow::TakeGCP(TPoint P) {
    if (TAfinDlg* dialog = AfinDlg()) dialog->AddGCP(P.X, P.Y);
}

bool TLeafImageWindow::HasGcpFit() const {
    const TAfinDlg* dialog = AfinDlg();
    return dialog != nullptr && !dialog->Model().Fit.Centred.Col.empty();
}

bool TLeafImageWindow::DoAfineTrans(const QString& OutFile) {
    const TAfinDlg* dialog = AfinDlg();
    // The photograph as opened, not a work file made from it.
    return dialog != nullptr && GcpCorrectImageFile(FFileName, OutFile, dialog->Model());
}

}  // namespace tam32
