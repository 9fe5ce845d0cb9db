#pragma once
// The pixels of the analysis area in one row of a box, as runs of columns:
// inside the circle, not below the horizon of a sloped ground, and outside
// the left-out azimuth sector (InAnalysisArea, a run at a time), for pixel
// loops that need no zenith of their own.
#include <vector>

#include "analysis/geometry/AnalysisArea.h"

namespace tam32 {

class TAreaRowRuns {
public:
    // Reads the circle, slope and mask settings in force (HorizonRadius2 set).
    TAreaRowRuns() = default;
    // Row Y of Area, which lies within the analysis image; valid until the next call.
    const std::vector<TColumnSpan>& Kept(int Y, const TRect& Area);

private:
    TAzimuthMaskRuns FMask;
    std::vector<TColumnSpan> FRuns;
};

}  // namespace tam32
