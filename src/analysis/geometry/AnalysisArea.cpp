#include "analysis/geometry/AnalysisArea.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <optional>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/RadialGeometry.h"
#include "analysis/geometry/SeriesRadialGeometry.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
// Farther from a line through the centre than this many pixels, the rounding
// of an azimuth (some 1e-13 degrees) cannot take a pixel across it: at a
// distance of 1e6 pixels it is still 6e-8 degrees away.
constexpr double kNearLine = 1e-3;

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

TAzimuthMaskRuns::TAzimuthMaskRuns() {
    FMasked = CircleSet && AzimuthMaskUse;
    if (!FMasked) return;
    FCentreX = CircleCentreX();
    FCentreY = CircleCentreY();
    // The answer changes only where the azimuth wraps (the +x axis), where
    // the azimuth from north wraps and where it meets either bound.
    const double Angles[] = {0.0, NorthForAnalysis, AzimuthMaskFrom + NorthForAnalysis,
                             AzimuthMaskTo + NorthForAnalysis};
    FByLines = std::isfinite(FCentreX) && std::isfinite(FCentreY);
    for (std::size_t I = 0; I < FSin.size(); ++I) {
        FSin[I] = std::sin(Angles[I] * kDeg);
        FCos[I] = std::cos(Angles[I] * kDeg);
        FByLines = FByLines && std::isfinite(FSin[I]);
    }
}

void TAzimuthMaskRuns::Add(int First, int Last, bool Keep) {
    if (!Keep) return;
    if (!FRuns.empty() && FRuns.back().Last == First - 1)
        FRuns.back().Last = Last;
    else
        FRuns.push_back({First, Last});
}

const std::vector<TColumnSpan>& TAzimuthMaskRuns::Kept(int Y, TColumnSpan Span) {
    FRuns.clear();
    if (Span.First > Span.Last) return FRuns;
    if (!FMasked) {
        FRuns.push_back(Span);
        return FRuns;
    }
    // The columns next to each line, where every pixel is tested.
    std::array<TColumnSpan, 4> Near;
    const double Up = FCentreY - Y, Lo = Span.First, Hi = Span.Last;
    for (std::size_t I = 0; I < Near.size(); ++I) {
        if (!FByLines) {
            Near[I] = Span;
        } else if (FSin[I] == 0.0) {
            // A line along the row: the row lies on it or wholly beside it.
            if (std::fabs(Up * FCos[I]) < kNearLine) Near[I] = Span;
        } else {
            // The crossing, widened for pixels that lie near the line on either side.
            const double Cross = FCentreX + Up * FCos[I] / FSin[I], Reach = kNearLine / std::fabs(FSin[I]) + 2.0;
            const double First = std::clamp(std::floor(Cross - Reach), Lo, Hi + 1.0);
            const double Last = std::clamp(std::ceil(Cross + Reach), Lo - 1.0, Hi);
            if (!std::isfinite(Cross + Reach))
                Near[I] = Span;
            else if (First <= Last)
                Near[I] = {int(First), int(Last)};
        }
    }
    std::sort(Near.begin(), Near.end(), [](TColumnSpan A, TColumnSpan B) { return A.First < B.First; });
    int X = Span.First;
    for (const TColumnSpan& Window : Near) {
        if (Window.First > Window.Last || Window.Last < X) continue;
        if (Window.First > X) Add(X, Window.First - 1, KeptByAzimuthMask(X, Y));
        for (X = std::max(X, Window.First); X <= Window.Last; ++X) Add(X, X, KeptByAzimuthMask(X, Y));
    }
    if (X <= Span.Last) Add(X, Span.Last, KeptByAzimuthMask(X, Y));
    return FRuns;
}

bool KeptWithZenith(int X, int Y, double& Zenith) {
    Zenith = PixelZenith(X, Y);
    if (SlopeCorrection && Zenith > 90.0) return false;
    return KeptByAzimuthMask(X, Y);
}

