#pragma once
// A series of analyses of one circle run one after the other ("Compare" and
// the batches). While a series is open, each gap fraction run takes the
// circle's per-pixel geometry from the run before when its area, the circle
// and the lens settings are the same, instead of computing it anew. The
// decoded image is shared through the decoding cache, as for any run.
#include <memory>

#include "platform/WinTypes.h"

namespace tam32 {

class TRadialGeometry;

// Keeps the series open for its lifetime; series may nest.
class TRunSeries {
public:
    TRunSeries();
    ~TRunSeries();
    TRunSeries(const TRunSeries&) = delete;
    TRunSeries& operator=(const TRunSeries&) = delete;
};

// The per-pixel geometry of Box under the circle and lens settings in force:
// within an open series the one kept from the run before when nothing it
// depends on has changed; otherwise a new one, kept while a series is open.
std::shared_ptr<const TRadialGeometry> SeriesRadialGeometry(const TRect& Box);

}  // namespace tam32
