#pragma once
// The outline of a labelled object: an eight-direction walk over the
// background pixels that border it, counter-clockwise on the screen, from
// the pixel left of the object's first pixel back to it.
#include <cstdint>
#include <vector>

#include "analysis/objects/LabelRuns.h"
#include "platform/WinTypes.h"

namespace tam32 {

// Whether pixel (X1, Y1) (InAtFirst) and pixel (X2, Y2) (InAtSecond) belong
// to the object of run RunIndex; pixels beyond the labelled rows do not.
void OutlineNeighbours(const TLabelRuns& Runs, int RunIndex, int Y1, int X1, bool& InAtSecond, bool& InAtFirst, int X2,
                       int Y2);

// Walks the outline of the object of RunIndex, the object's first run.
// Points: the start point, each point stepped to and the start point again.
// Perimeter: 1 per straight and sqrt(2) per diagonal step; OutlineArea: the
// area of the polygon through the points. A walk longer than 1,000,000
// iterations plus 64 per object pixel ends with both 0 (the points walked
// so far stay in Points); the walk around a connected object never needs
// that many.
void TraceObjectOutline(const TLabelRuns& Runs, int RunIndex, float& Perimeter, float& OutlineArea,
                        std::vector<TPoint>& Points);

}  // namespace tam32
