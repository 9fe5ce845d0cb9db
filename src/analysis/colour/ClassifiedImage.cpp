#include "analysis/colour/ClassifiedImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/core/RowProgress.h"
#include "analysis/geometry/AreaRowRuns.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "platform/Bitmap.h"
#include "platform/DelphiFormat.h"

namespace tam32 {
namespace {

// Pixels and colour sums of each group, kept apart from the table until the end.
struct TGroupTally {
    int64_t Pixels = 0;
    std::array<int64_t, 3> Sums{};  // red, green, blue
};

void ShowGroupTable(const std::vector<TGroupTally>& Tallies) {
    TEngineHost& Host = EngineHost();
    const auto Cell = [&Host](int Col, int Row, const QString& Text) {
        Host.SetResultGridCell(TResultGrid::Classification, Col, Row, Text);
    };
    Host.SetResultGridRowCount(TResultGrid::Classification, int(Tallies.size()) + 1);
    for (int Col = 1; Col <= 4; ++Col) Cell(Col, 0, GetDialogMessage(QStringLiteral("DMS%1").arg(29 + Col)));
    for (std::size_t K = 0; K < Tallies.size(); ++K) {
        const TGroupTally& T = Tallies[K];
        const int Row = int(K) + 1;
        Cell(1, Row, Format(QStringLiteral("%d"), {T.Pixels}));
        for (int C = 0; C < 3; ++C) {
            const double Mean = T.Pixels > 0 ? double(T.Sums[std::size_t(C)]) / double(T.Pixels) : 0.0;
            Cell(2 + C, Row, Format(QStringLiteral("%f"), {Mean}));
        }
    }
}

}  // namespace

bool ViewClassifiedImage(const QString& FileName, TBitmap& Image, const TRect& Area) {
    if (!ClassifyDone) {
        ShowErrorMessage(QStringLiteral("ERR3"));
        return true;
    }
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    TAnalysisRun Run;
    const TClassifierScores Scores = TClassifierScores::Active();
    std::vector<TGroupTally> Tallies(std::size_t(std::max(DiscLastGroup, 0)) + 1);
    // Each group's colour as the picture's bytes (blue, green, red).
    std::vector<std::array<uint8_t, 3>> Paint(Tallies.size());
    for (std::size_t K = 0; K < Paint.size(); ++K)
        Paint[K] = {GetBValue(GroupColors[K]), GetGValue(GroupColors[K]), GetRValue(GroupColors[K])};
    if (CircleSet) HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    ShowInstructionMessage(QStringLiteral("MSG9"));
    Image.Canvas().Pen.Mode = TPenMode::pmCopy;
    if (!Image.Empty()) Image.SetPixelFormat(TPixelFormat::pf24bit);

    // Every pixel of the area is counted; those that the picture has are painted.
    const TRect Box = ClipToAnalysisImage(Area);
    const int PaintRight = std::min(Box.Right, Image.Width() - 1);
    const TPictureRows Picture;
    const std::vector<uint8_t*> OutRows = WritableRows(Image, Box);
    TBlockSlots<std::vector<TGroupTally>> Blocks;
    ForEachRowBlock(
        Box.Top, Box.Bottom,
        [&](const TRowBlock& Block) {
            std::vector<TGroupTally>& BlockTallies = Blocks[Block.Slot];
            BlockTallies.assign(Tallies.size(), {});
            TAreaRowRuns AreaRuns;
            for (int Y = Block.First; Y <= Block.Last; ++Y) {
                const uint8_t* Row = Picture.Row(Y);
                uint8_t* Out = OutRows[std::size_t(Y - Box.Top)];
                for (const TColumnSpan& Span : AreaRuns.Kept(Y, Box)) {
                    for (int X = Span.First; X <= Span.Last; ++X) {
                        const uint8_t* P = Row + std::size_t(X) * 3;
                        const int K = Scores.ClassifyBytes(P);
                        TGroupTally& T = BlockTallies[std::size_t(K)];
                        ++T.Pixels;
                        T.Sums[0] += P[2];
                        T.Sums[1] += P[1];
                        T.Sums[2] += P[0];
                        if (Out != nullptr && X <= PaintRight)
                            std::copy_n(Paint[std::size_t(K)].data(), 3, Out + std::size_t(X) * 3);
                    }
                }
            }
        },
        [&](const TRowBlock& Block) {
            const std::vector<TGroupTally>& BlockTallies = Blocks[Block.Slot];
            for (std::size_t K = 0; K < Tallies.size(); ++K) {
                Tallies[K].Pixels += BlockTallies[K].Pixels;
                for (std::size_t C = 0; C < 3; ++C) Tallies[K].Sums[C] += BlockTallies[K].Sums[C];
            }
            ShowLinesFinished(Block);
        });
    ShowGroupTable(Tallies);
    ShowInstructionMessage(QStringLiteral("MSG9"));
    EngineHost().ShowResultPage(TResultPage::Classification);
    return false;
}

}  // namespace tam32
