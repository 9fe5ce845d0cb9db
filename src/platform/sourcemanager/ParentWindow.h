#pragma once
// The window handles that the client passes (the QWindow* of one of its
// top-level windows, or null) and the dialogs that belong to them.
#include "platform/SourceManagerAbi.h"

class QWidget;
class QWindow;

namespace tam32::sourcemanager {

// The window, when the handle names one that exists; nullptr otherwise.
QWindow* WindowOf(TW_HANDLE Handle);
// Keeps the dialog above its parent window.
void AttachToParent(QWidget& Dialog, QWindow* Parent);
// Whether widgets can be shown: the application object is a widget application.
bool CanShowDialogs();

}  // namespace tam32::sourcemanager
