#include "platform/sourcemanager/ParentWindow.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace tam32::sourcemanager {

QWindow* WindowOf(TW_HANDLE Handle) {
    // qGuiApp would be a wrong cast under a plain application object.
    if (Handle == nullptr || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return nullptr;
    for (QWindow* window : QGuiApplication::allWindows())
        if (window == Handle) return window;
    return nullptr;
}

void AttachToParent(QWidget& Dialog, QWindow* Parent) {
    if (Parent == nullptr) return;
    Dialog.winId();  // gives the dialog its window
    if (QWindow* window = Dialog.windowHandle()) window->setTransientParent(Parent);
}

bool CanShowDialogs() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace tam32::sourcemanager
