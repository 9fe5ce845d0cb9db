#pragma once
// The labelling analysis: the 8-connected objects among the target pixels of
// the box area (leaves on a flat background, gaps in a canopy), listed by
// decreasing area within MinLabelledArea..MaxLabelledArea, numbered on the
// picture, measured by outline length, circularity and outline area on
// request, and reported to the results window; their outlines go to the
// outline vector file when LabelTraceVectorize is on. In gap mode
// (GapEstimateMode, for the two-photograph gap estimate) it works on the
// whole image, measures object GapObjectNo of the listing and publishes its
// area in GapObjectArea and GapObjectOutlineArea instead of reporting.
#include <QString>

#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;

// The largest MaxLabelBuffSize accepted; it is only the tables' starting size.
constexpr int kMaxLabelBuffSize = 3'000'000;

// Area: the inclusive box area; Image: the window picture, painted when
// DrawResults is on. True when it failed after its message.
bool LabellAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area);

}  // namespace tam32
