#pragma once
// State that the analysis routines share among themselves (flags, saved
// thresholds, working histograms); other subsystems do not touch it.
// Variables without a stated initial value start at 0 or False.
#include <cstdint>

#include "analysis/core/CheckedArray.h"

namespace tam32 {

extern bool DrawResults;         // True: analyses paint their results into the window
extern bool ForceWholeImage;     // False: labelling works on the whole image
extern bool SettingsOverridden;  // False: the four saved settings are to be put back
extern bool KeepAnalysisImage;   // False: the gap fraction analysis leaves its image loaded
// False: a gap fraction run under the Fixed method counts no threshold
// histogram of its area, which nothing in the program reads then; a reader
// of Histogram after such a run sets it.
extern bool ThresholdHistogramRead;

// The classification settings as they were when the analysis image was loaded.
extern int32_t SavedBinarizeTarget, SavedThresholdCondition, SavedThresholdMethod, SavedFixedThreshold;
// The three thresholds of the all-channels target.
extern int32_t RGBThresholdR, RGBThresholdG, RGBThresholdB;
// Value span of each channel in the analysis area.
extern int32_t ChannelSpanR, ChannelSpanG, ChannelSpanB;
// Line of the zenith-dependent threshold.
extern double ZenithThresholdSlope, ZenithThresholdIntercept;
// Square of the image radius of the circle's edge, for the inside test.
extern double HorizonRadius2;
// Working histogram of the threshold methods.
extern TCheckedArray<double, 256> Histogram;
// Value counts per whole zenith degree.
extern TCheckedArray<TCheckedArray<int32_t, 256>, 91> ZenithHistogram;
// Rows: target sums, target square sums, non-target sums, non-target square
// sums; columns: red, green, blue.
extern TCheckedArray<TCheckedArray<double, 3>, 4> SepColorSums;

// Gives every variable above its initial value, as at start-up.
void ResetAnalysisState();

}  // namespace tam32
