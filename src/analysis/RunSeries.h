#pragma once
// A series of analyses of one circle run one after the other ("Compare" and
// the batches). While a series is open, each gap fraction run takes the
// circle's per-pixel geometry from the run before when its area, the circle
// and the lens settings are the same, instead of computing it anew, and the
// decoding of a file from the run before (the decoding cache). A single run
// keeps neither, so its memory is free for its result as soon as it is done.
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
// Whether a series is open, so what a run decodes is kept for the next.
bool RunSeriesOpen();

}  // namespace tam32
