#pragma once
// The target pixels of the analysis image, a row at a time, as flags: 1 for
// a target pixel of the analysis area (circle, slope and azimuth mask), 0 for
// every other column. The object analyses build on these rows, so a pixel
// outside the area always reads as background.
#include <QString>
#include <cstdint>

#include "analysis/core/PictureRows.h"
#include "analysis/geometry/AreaRowRuns.h"
#include "platform/WinTypes.h"

namespace tam32 {

// The opening of an analysis of target objects: lengths need a positive
// resolution ("ERR22"), the circle's edge lies at CircleR +
// CircleCenterOffset, and a file that does not load shows "ERR14". True on
// failure, after its message.
bool OpenObjectAnalysisImage(const QString& FileName);

// One per block of rows: the area's runs are worked out a row at a time.
class TTargetRows {
public:
    // Area: inclusive, within Picture, which outlives this; the
    // classification is prepared without zenith dependence.
    TTargetRows(const TPictureRows& Picture, const TRect& Area);
    // Writes Flags[Area.Left..Area.Right] of row Y (Flags is indexed by column).
    void Fill(int Y, uint8_t* Flags);

private:
    TRect FArea;
    const TPictureRows& FPicture;
    TAreaRowRuns FRuns;
    int32_t FThreshold;  // without the zenith it stays as prepared
};

}  // namespace tam32
