#pragma once
// While the image circle is dragged, four square tiles show its top, bottom,
// left and right edge pixel for pixel, so the user can fit it to the picture
// at any zoom.
#include "platform/Bitmap.h"

namespace tam32 {

// Copies the four tiles of the circle (CentreX, CentreY, Radius) on Picture
// into Strip, side by side; the strip's height gives their size. Source
// pixels outside the picture leave the strip's pixels as they were.
void DrawEdgeViews(TBitmap& Strip, TBitmap& Picture, int CentreX, int CentreY, int Radius);

}  // namespace tam32
