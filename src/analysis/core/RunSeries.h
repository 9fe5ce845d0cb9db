#pragma once
// A series of analyses of one circle run one after the other ("Compare" and
// the batches). While a series is open, each gap fraction run takes the
// circle's per-pixel geometry from the run before when its area, the circle
// and the lens settings are the same, instead of computing it anew
// (SeriesRadialGeometry), and the decoding of a file from the run before (the
// decoding cache). A single run keeps neither, so its memory is free for its
// result as soon as it is done.
#include <memory>

#include "platform/WinTypes.h"

namespace tam32 {

// Keeps the series open for its lifetime; series may nest.
class TRunSeries {
public:
    TRunSeries();
    ~TRunSeries();
    TRunSeries(const TRunSeries&) = delete;
    TRunSeries& operator=(const TRunSeries&) = delete;
};

// Whether a series is open, so what a run decodes is kept for the next.
bool RunSeriesOpen();
// Calls Release when the open series ends, once however often it is asked:
// how what a run keeps for the next is let go.
void ReleaseWhenSeriesEnds(void (*Release)());

}  // namespace tam32
