#pragma once
// The manager's source selection dialog (MSG_USERSELECT): every source by
// name, with its vendor and model, the current one chosen at the start.
#include <vector>

#include "platform/sourcemanager/SourceDevices.h"

class QWindow;

namespace tam32::sourcemanager {

// The index chosen, or -1 when the user cancels. Needs a widget application.
int ChooseSource(const std::vector<SourceDevice>& Devices, int Current, QWindow* Parent);

}  // namespace tam32::sourcemanager
