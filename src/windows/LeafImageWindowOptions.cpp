// The image window's command that opens the options dialog for its work
// file and box area.
#include "windows/LeafImageWindow.h"
#include "windows/TamOptionDialog.h"

namespace tam32 {

int TLeafImageWindow::ShowProcOptions() {
    TTamOptionDialog dialog(this);
    dialog.Setup(FWorkFileName, FTagArea.left(), FTagArea.top(), FTagArea.right(), FTagArea.bottom());
    return dialog.exec();
}

}  // namespace tam32
