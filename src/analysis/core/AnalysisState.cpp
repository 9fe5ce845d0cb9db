#include "analysis/core/AnalysisState.h"

namespace tam32 {

bool DrawResults;
bool ForceWholeImage;
bool SettingsOverridden;
bool KeepAnalysisImage;
bool ThresholdHistogramRead;
int32_t SavedBinarizeTarget, SavedThresholdCondition, SavedThresholdMethod, SavedFixedThreshold;
int32_t RGBThresholdR, RGBThresholdG, RGBThresholdB;
int32_t ChannelSpanR, ChannelSpanG, ChannelSpanB;
double ZenithThresholdSlope, ZenithThresholdIntercept;
double HorizonRadius2;
TCheckedArray<double, 256> Histogram;
TCheckedArray<TCheckedArray<int32_t, 256>, 91> ZenithHistogram;
TCheckedArray<TCheckedArray<double, 3>, 4> SepColorSums;

void ResetAnalysisState() {
    DrawResults = true;
    ForceWholeImage = false;
    SettingsOverridden = false;
    KeepAnalysisImage = false;
    ThresholdHistogramRead = false;
    SavedBinarizeTarget = SavedThresholdCondition = SavedThresholdMethod = SavedFixedThreshold = 0;
    RGBThresholdR = RGBThresholdG = RGBThresholdB = 0;
    ChannelSpanR = ChannelSpanG = ChannelSpanB = 0;
    ZenithThresholdSlope = ZenithThresholdIntercept = 0.0;
    HorizonRadius2 = 0.0;
    Histogram = {};
    ZenithHistogram = {};
    SepColorSums = {};
}

namespace {

// DrawResults holds from start-up on, before any analysis reads it.
[[maybe_unused]] const bool kStateSet = (ResetAnalysisState(), true);

}  // namespace

}  // namespace tam32
