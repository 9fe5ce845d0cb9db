#include "analysis/canopy/FixedThresholdSeries.h"

#include <algorithm>
#include <cstdint>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/RowProgress.h"
#include "analysis/geometry/SeriesRadialGeometry.h"
#include "analysis/geometry/TargetPixels.h"

namespace tam32 {
namespace {

// The thresholds First..Last at which a pixel of one value is a target.
struct TThresholdRange {
    int First = 0, Last = -1;
};

// For each channel value, from the threshold test itself.
std::array<TThresholdRange, 256> TargetThresholds() {
    std::array<TThresholdRange, 256> Ranges;
    for (int V = 0; V <= 255; ++V)
        for (int T = 0; T <= 255; ++T) {
            if (!CompareWithThreshold(V, T)) continue;
            if (Ranges[V].First > Ranges[V].Last) Ranges[V].First = T;
            Ranges[V].Last = T;
        }
    return Ranges;
}

}  // namespace

// The pixels of each value, per ring and band, and the brightest colours among them per band.
struct TFixedThresholdSeries::TValueCounts {
    int64_t Rings[6][256] = {};
    int64_t Bands[91][256] = {};
    uint8_t BandMax[3][91][256] = {};

    void Add(const TValueCounts& Other) {
        for (int K = 0; K < 6; ++K)
            for (int V = 0; V <= 255; ++V) Rings[K][V] += Other.Rings[K][V];
        for (int B = 0; B <= 90; ++B)
            for (int V = 0; V <= 255; ++V) {
                Bands[B][V] += Other.Bands[B][V];
                for (int C = 0; C < 3; ++C) BandMax[C][B][V] = std::max(BandMax[C][B][V], Other.BandMax[C][B][V]);
            }
    }
};

TFixedThresholdSeries::TFixedThresholdSeries() = default;
TFixedThresholdSeries::~TFixedThresholdSeries() = default;

bool TFixedThresholdSeries::Applies() {
    return FixedChannelThreshold() && !ShrinkBeforeAnalysis && !KeepAnalysisImage;
}

bool TFixedThresholdSeries::Count(const QString& FileName, const TRect& Area) {
    if (OpenGapFractionImage(FileName)) return true;
    TAnalysisRun Run;
    TRect Box;
    if (PrepareGapFractionArea(Area, Box)) return true;
    const std::array<TThresholdRange, 256> Ranges = TargetThresholds();
    const int Channel = 2 - BinarizeTarget;  // the byte of blue, green, red
    FAll = {};
    FValues = std::make_unique<TValueCounts>();
    FSky.fill(0.0);
    const std::shared_ptr<const TRadialGeometry> Radial = SeriesRadialGeometry(Box);
    const TPictureRows Picture;
    // What one block of rows counts.
    struct TBlockCounts {
        TGapTallies All;
        std::unique_ptr<TValueCounts> Values;
        std::array<double, 256> Sky{};
    };
    TBlockSlots<TBlockCounts> Blocks;
    ForEachRowBlock(
        Box.Top, Box.Bottom,
        [&](const TRowBlock& Block) {
            TBlockCounts& Counts = Blocks[Block.Slot];
            Counts.All = {};
            if (!Counts.Values) Counts.Values = std::make_unique<TValueCounts>();
            *Counts.Values = {};
            Counts.Sky.fill(0.0);
            TValueCounts& Values = *Counts.Values;
            ForEachCountedPixel(
                Block, Box, *Radial, Picture, false,
                [&](const TCountedPixel& Pixel) {
                    Counts.All.CountPixel(Pixel);
                    const uint8_t* P = Pixel.Bytes;
                    const int V = P[Channel];
                    ++Values.Rings[Pixel.Ring][V];
                    ++Values.Bands[Pixel.Band][V];
                    for (int C = 0; C < 3; ++C) {
                        uint8_t& Max = Values.BandMax[C][Pixel.Band][V];
                        Max = std::max(Max, P[2 - C]);
                    }
                    const TThresholdRange& Range = Ranges[V];
                    if (Range.First > Range.Last) return;
                    // Each threshold's own sum gets this pixel's weight in turn.
                    const double Weight = Pixel.SkyWeight();
                    for (int T = Range.First; T <= Range.Last; ++T) Counts.Sky[T] += Weight;
                });
        },
        [&](const TRowBlock& Block) {
            // Block by block, as a run of its own adds its blocks' sums.
            const TBlockCounts& Counts = Blocks[Block.Slot];
            FAll.Add(Counts.All);
            FValues->Add(*Counts.Values);
            for (std::size_t T = 0; T < FSky.size(); ++T) FSky[T] += Counts.Sky[T];
            ShowLinesFinished(Block);
        });
    if (!FAll.Empty()) return false;
    ShowErrorMessage(QStringLiteral("ERR31"));
    return true;
}

void TFixedThresholdSeries::Publish(int Threshold) const {
    TGapTallies T = FAll;
    for (int V = 0; V <= 255; ++V) {
        if (!CompareWithThreshold(V, Threshold)) continue;
        for (int K = 0; K < 6; ++K) T.Rings[1][K] += double(FValues->Rings[K][V]);
        for (int B = 0; B <= 90; ++B) {
            T.Bands[1][B] += double(FValues->Bands[B][V]);
            for (int C = 0; C < 3; ++C) T.BandMax[C][B] = std::max<double>(T.BandMax[C][B], FValues->BandMax[C][B][V]);
        }
    }
    T.Sky = FSky.at(std::size_t(Threshold));
    T.Publish();
    LastThreshold = Threshold;
}

}  // namespace tam32
