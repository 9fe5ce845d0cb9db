#include "windows/GroupSelection.h"

#include "analysis/core/GlobalSettings.h"
#include "windows/TamOptionDialog.h"

namespace tam32 {

bool ChooseTargetGroups(QWidget* Owner) {
    TTamOptionDialog dialog(Owner);
    dialog.SetupGroupSelection();
    dialog.exec();
    return !OptionsCancelled;
}

}  // namespace tam32
