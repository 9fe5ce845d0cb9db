#include "analysis/geometry/CircleDetection.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/geometry/OpenAnalysisImage.h"

namespace tam32 {
namespace {

constexpr int kMargin = 10;      // frame pixels left out of the scans
constexpr uint8_t kBright = 50;  // least red value of a bright pixel

// The extent of one line: the first and last bright position, Last < First when none.
struct TExtent {
    int First = 0, Last = -1;
    int Length() const { return Last > First ? Last - First : 0; }
    int Middle2() const { return First + Last; }  // twice the midpoint
};

// The line of the largest extent: the middle of the first run of lines that
// tie for it, so that a disc's centre is found exactly.
struct TWidest {
    int Index = -1, Length = 0;
    int MidpointTwice = 0;  // of that line's extent
};

TWidest Widest(const std::vector<TExtent>& Lines, int Offset) {
    TWidest Best;
    int RunFirst = -1, RunLast = -1;
    for (int I = 0; I < int(Lines.size()); ++I) {
        const int Length = Lines[I].Length();
        if (Length > Best.Length) {
            Best.Length = Length;
            RunFirst = RunLast = I;
        } else if (Length == Best.Length && RunLast == I - 1 && Length > 0) {
            RunLast = I;
        }
    }
    if (Best.Length == 0) return Best;
    const int Middle = (RunFirst + RunLast + 1) / 2;
    Best.Index = Middle + Offset;
    Best.MidpointTwice = Lines[Middle].Middle2();
    return Best;
}

// A circle is only claimed when the widest row and the tallest column cross
// near their midpoints, the circle lies within the image, and the lines a
// good way off the centre are clearly shorter, as on a disc (a uniformly
// bright picture has none shorter).
bool Plausible(const TWidest& Row, const TWidest& Column, int R, int W, int H,
               const std::vector<TExtent>& Rows) {
    if (Row.Length == 0 || Column.Length == 0 || R <= 0) return false;
    const int Cx = Column.Index, Cy = Row.Index;
    if (Cx - R < 0 || Cx + R > W - 1 || Cy - R < 0 || Cy + R > H - 1) return false;
    const int Tolerance = std::max(2, R / 20);
    if (std::abs(Row.MidpointTwice - 2 * Cx) > 2 * Tolerance) return false;
    if (std::abs(Column.MidpointTwice - 2 * Cy) > 2 * Tolerance) return false;
    // At 0.8 R from the centre a disc's chord is 1.2 R.
    for (const int Y : {Cy - R * 4 / 5, Cy + R * 4 / 5}) {
        const int I = Y - kMargin;
        if (I >= 0 && I < int(Rows.size()) && Rows[I].Length() > 2 * R * 9 / 10) return false;
    }
    return true;
}

}  // namespace

bool DetectCircleArea(const QString& FileName) {
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    TAnalysisRun Run;
    const int W = AnalysisImage->Width(), H = AnalysisImage->Height();
    // A scan needs a pixel between the two margins.
    if (W <= 2 * kMargin || H <= 2 * kMargin) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return true;
    }
    const int Last = W - kMargin, Bottom = H - kMargin;
    std::vector<TExtent> Rows(Bottom - kMargin + 1), Columns(Last - kMargin + 1);
    // One pass in memory order finds the extents of rows and columns alike:
    // each block the columns' extents within its rows, joined in row order.
    const TPictureRows Picture;
    TBlockSlots<std::vector<TExtent>> BlockColumns;
    ForEachRowBlock(
        kMargin, Bottom,
        [&](const TRowBlock& Block) {
            std::vector<TExtent>& InBlock = BlockColumns[Block.Slot];
            InBlock.assign(Columns.size(), TExtent());
            for (int Y = Block.First; Y <= Block.Last; ++Y) {
                const uint8_t* Line = Picture.Row(Y);
                TExtent& RowExtent = Rows[Y - kMargin];
                for (int X = kMargin; X <= Last; ++X) {
                    if (Line[std::size_t(X) * 3 + 2] < kBright) continue;
                    if (RowExtent.Last < RowExtent.First) RowExtent.First = X;
                    RowExtent.Last = X;
                    TExtent& ColumnExtent = InBlock[X - kMargin];
                    if (ColumnExtent.Last < ColumnExtent.First) ColumnExtent.First = Y;
                    ColumnExtent.Last = Y;
                }
            }
        },
        [&](const TRowBlock& Block) {
            const std::vector<TExtent>& InBlock = BlockColumns[Block.Slot];
            for (std::size_t I = 0; I < Columns.size(); ++I) {
                if (InBlock[I].Last < InBlock[I].First) continue;
                if (Columns[I].Last < Columns[I].First) Columns[I].First = InBlock[I].First;
                Columns[I].Last = InBlock[I].Last;
            }
        });
    const TWidest Row = Widest(Rows, kMargin), Column = Widest(Columns, kMargin);
    const int R = (Row.Length > Column.Length ? Row.Length : Column.Length) / 2;
    if (!Plausible(Row, Column, R, W, H, Rows)) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return true;
    }
    CircleX = Column.Index;
    CircleY = Row.Index;
    CircleR = R;
    CircleCenterOffset = Row.Length % 2 == 1 ? 0.5 : 0.0;
    CircleSet = true;
    return false;
}

}  // namespace tam32
