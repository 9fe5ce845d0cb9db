#pragma once
// The circle's per-pixel geometry shared along a series of runs (RunSeries):
// within an open series each run takes the geometry of the run before when
// its area, the circle and the lens settings are the same; a single run
// keeps none.
#include <memory>

#include "platform/WinTypes.h"

namespace tam32 {

class TRadialGeometry;

// The per-pixel geometry of Box under the circle and lens settings in force:
// within an open series the one kept from the run before when nothing it
// depends on has changed; otherwise a new one, kept while a series is open.
std::shared_ptr<const TRadialGeometry> SeriesRadialGeometry(const TRect& Box);

}  // namespace tam32
