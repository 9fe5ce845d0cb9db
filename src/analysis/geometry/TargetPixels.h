#pragma once
// The target-pixel decision of every analysis: the thresholds prepared for
// the chosen target and the per-pixel test. Targets: 0 red, 1 green, 2 blue
// against the threshold (or the zenith-dependent threshold line), 4 colour
// search, 5 all three channels against their own thresholds, 3 the groups
// of the active classifier that RecognizedGroups names.
#include <cstdint>
#include <cstdlib>

#include "analysis/core/AnalysisState.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "platform/Rounding.h"
#include "platform/WinTypes.h"

namespace tam32 {

// g(z) of the zenith-dependent threshold model ZenithThresholdType 1..4.
double ZenithWeighting(double Zenith);
// True when a run that asks for the zenith (UseZenith) tests against the
// fitted threshold line: a model is chosen and the method is not Fixed, which
// fits no line.
inline bool ZenithLineInUse(bool UseZenith) { return UseZenith && ZenithThresholdType != 0 && ThresholdMethod != 2; }

// Fits the zenith threshold line, or sets FixedThreshold; True on failure.
bool DetermineThreshold(bool UseZenith);
// Everything IsTargetPixel needs for BinarizeTarget over Rect; True on failure.
bool PrepareClassification(bool UseZenith, const TRect& Rect);
// Says why PrepareClassification failed over Rect: "ERR31" when Rect holds
// no pixel of the analysis area, else "ERR17".
void ShowClassificationFailure(const TRect& Rect);
// False outside the analysis image: nothing is known of the sky there.
bool IsTargetPixel(bool UseZenith, int X, int Y);
class TPictureRows;
// The same on Picture with the threshold kept in Threshold (see
// IsTargetBytesAt), for the analysis threads.
bool IsTargetPixelAt(const TPictureRows& Picture, bool UseZenith, int X, int Y, int32_t& Threshold);

inline bool CompareWithThreshold(int Value, int32_t Threshold) {
    switch (ThresholdCondition) {
        case 0:
        case 3: return Value >= Threshold;
        case 1: return Value <= Threshold;
        case 2: return Value == Threshold;
        default: return false;
    }
}
inline bool CompareWithThreshold(int Value) { return CompareWithThreshold(Value, FixedThreshold); }

namespace detail {
inline bool WithinTolerance(int Value, int Reference, int Span, int Tolerance) {
    const int Difference = std::abs(Value - Reference);
    if (!ColorSearchPercent) return Difference <= Tolerance;
    return RoundInt(double(Difference) / Span * 100.0) <= Tolerance;
}
}  // namespace detail

// The test of IsTargetPixel for a pixel's bytes (blue, green, red) and the
// ZenithWeighting of its zenith, which is only read when the zenith line is
// in use (pixel loops take it from a table). The threshold line's threshold
// at that zenith becomes Threshold, the threshold compared with (passes on
// several threads keep their own). Inline: pixel loops call it.
inline bool IsTargetBytesAt(bool UseZenith, const uint8_t* Pixel, double Weighting, int32_t& Threshold) {
    const int R = Pixel[2], G = Pixel[1], B = Pixel[0];
    switch (BinarizeTarget) {
        case 0:
        case 1:
        case 2:
            if (ZenithLineInUse(UseZenith))
                Threshold = RoundInt(ZenithThresholdSlope * Weighting + ZenithThresholdIntercept);
            return CompareWithThreshold(Pixel[2 - BinarizeTarget], Threshold);
        case 3:
            return RecognizedGroups[PreparedClassifier.ClassifyBytes(Pixel)];
        case 4:
            return detail::WithinTolerance(R, ColorSearchValue1, ChannelSpanR, ColorSearchToleranceR) &&
                   detail::WithinTolerance(G, ColorSearchValue2, ChannelSpanG, ColorSearchToleranceG) &&
                   detail::WithinTolerance(B, ColorSearchValue3, ChannelSpanB, ColorSearchToleranceB);
        case 5:
            switch (ThresholdCondition) {
                case 0: return R >= RGBThresholdR && G >= RGBThresholdG && B >= RGBThresholdB;
                case 1: return R <= RGBThresholdR && G <= RGBThresholdG && B <= RGBThresholdB;
                default: return R == RGBThresholdR && G == RGBThresholdG && B == RGBThresholdB;
            }
        default:
            return false;
    }
}

// The same with FixedThreshold as the threshold, for a single thread.
inline bool IsTargetBytes(bool UseZenith, const uint8_t* Pixel, double Weighting) {
    return IsTargetBytesAt(UseZenith, Pixel, Weighting, FixedThreshold);
}

}  // namespace tam32
