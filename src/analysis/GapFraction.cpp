#include "analysis/GapFraction.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "analysis/AnalysisArea.h"
#include "analysis/AnalysisImage.h"
#include "analysis/AnalysisState.h"
#include "analysis/EngineHost.h"
#include "analysis/GapFractionPixels.h"
#include "analysis/GlobalSettings.h"
#include "analysis/LensProjection.h"
#include "analysis/MaskPicture.h"
#include "analysis/Messages.h"
#include "analysis/RadialGeometry.h"
#include "analysis/RowProgress.h"
#include "analysis/RunSeries.h"
#include "analysis/SettingsCheck.h"
#include "analysis/TargetPixels.h"
#include "platform/Bitmap.h"
#include "platform/PixelBits.h"

namespace tam32 {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

}  // namespace

bool TGapTallies::Empty() const {
    for (double All : Rings[0])
        if (All > 0.0) return false;
    return true;
}

void TGapTallies::Add(const TGapTallies& Later) {
    for (int K = 0; K < 6; ++K)
        for (int I = 0; I < 2; ++I) Rings[I][K] += Later.Rings[I][K];
    for (int C = 0; C < 3; ++C)
        for (int K = 0; K < 6; ++K) RingSums[C][K] += Later.RingSums[C][K];
    for (int B = 0; B <= 90; ++B) {
        for (int I = 0; I < 2; ++I) Bands[I][B] += Later.Bands[I][B];
        for (int C = 0; C < 3; ++C) {
            BandSums[C][B] += Later.BandSums[C][B];
            BandMax[C][B] = std::max(BandMax[C][B], Later.BandMax[C][B]);
        }
    }
    Sky += Later.Sky;
}

void TGapTallies::Publish() const {
    for (int K = 0; K < 6; ++K) {
        RingCounts[0][K] = Rings[0][K];
        RingCounts[1][K] = Rings[1][K];
        for (int C = 0; C < 3; ++C) RingColorSums[C][K] = RingSums[C][K];
    }
    for (int B = 0; B <= 90; ++B) {
        ZenithCounts[0][B] = Bands[0][B];
        ZenithCounts[1][B] = Bands[1][B];
        for (int C = 0; C < 3; ++C) {
            ZenithColorSums[C][B] = BandSums[C][B];
            ZenithColorMax[C][B] = BandMax[C][B];
        }
    }
    SkyFactor = 100.0 * Sky;
}

double SkyWeight(double Radius, double LensZenith, double Zenith) {
    // Solid angle per unit image area is sin(theta) * dtheta/dr / r, theta
    // the lens zenith; at the very centre sin(theta) / r tends to dtheta/dr.
    const double Slope = ZenithSlopePerPixel(Radius);
    const double SinOverR = Radius > 1e-9 ? std::sin(LensZenith * kDeg) / Radius : Slope;
    return std::cos(Zenith * kDeg) * SinOverR * Slope / std::numbers::pi;
}

double SkyWeight(double Radius, double Zenith) { return SkyWeight(Radius, RadiusToZenith(Radius), Zenith); }

bool OpenGapFractionImage(const QString& FileName) {
    if (!CircleSet || CircleRadius() <= 0.0) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return true;
    }
    if (CheckGapFractionSettings()) return true;
    if (OpenAnalysisImage(FileName)) {
        ShowErrorMessage(QStringLiteral("ERR14"));
        return true;
    }
    return false;
}

namespace {

// A fixed threshold on one channel needs no pass over the area: its
// histogram is cleared as its count would begin, and an area without a pixel
// shows in the gap count itself.
bool PrepareFixedChannelThreshold() {
    Histogram.fill(0.0);
    RGBHistogram.fill(0.0);
    TargetRGBHistogram.fill(0.0);
    return DetermineThreshold(false);
}

}  // namespace

bool PrepareGapFractionArea(const TRect& Area, TRect& Box) {
    HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    for (auto& Row : ZenithHistogram) Row.fill(0);
    Box = ClipToAnalysisImage(Area);
    const bool FixedChannel = ThresholdMethod == 2 && BinarizeTarget >= 0 && BinarizeTarget <= 2;
    if (!(FixedChannel && !ThresholdHistogramRead ? PrepareFixedChannelThreshold()
                                                   : PrepareClassification(true, Box)))
        return false;
    ShowErrorMessage(QStringLiteral("ERR17"));
    return true;
}

