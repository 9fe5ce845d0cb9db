#pragma once
// The choice of the classification groups that count as target, asked
// before an analysis of the classification target.
class QWidget;

namespace tam32 {

// The options dialog in its group-selection mode, owned by Owner and shown
// modally; false when the user cancelled it.
bool ChooseTargetGroups(QWidget* Owner);

}  // namespace tam32
