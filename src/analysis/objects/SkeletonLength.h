#pragma once
// The skeleton length analysis: the target pixels of the box area thinned to
// one-pixel skeletons, every skeleton pixel painted by its class (black
// background or lone pixel, red end point, blue line point, green branch
// point of four, olive otherwise and once traced), and one "Length=...cm"
// line in the results window for each skeleton line followed from an end or
// branch point.
#include <QString>

#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;

// Area: the inclusive box area (a picture-edge side moves in by one pixel,
// so the box never touches the edge); Image: the window picture. True when
// it failed after its message.
bool TopoAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area);

}  // namespace tam32