namespace {

// The whole degree of a zenith of the analysis area, which ends at zenith 90.
int ZenithDegree(double Zenith) {
    const int64_t Degree = Round(Zenith);
    if (Degree < 0 || Degree > 90) throw ERangeError(kRangeCheckError);
    return int(Degree);
}

// Calls Count(Counts, pixel bytes, zenith degree) for every pixel of the
// analysis area in Area on the analysis threads, each block of rows into
// Counts of its own (TCounts{} to start), the degree only when NeedZenith
// (else 0); adds the blocks' Counts up into Total (TCounts::Add). The number
// of pixels.
template <typename TCounts, typename TCount>
int64_t CountAreaPixels(const TRect& Area, bool NeedZenith, TCounts& Total, TCount&& Count) {
    const bool SlopeCheck = CircleSet && SlopeCorrection;
    std::shared_ptr<const TRadialGeometry> Radial;
    if (NeedZenith && CircleSet) Radial = SeriesRadialGeometry(Area);
    const bool ByTable = Radial && Radial->Usable();
    const bool PerPixel = !ByTable && (NeedZenith || SlopeCheck);
    const TPictureRows Picture;
    struct TBlock {
        TCounts Counts;
        int64_t Pixels = 0;
    };
    TBlockSlots<TBlock> Blocks;
    int64_t Pixels = 0;
    ForEachRowBlock(
        Area.Top, Area.Bottom,
        [&](const TRowBlock& Rows) {
            TBlock& Block = Blocks[Rows.Slot];
            Block = {};
            TAzimuthMaskRuns Mask;
            for (int Y = Rows.First; Y <= Rows.Last; ++Y) {
                const uint8_t* Row = Picture.Row(Y);
                const std::vector<TColumnSpan>& Runs = Mask.Kept(Y, CircleRowSpan(Y, Area));
                if (Runs.empty()) continue;
                std::optional<TRadialGeometry::TRow> Geometry;
                if (ByTable) Geometry = Radial->Row(Y);
                for (const TColumnSpan& Run : Runs) {
                    const uint8_t* P = Row + std::size_t(Run.First) * 3;
                    for (int X = Run.First; X <= Run.Last; ++X, P += 3) {
                        int Degree = 0;
                        if (ByTable) {
                            Degree = Geometry->Degree(X);
                        } else if (PerPixel) {
                            const double Zenith = PixelZenith(X, Y);
                            if (SlopeCheck && Zenith > 90.0) continue;
                            if (NeedZenith) Degree = ZenithDegree(Zenith);
                        }
                        Count(Block.Counts, P, Degree);
                        ++Block.Pixels;
                    }
                }
            }
        },
        [&](const TRowBlock& Rows) {
            const TBlock& Block = Blocks[Rows.Slot];
            Total.Add(Block.Counts);
            Pixels += Block.Pixels;
        });
    return Pixels;
}

// Pixel counts of N bins.
template <std::size_t N>
struct TBinCounts {
    std::array<int64_t, N> Bins{};
    void Add(const TBinCounts& Other) {
        for (std::size_t I = 0; I < N; ++I) Bins[I] += Other.Bins[I];
    }
};

}  // namespace

// Counts go to plain local arrays and reach the program-wide ones at the end.
bool AreaHoldsNoPixel(const TRect& Rect) {
    TBinCounts<1> Counts;
    return CountAreaPixels(ClipToAnalysisImage(Rect), false, Counts, [](TBinCounts<1>&, const uint8_t*, int) {}) == 0;
}

bool BuildHistogram(int Mode, const TRect& Rect) {
    if (CircleSet) HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    Histogram.fill(0.0);
    RGBHistogram.fill(0.0);
    // The area histogram leaves the target counts of the last analysis to the
    // histogram window's analysed view.
    if (Mode != 0) TargetRGBHistogram.fill(0.0);
    const TRect Area = ClipToAnalysisImage(Rect);
    if (Mode != 0 && (BinarizeTarget < 0 || BinarizeTarget > 2)) throw ERangeError(kRangeCheckError);
    const int Channel = 2 - BinarizeTarget;
    if (Mode == 0) {
        TBinCounts<768> Counts;
        const int64_t Pixels = CountAreaPixels(Area, false, Counts, [](TBinCounts<768>& C, const uint8_t* P, int) {
            ++C.Bins[P[2]];
            ++C.Bins[256 + P[1]];
            ++C.Bins[512 + P[0]];
        });
        for (std::size_t I = 0; I < Counts.Bins.size(); ++I) RGBHistogram[I] = double(Counts.Bins[I]);
        return Pixels == 0;
    }
    if (Mode == 1) {
        TBinCounts<256> Counts;
        const int64_t Pixels = CountAreaPixels(
            Area, false, Counts, [Channel](TBinCounts<256>& C, const uint8_t* P, int) { ++C.Bins[P[Channel]]; });
        for (std::size_t I = 0; I < Counts.Bins.size(); ++I) Histogram[I] = double(Counts.Bins[I]);
        return Pixels == 0;
    }
    // The gap fraction analysis clears ZenithHistogram before its run.
    TBinCounts<91 * 256> Counts;
    const int64_t Pixels =
        CountAreaPixels(Area, true, Counts, [Channel](TBinCounts<91 * 256>& C, const uint8_t* P, int Degree) {
            ++C.Bins[std::size_t(Degree) * 256 + P[Channel]];
        });
    for (int Z = 0; Z <= 90; ++Z)
        for (int V = 0; V <= 255; ++V)
            ZenithHistogram[Z][V] =
                CheckedCast<int32_t>(ZenithHistogram[Z][V] + Counts.Bins[std::size_t(Z) * 256 + std::size_t(V)]);
    return Pixels == 0;
}

}  // namespace tam32
