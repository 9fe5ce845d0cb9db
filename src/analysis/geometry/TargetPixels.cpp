#include "analysis/geometry/TargetPixels.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/PictureRows.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/Thresholds.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

// Highest minus lowest value with a count, plus one, of channel bins Offset..Offset + 255.
int ChannelSpan(int Offset) {
    int Lo = -1, Hi = -1;
    for (int I = 0; I <= 255; ++I)
        if (RGBHistogram[Offset + I] > 0.0) {
            if (Lo < 0) Lo = I;
            Hi = I;
        }
    return Lo < 0 ? 0 : Hi - Lo + 1;
}

}  // namespace

double ZenithWeighting(double Zenith) {
    const double Z = Zenith * std::numbers::pi / 180.0;
    const double C = std::cos(Z);
    switch (ZenithThresholdType) {
        case 1: return C * (2.0 * C + 1.0);
        case 2: return C;
        case 3: return std::pow(C * (2.0 * C + 1.0), 2);
        case 4: return std::tan(Z) * C;
        default: return 0.0;
    }
}


bool DetermineThreshold(bool UseZenith) {
    if (!(ZenithThresholdType != 0 && UseZenith)) {
        FixedThreshold = AutoThreshold();
        return FixedThreshold < 0;
    }
    double N = 0.0, Sx = 0.0, Sxx = 0.0, Sy = 0.0, Sxy = 0.0;
    for (int Z = 0; Z <= 90; ++Z) {
        for (int V = 0; V <= 255; ++V) Histogram[V] = ZenithHistogram[Z][V];
        const int T = AutoThreshold();
        if (T <= 0) continue;
        const double X = ZenithWeighting(Z), Y = T;
        N += 1.0;
        Sx += X;
        Sxx += X * X;
        Sy += Y;
        Sxy += X * Y;
    }
    if (N < 2.0) return true;
    ZenithThresholdSlope = (Sxy - Sx * Sy / N) / (Sxx - Sx * Sx / N);
    ZenithThresholdIntercept = Sy / N - ZenithThresholdSlope * Sx / N;
    return false;
}

bool PrepareClassification(bool UseZenith, const TRect& Rect) {
    switch (BinarizeTarget) {
        case 0:
        case 1:
        case 2:
            if (BuildHistogram(ZenithLineInUse(UseZenith) ? 2 : 1, Rect)) return true;
            return DetermineThreshold(ZenithLineInUse(UseZenith));
        case 3:
            // A classifier of two groups at least.
            PreparedClassifier = TClassifierScores::Active();
            return !ClassifyDone || PreparedClassifier.LastGroup() < 1;
        case 5: {
            if (ThresholdMethod == 2) return false;
            if (BuildHistogram(0, Rect)) return true;
            int* const Thresholds[] = {&RGBThresholdR, &RGBThresholdG, &RGBThresholdB};
            for (int C = 0; C < 3; ++C) {
                for (int V = 0; V <= 255; ++V) Histogram[V] = RGBHistogram[C * 256 + V];
                // The per-channel test has no zenith line, so none is fitted.
                if (DetermineThreshold(false)) return true;
                *Thresholds[C] = FixedThreshold;
            }
            return false;
        }
        case 4:
            if (!ColorSearchPercent) return false;
            if (BuildHistogram(0, Rect)) return true;
            ChannelSpanR = ChannelSpan(0);
            ChannelSpanG = ChannelSpan(256);
            ChannelSpanB = ChannelSpan(512);
            return false;
        default:
            return false;
    }
}

void ShowClassificationFailure(const TRect& Rect) {
    ShowErrorMessage(AreaHoldsNoPixel(Rect) ? QStringLiteral("ERR31") : QStringLiteral("ERR17"));
}

bool IsTargetPixel(bool UseZenith, int X, int Y) {
    return AnalysisImage && IsTargetPixelAt(TPictureRows(), UseZenith, X, Y, FixedThreshold);
}

bool IsTargetPixelAt(const TPictureRows& Picture, bool UseZenith, int X, int Y, int32_t& Threshold) {
    if (!Picture.Contains(X, Y)) return false;
    const double Weighting = ZenithLineInUse(UseZenith) ? ZenithWeighting(PixelZenith(X, Y)) : 0.0;
    return IsTargetBytesAt(UseZenith, Picture.Row(Y) + std::size_t(X) * 3, Weighting, Threshold);
}

}  // namespace tam32
