#pragma once
// What an image window needs of the frame that holds it.
#include <QString>

class QAction;

namespace tam32 {

class TBitmap;
class TLeafImageWindow;

class TImageWindowFrame {
public:
    virtual ~TImageWindowFrame() = default;
    // The window that menu commands act on; nullptr for none.
    virtual TLeafImageWindow* ActiveImageWindow() const = 0;
    virtual void SetActiveImageWindow(TLeafImageWindow* Window) = 0;
    // Panel 0 of the frame's status bar.
    virtual void SetSizeText(const QString& Text) = 0;
    // Panel 1 of the frame's status bar: the mouse position.
    virtual void SetPositionText(const QString& Text) = 0;
    // The edge view that the circle tools show while dragging: a strip of
    // four square tiles. Show enables, shows and repaints it.
    virtual void ShowEdgeView() = 0;
    virtual void HideEdgeView() = 0;
    // The strip's picture (24 bits); nullptr when the frame has none.
    virtual TBitmap* EdgeView() = 0;
    // The frame's menu item of that name; nullptr when it has none.
    virtual QAction* MenuItem(const char* Name) const = 0;
};

}  // namespace tam32
