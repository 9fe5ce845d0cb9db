#include "analysis/canopy/GapFractionStream.h"

#include <cmath>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/core/RowProgress.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/SeriesRadialGeometry.h"

namespace tam32 {
namespace {

// What ends the count of a block whose rows never came.
struct TRowsEnded {};

}  // namespace

bool TGapCountWhileDecoding::Applies() {
    // A corrected or shrunk picture is made on the threads once it is decoded,
    // and a histogram would have to be counted before any pixel is tested.
    return AnalysisThreads() > 1 && FixedChannelThreshold() && !ThresholdHistogramRead &&
           !(DistortAuto && std::fabs(DistortParameter) > 0.1) && !ShrinkBeforeAnalysis;
}

TGapCountWhileDecoding::TGapCountWhileDecoding(const TRect& Area, bool Drawn) : FArea(Area), FDrawn(Drawn) {}

TGapCountWhileDecoding::~TGapCountWhileDecoding() { Stop(); }

void TGapCountWhileDecoding::RowsDecoded(const TDecodedRows& Rows) {
    if (!FCounting.joinable()) {
        // The first rows: the picture's size is known. Only the 24-bit rows
        // that the analysis reads as they are can be counted now.
        if (FEnded || Rows.BitCount != 24) return;
        FRows = Rows;
        FBox = ClipToPicture(FArea, Rows.Width, Rows.Height);
        // As the count after the decoding prepares it.
        HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
        if (FDrawn) FGaps = TPixelBits(Rows.Width, Rows.Height);
        FRowsDone = Rows.Done;
        FThreads = AnalysisThreads();
        FCounting = std::thread([this] { Count(); });
        return;
    }
    // The waiting threads are woken when there is a block for each of them:
    // waking them for every block would keep taking the decoding's core.
    const bool AllIn = Rows.Done > FBox.Bottom;
    if (!AllIn && (Rows.Done - FBox.Top) % (kRowsPerBlock * FThreads) != 0) return;
    {
        const std::lock_guard Lock(FMutex);
        FRowsDone = Rows.Done;
    }
    FRowsCame.notify_all();
}

void TGapCountWhileDecoding::RowsWithdrawn() {
    Stop();
    FWhole = false;
}

void TGapCountWhileDecoding::Join() { Stop(); }

void TGapCountWhileDecoding::Stop() {
    {
        const std::lock_guard Lock(FMutex);
        FEnded = true;
    }
    FRowsCame.notify_all();
    if (FCounting.joinable()) FCounting.join();
}

bool TGapCountWhileDecoding::AwaitRows(const TRowBlock& Block) {
    std::unique_lock Lock(FMutex);
    FRowsCame.wait(Lock, [&] { return FRowsDone > Block.Last || FEnded; });
    return FRowsDone > Block.Last;
}

void TGapCountWhileDecoding::Count() {
    try {
        const std::shared_ptr<const TRadialGeometry> Radial = SeriesRadialGeometry(FBox);
        if (!Radial->Usable()) return;
        const TPictureRows Picture(FRows.Top, FRows.Stride, FRows.Width, FRows.Height);
        TBlockSlots<TGapBlockCounts> Slots;
        ForEachRowBlock(
            FBox.Top, FBox.Bottom,
            [&](const TRowBlock& Block) {
                if (!AwaitRows(Block)) throw TRowsEnded();
                CountGapBlock(Block, FBox, *Radial, Picture, false, FDrawn ? &FGaps : nullptr, Slots[Block.Slot]);
            },
            [&](const TRowBlock& Block) {
                FAll.Add(Slots[Block.Slot].Tallies);
                FBlocks.push_back(Block);
            });
        FWhole = true;
    } catch (const TRowsEnded&) {
    } catch (...) {
        FFailure = std::current_exception();
    }
}

bool TGapCountWhileDecoding::Take(const TRect& Box, TGapTallies& All, TPixelBits& Gaps) {
    if (FFailure) std::rethrow_exception(FFailure);
    // The rows counted must be those the analysis reads.
    if (!FWhole || !(Box == FBox) || !AnalysisImage || AnalysisImage->GetBitCount() != 24 ||
        AnalysisImage->Width() != FRows.Width || AnalysisImage->Height() != FRows.Height ||
        AnalysisImage->ReadScanLine(0) != FRows.Top)
        return false;
    for (const TRowBlock& Block : FBlocks) ShowLinesFinished(Block);
    All.Add(FAll);
    Gaps = std::move(FGaps);
    return true;
}

}  // namespace tam32
