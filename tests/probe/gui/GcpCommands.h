#pragma once
// The control-point dialog of an image window as a script uses it:
// "gcp ROW X Y" types world X and Y into a point's row (ROW from 1),
// "gcp type NAME TEXT" types into the edit NAME (im_x0, im_x1, im_y0,
// im_y1, Pixel_Size) or the order DimFiit, and "gcp press NAME" presses the
// button NAME (Analyze, ClearTable, Auto_Size, Calc_IMS, OKBtn) on its page.
#include <QStringList>

class QAbstractButton;

namespace tam32 {
class TLeafImageWindow;
}

namespace tam32::probe {

// False when the window has no control-point dialog or the words do not
// fit; "press" gives the button in Press, its page turned to, for the
// script to press.
bool GcpCommand(TLeafImageWindow& Window, const QStringList& Args, QAbstractButton*& Press);

}  // namespace tam32::probe
