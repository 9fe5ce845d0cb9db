#include "analysis/canopy/GapFraction.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/canopy/CanopySettingsCheck.h"
#include "analysis/canopy/GapFractionCount.h"
#include "analysis/canopy/GapFractionPixels.h"
#include "analysis/canopy/GapFractionStream.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/RowProgress.h"
#include "analysis/core/RunSeries.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/MaskPicture.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "analysis/geometry/RadialGeometry.h"
#include "analysis/geometry/SeriesRadialGeometry.h"
#include "analysis/geometry/TargetPixels.h"
#include "platform/Bitmap.h"
#include "platform/PixelBits.h"

namespace tam32 {

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

bool OpenGapFractionImage(const QString& FileName) {
    if (!CircleSet || CircleRadius() <= 0.0) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return true;
    }
    if (CheckGapFractionSettings()) return true;
    if (OpenAnalysisImage(FileName)) return true;  // after its message
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
    if (!(FixedChannelThreshold() && !ThresholdHistogramRead ? PrepareFixedChannelThreshold()
                                                   : PrepareClassification(true, Box)))
        return false;
    ShowClassificationFailure(Box);
    return true;
}

namespace {

// The count of the rows of Box after the decoding, into All and Gaps.
void CountGaps(const TRect& Box, TGapBlockCounts& All, TPixelBits* Gaps) {
    const bool ZenithLine = ZenithLineInUse(true);
    const std::shared_ptr<const TRadialGeometry> Radial = SeriesRadialGeometry(Box);
    const TPictureRows Picture;
    TBlockSlots<TGapBlockCounts> Blocks;
    bool Tested = false;
    ForEachRowBlock(
        Box.Top, Box.Bottom,
        [&](const TRowBlock& Block) {
            CountGapBlock(Block, Box, *Radial, Picture, ZenithLine, Gaps, Blocks[Block.Slot]);
        },
        [&](const TRowBlock& Block) {
            const TGapBlockCounts& Counts = Blocks[Block.Slot];
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
}

// The analysis, the gap image painted into Image, or its marks moved into
// HandedGaps when given.
bool AnalyseGapFraction(const QString& FileName, TBitmap& Image, const TRect& Area, TPixelBits* HandedGaps) {
    // The gaps are marked as bits while the pixels are counted; the gap
    // picture is painted from them once the analysis image and the geometry,
    // unless kept, are gone.
    const bool Drawn = DrawResults;
    std::optional<TGapCountWhileDecoding> WhileDecoding;
    if (TGapCountWhileDecoding::Applies()) WhileDecoding.emplace(Area, Drawn);
    if (OpenGapFractionImage(FileName)) return true;
    if (WhileDecoding) WhileDecoding->Join();
    TAnalysisRun Run;
    // The thresholds' histogram and the count share the run's geometry.
    const TRunSeries Series;
    TRect Box;
    if (PrepareGapFractionArea(Area, Box)) return true;
    TPixelBits Gaps;
    TGapBlockCounts All;
    if (!WhileDecoding || !WhileDecoding->Take(Box, All.Tallies, Gaps)) {
        if (Drawn) Gaps = TPixelBits(AnalysisImage->Width(), AnalysisImage->Height());
        CountGaps(Box, All, Drawn ? &Gaps : nullptr);
    }
    WhileDecoding.reset();
    // Targets that need no histogram of the area get here without a pixel.
    if (All.Tallies.Empty()) {
        ShowErrorMessage(QStringLiteral("ERR31"));
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
