#include "analysis/AnalysisArea.h"

#include <algorithm>
#include <cmath>

#include "analysis/AnalysisImage.h"
#include "analysis/AnalysisState.h"
#include "analysis/GlobalSettings.h"
#include "analysis/LensProjection.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

bool InCircle(double X, double Y) {
    const double Dx = X - CircleCentreX(), Dy = Y - CircleCentreY();
    return Dx * Dx + Dy * Dy <= HorizonRadius2;
}

}  // namespace

// The azimuth sector between the two bounds, bounds included, is left out.
bool KeptByAzimuthMask(int X, int Y) {
    if (!AzimuthMaskUse) return true;
    double A = PixelAzimuth(X, Y) - NorthForAnalysis;
    if (A < 0.0) A += 360.0;
    if (AzimuthMaskAscending) return A < AzimuthMaskFrom || A > AzimuthMaskTo;
    return A < AzimuthMaskFrom && A > AzimuthMaskTo;
}

bool InAnalysisArea(int X, int Y) {
    if (!CircleSet) return true;
    if (!InCircle(X, Y)) return false;
    if (SlopeCorrection && PixelZenith(X, Y) > 90.0) return false;
    return KeptByAzimuthMask(X, Y);
}

TColumnSpan CircleRowSpan(int Y, const TRect& Area) {
    if (!CircleSet) return {Area.Left, Area.Right};
    const double Cx = CircleCentreX(), Dy = Y - CircleCentreY();
    const double Rest = HorizonRadius2 - Dy * Dy;
    if (!(Rest >= 0.0) || Area.Left > Area.Right) return {};
    const double Half = std::sqrt(Rest);
    // Start from the rounded ends, held to the area (a circle may be
    // boundless), and settle them with the exact test.
    const double Lo = Area.Left, Hi = Area.Right;
    double First = std::clamp(std::ceil(Cx - Half), Lo, Hi + 1.0);
    double Last = std::clamp(std::floor(Cx + Half), Lo - 1.0, Hi);
    while (First <= Last && !InCircle(First, Y)) ++First;
    while (First > Lo && InCircle(First - 1.0, Y)) --First;
    while (Last >= First && !InCircle(Last, Y)) --Last;
    while (Last < Hi && InCircle(Last + 1.0, Y)) ++Last;
    return {int(First), int(Last)};
}

bool KeptWithZenith(int X, int Y, double& Zenith) {
    Zenith = PixelZenith(X, Y);
    if (SlopeCorrection && Zenith > 90.0) return false;
    return KeptByAzimuthMask(X, Y);
}

bool BuildHistogram(int Mode, const TRect& Rect) {
    if (CircleSet) HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    Histogram.fill(0.0);
    RGBHistogram.fill(0.0);
    TargetRGBHistogram.fill(0.0);
    const TRect Area = ClipToAnalysisImage(Rect);
    if (Mode != 0 && (BinarizeTarget < 0 || BinarizeTarget > 2)) throw ERangeError(kRangeCheckError);
    const int Channel = 2 - BinarizeTarget;
    const bool SlopeCheck = CircleSet && SlopeCorrection, MaskCheck = CircleSet && AzimuthMaskUse;
    bool Counted = false;
    for (int Y = Area.Top; Y <= Area.Bottom; ++Y) {
        const uint8_t* Row = AnalysisImage->GetScanLine(Y);
        const TColumnSpan Span = CircleRowSpan(Y, Area);
        for (int X = Span.First; X <= Span.Last; ++X) {
            // The slope test finds the zenith that mode 2 needs as well.
            const double Zenith = SlopeCheck || Mode == 2 ? PixelZenith(X, Y) : 0.0;
            if (SlopeCheck && Zenith > 90.0) continue;
            if (MaskCheck && !KeptByAzimuthMask(X, Y)) continue;
            const uint8_t* P = Row + std::size_t(X) * 3;
            Counted = true;
            if (Mode == 0) {
                RGBHistogram[P[2]] += 1.0;
                RGBHistogram[256 + P[1]] += 1.0;
                RGBHistogram[512 + P[0]] += 1.0;
            } else if (Mode == 1) {
                Histogram[P[Channel]] += 1.0;
            } else {
                ZenithHistogram[Round(Zenith)][P[Channel]] += 1;
            }
        }
    }
    return !Counted;
}

}  // namespace tam32
