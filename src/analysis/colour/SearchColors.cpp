#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "analysis/colour/ColourAnalyses.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/geometry/AreaRowRuns.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "platform/Bitmap.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

// The values of one channel that match Reference within Tolerance: a
// difference of at most Tolerance, or with ColorSearchPercent at most
// Tolerance percent of the reference, 100 |v - value| / v <= t, tested as
// 100 |v - value| <= t v. So a reference of 0 matches the value 0 alone (the
// limit of the percent test) instead of dividing by 0. A negative tolerance
// matches nothing.
std::array<bool, 256> MatchingValues(int Reference, int Tolerance) {
    std::array<bool, 256> Matches{};
    if (Tolerance < 0) return Matches;
    for (int Value = 0; Value <= 255; ++Value) {
        const int64_t Difference = std::abs(Reference - Value);
        Matches[std::size_t(Value)] =
            ColorSearchPercent ? 100 * Difference <= int64_t(Tolerance) * Reference : Difference <= Tolerance;
    }
    return Matches;
}

}  // namespace

bool SearchColors(const QString& FileName, TBitmap& Image, const TRect& Area) {
    if (CircleSet) HorizonRadius2 = std::pow(CircleR + CircleCenterOffset, 2);
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    TAnalysisRun Run;
    GetPixelRGB(ColorSearchX, ColorSearchY, ColorSearchValue1, ColorSearchValue2, ColorSearchValue3);
    ColorSearchCount = 0;
    const std::array<bool, 256> MatchR = MatchingValues(ColorSearchValue1, ColorSearchToleranceR);
    const std::array<bool, 256> MatchG = MatchingValues(ColorSearchValue2, ColorSearchToleranceG);
    const std::array<bool, 256> MatchB = MatchingValues(ColorSearchValue3, ColorSearchToleranceB);

    const TRect Box = ClipToAnalysisImage(Area);
    const std::vector<uint8_t*> Rows = WritableAnalysisRows(Box);
    TBlockSlots<int64_t> Blocks;
    int64_t Count = 0;
    ForEachRowBlock(
        Box.Top, Box.Bottom,
        [&](const TRowBlock& Block) {
            int64_t& Found = Blocks[Block.Slot];
            Found = 0;
            TAreaRowRuns Runs;
            for (int Y = Block.First; Y <= Block.Last; ++Y)
                for (const TColumnSpan& Span : Runs.Kept(Y, Box)) {
                    uint8_t* P = Rows[std::size_t(Y - Box.Top)] + std::size_t(Span.First) * 3;
                    for (int X = Span.First; X <= Span.Last; ++X, P += 3) {
                        if (!(MatchR[P[2]] && MatchG[P[1]] && MatchB[P[0]])) continue;
                        ++Found;
                        P[0] = 0;
                        P[1] = 0;
                        P[2] = 255;
                    }
                }
        },
        [&](const TRowBlock& Block) { Count += Blocks[Block.Slot]; });
    ColorSearchCount = CheckedCast<int32_t>(Count);
    // The marked image is shown whatever DrawResults says.
    Image.Assign(AnalysisImage.get());
    EngineHost().AppendResultLine(FormatDialogMessage(QStringLiteral("DMS35"), {ColorSearchCount}));
    return false;
}

}  // namespace tam32
