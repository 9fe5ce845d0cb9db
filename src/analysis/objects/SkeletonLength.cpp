#include "analysis/objects/SkeletonLength.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/geometry/TargetPixels.h"
#include "analysis/geometry/TargetRows.h"
#include "analysis/objects/Skeleton.h"
#include "platform/Bitmap.h"

namespace tam32 {
namespace {

// Area within a W x H image, with a side on the image's edge moved in by one.
TRect SkeletonBox(const TRect& Area, int W, int H) {
    TRect Box = ClipToAnalysisImage(Area);
    if (Box.Left == 0) Box.Left = 1;
    if (Box.Top == 0) Box.Top = 1;
    if (Box.Right == W - 1) Box.Right = W - 2;
    if (Box.Bottom == H - 1) Box.Bottom = H - 2;
    return Box;
}

// The target pixels of the box of Area and of the pixel frame around it, or
// nothing (after "ERR17", or "ERR31" for a box without a pixel) when the
// classification cannot be prepared. The
// analysis image is freed and the classification settings are put back when
// this returns.
std::optional<TSkeletonGrid> BinarisedBox(const TRect& Area) {
    TAnalysisRun Run;
    if (PrepareClassification(false, ClipToAnalysisImage(Area))) {
        ShowClassificationFailure(ClipToAnalysisImage(Area));
        return std::nullopt;
    }
    TSkeletonGrid Grid(SkeletonBox(Area, AnalysisImage->Width(), AnalysisImage->Height()));
    const TRect& Box = Grid.Box();
    if (Box.Left > Box.Right || Box.Top > Box.Bottom) return Grid;
    const TRect Wide{Box.Left - 1, Box.Top - 1, Box.Right + 1, Box.Bottom + 1};
    const TPictureRows Picture;
    TBlockSlots<std::vector<uint8_t>> Flags;
    ForEachRowBlock(Wide.Top, Wide.Bottom, [&](const TRowBlock& Block) {
        std::vector<uint8_t>& RowFlags = Flags[Block.Slot];
        RowFlags.resize(std::size_t(Wide.Right) + 1);
        TTargetRows Rows(Picture, Wide);
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            Rows.Fill(Y, RowFlags.data());
            for (int X = Wide.Left; X <= Wide.Right; ++X)
                if (RowFlags[std::size_t(X)] != 0) Grid.SetTarget(X, Y);
        }
    });
    return Grid;
}

// Blue, green, red bytes of each class.
const uint8_t* ClassColour(uint8_t Class) {
    static constexpr uint8_t kBlack[3] = {0, 0, 0}, kRed[3] = {0, 0, 255}, kBlue[3] = {255, 0, 0},
                             kGreen[3] = {0, 255, 0}, kOlive[3] = {0, 100, 100};
    switch (Class) {
        case 0: return kBlack;
        case 2: return kRed;
        case 3: return kBlue;
        case 4: return kGreen;
        default: return kOlive;
    }
}

void PaintClasses(TBitmap& Image, const TSkeletonClasses& Classes) {
    const TRect& Box = Classes.Box();
    const int Right = std::min(Box.Right, Image.Width() - 1), Bottom = std::min(Box.Bottom, Image.Height() - 1);
    const std::vector<uint8_t*> Rows = WritableRows(Image, {Box.Left, Box.Top, Right, Bottom});
    ForEachRowBlock(Box.Top, Bottom, [&](const TRowBlock& Block) {
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            uint8_t* P = Rows[std::size_t(Y - Box.Top)] + std::size_t(Box.Left) * 3;
            for (int X = Box.Left; X <= Right; ++X, P += 3) {
                const uint8_t* Colour = ClassColour(Classes.At(X, Y));
                P[0] = Colour[0];
                P[1] = Colour[1];
                P[2] = Colour[2];
            }
        }
    });
}

// Raster scans of the box trace from every end and branch point left, until
// a scan adds less than a pixel of length. A trace that marks no pixel not
// marked before went over ground already traced (from a branch into a ring
// and back, say): it is neither reported nor counted, so no line is
// reported twice and the scans end.
void TraceLines(TSkeletonClasses& Classes) {
    const TRect& Box = Classes.Box();
    for (;;) {
        double Sum = 0.0;
        for (int Y = Box.Top; Y <= Box.Bottom; ++Y)
            for (int X = Box.Left; X <= Box.Right; ++X) {
                const uint8_t Class = Classes.At(X, Y);
                if (Class != 2 && Class <= 3) continue;
                bool NewMarks = false;
                const double Length = Classes.TraceLineLength(X, Y, NewMarks);
                if (!NewMarks) continue;
                if (Length > 1.0)
                    EngineHost().AppendResultLine(Format(QStringLiteral("Length=%fcm"), {Length * 2.54 / ImageDPI}));
                Sum += Length;
            }
        if (Sum < 1.0) return;
    }
}

}  // namespace

bool TopoAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area) {
    if (OpenObjectAnalysisImage(FileName)) return true;
    ShowInstructionMessage(QStringLiteral("MSG9"));
    std::optional<TSkeletonGrid> Grid = BinarisedBox(Area);
    if (!Grid) return true;
    Grid->Thin();
    TSkeletonClasses Classes(*Grid);
    Grid.reset();
    Image.SetPixelFormat(TPixelFormat::pf24bit);
    PaintClasses(Image, Classes);
    TraceLines(Classes);
    PaintClasses(Image, Classes);
    ShowInstructionMessage(QStringLiteral("MSG10"));
    return false;
}

}  // namespace tam32
