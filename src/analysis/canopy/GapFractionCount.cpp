#include "analysis/canopy/GapFractionCount.h"

#include <algorithm>
#include <functional>

#include "analysis/geometry/AnalysisArea.h"
#include "platform/PixelBits.h"

namespace tam32 {
namespace {

// The counts of a stretch of neighbouring pixels of one zenith band, kept
// in registers and added to the tallies at the stretch's end: the band of a
// row changes every dozen pixels or so, and adding every pixel to the
// tallies' doubles makes each wait for the one before. The tallies are whole
// numbers, so they come out the same however they are grouped.
struct TBandRun {
    uint64_t All = 0, Gaps = 0;
    uint64_t Red = 0, Green = 0, Blue = 0;
    uint8_t RedMax = 0, GreenMax = 0, BlueMax = 0;

    // Without a branch on Gap: sky and canopy pixels alternate at random.
    void Count(const uint8_t* Pixel, bool Gap) {
        const uint8_t B = Pixel[0], G = Pixel[1], R = Pixel[2];
        ++All;
        Gaps += Gap;
        Red += R;
        Green += G;
        Blue += B;
        RedMax = std::max(RedMax, Gap ? R : uint8_t(0));
        GreenMax = std::max(GreenMax, Gap ? G : uint8_t(0));
        BlueMax = std::max(BlueMax, Gap ? B : uint8_t(0));
    }
    void AddTo(TGapTallies& T, int Band) const {
        const int Ring = BandRing(Band);
        const double Sums[3] = {double(Red), double(Green), double(Blue)};
        const uint8_t Max[3] = {RedMax, GreenMax, BlueMax};
        T.Rings[0][Ring] += double(All);
        T.Bands[0][Band] += double(All);
        T.Rings[1][Ring] += double(Gaps);
        T.Bands[1][Band] += double(Gaps);
        for (int C = 0; C < 3; ++C) {
            T.RingSums[C][Ring] += Sums[C];
            T.BandSums[C][Band] += Sums[C];
            T.BandMax[C][Band] = std::max<double>(T.BandMax[C][Band], Max[C]);
        }
    }
};

// Counts the kept runs of the rows of Block by the geometry table, in the
// order of the pixel-by-pixel count, so that the sky factor's sum is the same
// to the last bit. IsGap(Pixel, Geometry, X) decides a pixel.
template <typename TIsGap>
void CountBlockByRuns(const TRowBlock& Block, const TRect& Box, const TRadialGeometry& Radial,
                      const TPictureRows& Picture, TPixelBits* Gaps, TGapTallies& T, TIsGap&& IsGap) {
    TAzimuthMaskRuns Mask;
    for (int Y = Block.First; Y <= Block.Last; ++Y) {
        const std::vector<TColumnSpan>& Runs = Mask.Kept(Y, CircleRowSpan(Y, Box));
        if (Runs.empty()) continue;
        const uint8_t* Row = Picture.Row(Y);
        const TRadialGeometry::TRow Geometry = Radial.Row(Y);
        for (const TColumnSpan& Run : Runs) {
            // Adding nothing for a canopy pixel leaves the sum as it was.
            double Sky = T.Sky;
            const uint8_t* P = Row + std::size_t(Run.First) * 3;
            for (int X = Run.First; X <= Run.Last;) {
                const int Band = Geometry.Band(X);
                TBandRun Current;
                for (; X <= Run.Last && Geometry.Band(X) == Band; ++X, P += 3) {
                    const bool Gap = IsGap(P, Geometry, X);
                    Current.Count(P, Gap);
                    if (Gaps) Gaps->Mark(X, Y, Gap);
                    Sky += Gap ? Geometry.SkyWeight(X) : 0.0;
                }
                Current.AddTo(T, Band);
            }
            T.Sky = Sky;
        }
    }
}

// The block's count by the table: a threshold on one channel is tested
// with the settings held in registers, any other target as every pass tests it.
void CountBlockByTable(const TRowBlock& Block, const TRect& Box, const TRadialGeometry& Radial,
                       const TPictureRows& Picture, bool ZenithLine, TPixelBits* Gaps, TGapBlockCounts& Counts) {
    if (BinarizeTarget >= 0 && BinarizeTarget <= 2 && !ZenithLine) {
        const int Channel = 2 - BinarizeTarget;
        const int32_t Threshold = Counts.Threshold;
        const auto Test = [Channel, Threshold](auto Compare) {
            return [Channel, Threshold, Compare](const uint8_t* P, const TRadialGeometry::TRow&, int) {
                return Compare(int(P[Channel]), Threshold);
            };
        };
        const auto CountBy = [&](auto IsGap) {
            CountBlockByRuns(Block, Box, Radial, Picture, Gaps, Counts.Tallies, IsGap);
        };
        switch (ThresholdCondition) {
            case 0:
            case 3: return CountBy(Test(std::greater_equal<>()));
            case 1: return CountBy(Test(std::less_equal<>()));
            case 2: return CountBy(Test(std::equal_to<>()));
            default: return CountBy([](auto&&...) { return false; });
        }
    }
    CountBlockByRuns(Block, Box, Radial, Picture, Gaps, Counts.Tallies,
                     [&](const uint8_t* P, const TRadialGeometry::TRow& Geometry, int X) {
                         return IsTargetBytesAt(true, P, ZenithLine ? Geometry.Weighting(X) : 0.0, Counts.Threshold);
                     });
}

}  // namespace

void CountGapBlock(const TRowBlock& Block, const TRect& Box, const TRadialGeometry& Radial,
                   const TPictureRows& Picture, bool ZenithLine, TPixelBits* Gaps, TGapBlockCounts& Counts) {
    Counts = {};
    Counts.Threshold = FixedThreshold;
    if (Radial.Usable()) return CountBlockByTable(Block, Box, Radial, Picture, ZenithLine, Gaps, Counts);
    TGapTallies& T = Counts.Tallies;
    ForEachCountedPixel(Block, Box, Radial, Picture, ZenithLine, [&](const TCountedPixel& Pixel) {
        T.CountPixel(Pixel);
        const uint8_t* P = Pixel.Bytes;
        if (!IsTargetBytesAt(true, P, Pixel.Weighting, Counts.Threshold)) return;
        if (Gaps) Gaps->Set(Pixel.X, Pixel.Y);
        T.Rings[1][Pixel.Ring] += 1.0;
        T.Bands[1][Pixel.Band] += 1.0;
        T.Sky += Pixel.SkyWeight();
        for (int C = 0; C < 3; ++C) T.BandMax[C][Pixel.Band] = std::max<double>(T.BandMax[C][Pixel.Band], P[2 - C]);
    });
}

}  // namespace tam32