namespace {

// What one block of rows counts: its tallies and, while the threshold line
// is in use, the threshold of the last pixel it tested.
struct TBlockCounts {
    TGapTallies Tallies;
    int32_t Threshold = 0;
};

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
                       const TPictureRows& Picture, bool ZenithLine, TPixelBits* Gaps, TBlockCounts& Counts) {
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

// The analysis, the gap image painted into Image, or its marks moved into
// HandedGaps when given.
bool AnalyseGapFraction(const QString& FileName, TBitmap& Image, const TRect& Area, TPixelBits* HandedGaps) {
    if (OpenGapFractionImage(FileName)) return true;
    TAnalysisRun Run;
    // The thresholds' histogram and the count share the run's geometry.
    const TRunSeries Series;
    TRect Box;
    if (PrepareGapFractionArea(Area, Box)) return true;
    // The gaps are marked as bits while the pixels are counted; the gap
    // picture is painted from them once the analysis image and the geometry,
    // unless kept, are gone.
    const bool Drawn = DrawResults;
    TPixelBits Gaps = Drawn ? TPixelBits(AnalysisImage->Width(), AnalysisImage->Height()) : TPixelBits();
    const bool ZenithLine = ZenithLineInUse(true);
    std::shared_ptr<const TRadialGeometry> Radial = SeriesRadialGeometry(Box);
    const TPictureRows Picture;
    TBlockSlots<TBlockCounts> Blocks;
    TBlockCounts All;
    bool Tested = false;
    ForEachRowBlock(
        Box.Top, Box.Bottom,
        [&](const TRowBlock& Block) {
            TBlockCounts& Counts = Blocks[Block.Slot];
            Counts = {};
            Counts.Threshold = FixedThreshold;
            if (Radial->Usable())
                return CountBlockByTable(Block, Box, *Radial, Picture, ZenithLine, Drawn ? &Gaps : nullptr, Counts);
            TGapTallies& T = Counts.Tallies;
            ForEachCountedPixel(
                Block, Box, *Radial, Picture, ZenithLine, [&](const TCountedPixel& Pixel) {
                    T.CountPixel(Pixel);
                    const uint8_t* P = Pixel.Bytes;
                    if (!IsTargetBytesAt(true, P, Pixel.Weighting, Counts.Threshold)) return;
                    if (Drawn) Gaps.Set(Pixel.X, Pixel.Y);
                    T.Rings[1][Pixel.Ring] += 1.0;
                    T.Bands[1][Pixel.Band] += 1.0;
                    T.Sky += Pixel.SkyWeight();
                    for (int C = 0; C < 3; ++C)
                        T.BandMax[C][Pixel.Band] = std::max<double>(T.BandMax[C][Pixel.Band], P[2 - C]);
                });
        },
        [&](const TRowBlock& Block) {
            const TBlockCounts& Counts = Blocks[Block.Slot];
            All.Tallies.Add(Counts.Tallies);
            // Every counted pixel is tested.
            if (!Counts.Tallies.Empty()) {
                All.Threshold = Counts.Threshold;
                Tested = true;
            }
            ShowLinesFinished(Block);
        });
    // The threshold line leaves the threshold of the last pixel tested in force.
    if (ZenithLine && Tested) FixedThreshold = All.Threshold;
    // Targets that need no histogram of the area get here without a pixel.
    if (All.Tallies.Empty()) {
        ShowErrorMessage(QStringLiteral("ERR17"));
        return true;
    }
    All.Tallies.Publish();
    // The gap picture takes the freed image's pixel block when it can.
    QImage Room;
    if (KeepAnalysisImage) {
        Run.Keep();
    } else {
        if (Drawn && !HandedGaps) Room = AnalysisImage->ReleaseAsImage(false);
        FreeAnalysisImage();
    }
    Radial.reset();
    if (Drawn && HandedGaps)
        *HandedGaps = std::move(Gaps);
    else if (Drawn)
        Image.SetImage(MaskPicture(Gaps, nullptr, 0, std::move(Room)));
    ShowInstructionMessage(QStringLiteral("MSG10"));
    return false;
}

}  // namespace

bool GapFractionAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area) {
    return AnalyseGapFraction(FileName, Image, Area, nullptr);
}

bool GapFractionAnalysisUnpainted(const QString& FileName, TBitmap& Image, const TRect& Area, TPixelBits& Gaps) {
    return AnalyseGapFraction(FileName, Image, Area, &Gaps);
}

}  // namespace tam32
