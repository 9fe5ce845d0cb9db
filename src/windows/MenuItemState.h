#pragma once
// Checks and enables a frame's menu item that may be missing (nullptr).
#include <QAction>

namespace tam32 {

inline void SetChecked(QAction* Item, bool Checked) {
    if (Item != nullptr) Item->setChecked(Checked);
}

inline void SetEnabled(QAction* Item, bool Enabled) {
    if (Item != nullptr) Item->setEnabled(Enabled);
}

}  // namespace tam32
