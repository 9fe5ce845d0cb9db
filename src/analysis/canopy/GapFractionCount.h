#pragma once
// One block of rows of the gap fraction count, on an analysis thread: each
// pixel of the rows within the circle (and the azimuth mask) counted in its
// ring and zenith band, tested, and its sky weight added when it is a gap.
#include <cstdint>

#include "analysis/canopy/GapFractionPixels.h"

namespace tam32 {

class TPixelBits;

// What one block of rows counts: its tallies and, while the threshold line
// is in use, the threshold of the last pixel it tested.
struct TGapBlockCounts {
    TGapTallies Tallies;
    int32_t Threshold = 0;
};

// Counts the rows of Block within Box of Picture into Counts (cleared first,
// the threshold starting at FixedThreshold), marking the gaps in Gaps when
// given. Safe on the analysis threads while each block has Counts of its own.
void CountGapBlock(const TRowBlock& Block, const TRect& Box, const TRadialGeometry& Radial,
                   const TPictureRows& Picture, bool ZenithLine, TPixelBits* Gaps, TGapBlockCounts& Counts);

}  // namespace tam32
