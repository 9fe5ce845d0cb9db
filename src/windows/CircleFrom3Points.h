#pragma once
// The circle through three clicked points of the image circle's edge.
#include <array>
#include <optional>

#include "platform/WinTypes.h"

namespace tam32 {

// Points[0..2] are the clicked points. Writes the centre, rounded to whole
// pixels, to Points[3] and returns the radius about that centre. Points on
// one line have no circle through them, and points almost on one line a
// centre beyond any picture: both give nothing and leave Points[3] alone.
std::optional<int> CircleFrom3Points(std::array<TPoint, 4>& Points);

}  // namespace tam32
