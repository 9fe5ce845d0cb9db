#include <array>
#include <cmath>
#include <cstring>

#include "analysis/colour/ColourAnalyses.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/core/RowProgress.h"
#include "analysis/core/SettingsCheck.h"
#include "analysis/geometry/AreaRowRuns.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "analysis/geometry/TargetPixels.h"
#include "platform/Bitmap.h"

namespace tam32 {
namespace {

// The pixels of one class, counted exactly: at 12-24 MP the squared sum of a
// bright class passes 2^53, and a deviation taken from doubles can come out
// as the root of a small negative number.
struct TClassSums {
    uint64_t Count = 0;
    std::array<uint64_t, 3> Sums{}, Squares{};  // red, green, blue

    void Add(const uint8_t* Pixel) {
        ++Count;
        for (int C = 0; C < 3; ++C) {
            const uint64_t V = Pixel[2 - C];
            Sums[std::size_t(C)] += V;
            Squares[std::size_t(C)] += V * V;
        }
    }
    void Merge(const TClassSums& Other) {
        Count += Other.Count;
        for (std::size_t C = 0; C < 3; ++C) {
            Sums[C] += Other.Sums[C];
            Squares[C] += Other.Squares[C];
        }
    }
    double Mean(int C) const { return Count == 0 ? 0.0 : double(Sums[std::size_t(C)]) / double(Count); }
    // The population deviation sqrt(n Σv² - (Σv)²) / n, its radicand exact.
    double Deviation(int C) const {
        if (Count == 0) return 0.0;
        const unsigned __int128 Sum = Sums[std::size_t(C)];
        const unsigned __int128 Spread = (unsigned __int128)Count * Squares[std::size_t(C)];
        const unsigned __int128 Radicand = Spread > Sum * Sum ? Spread - Sum * Sum : 0;
        return std::sqrt(double(Radicand)) / double(Count);
    }
    // Means in the sums' row of SepColorSums, deviations in the squares' row.
    void Publish(std::size_t SumsRow) const {
        for (int C = 0; C < 3; ++C) {
            SepColorSums[SumsRow][std::size_t(C)] = Mean(C);
            SepColorSums[SumsRow + 1][std::size_t(C)] = Deviation(C);
        }
    }
    void Report(int FirstCode) const {
        if (Count == 0) return;
        for (int C = 0; C < 3; ++C)
            EngineHost().AppendResultLine(
                FormatDialogMessage(QStringLiteral("DMS%1").arg(FirstCode + C), {Mean(C), Deviation(C)}));
    }
};

}  // namespace

bool SepColorAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area) {
    // The areas are reported in mm².
    if (CheckLengthSettings()) return true;
    if (CircleSet) HorizonRadius2 = std::pow(CircleR + CircleCenterOffset, 2);
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    TAnalysisRun Run;
    const TRect Box = ClipToAnalysisImage(Area);
    if (PrepareClassification(false, Box)) return true;
    // The window's picture is painted pixel for pixel: it must hold the area.
    if (DrawResults && Box.Left <= Box.Right && Box.Top <= Box.Bottom &&
        (Image.PixelFormat() != TPixelFormat::pf24bit || Image.Width() <= Box.Right || Image.Height() <= Box.Bottom))
        throw ERangeError(kRangeCheckError);

    struct TCounts {
        TClassSums Target, Background;
        std::array<uint64_t, 768> Counts{};
        void Merge(const TCounts& Other) {
            Target.Merge(Other.Target);
            Background.Merge(Other.Background);
            for (std::size_t I = 0; I < Counts.size(); ++I) Counts[I] += Other.Counts[I];
        }
    };
    const TPictureRows Picture;
    const std::vector<uint8_t*> PaintedRows = DrawResults ? WritableRows(Image, Box) : std::vector<uint8_t*>();
    TBlockSlots<TCounts> Blocks;
    TCounts All;
    ForEachRowBlock(
        Box.Top, Box.Bottom,
        [&](const TRowBlock& Block) {
            TCounts& Counts = Blocks[Block.Slot];
            Counts = {};
            TAreaRowRuns Runs;
            int32_t Threshold = FixedThreshold;
            for (int Y = Block.First; Y <= Block.Last; ++Y) {
                const uint8_t* Row = Picture.Row(Y);
                uint8_t* Painted = DrawResults ? PaintedRows[std::size_t(Y - Box.Top)] : nullptr;
                for (const TColumnSpan& Span : Runs.Kept(Y, Box))
                    for (int X = Span.First; X <= Span.Last; ++X) {
                        const uint8_t* P = Row + std::size_t(X) * 3;
                        const bool IsTarget = IsTargetBytesAt(false, P, 0.0, Threshold);
                        if (IsTarget) {
                            Counts.Target.Add(P);
                            ++Counts.Counts[P[2]];
                            ++Counts.Counts[256 + P[1]];
                            ++Counts.Counts[512 + P[0]];
                        } else {
                            Counts.Background.Add(P);
                        }
                        if (Painted) std::memset(Painted + std::size_t(X) * 3, IsTarget ? 255 : 0, 3);
                    }
            }
        },
        [&](const TRowBlock& Block) {
            All.Merge(Blocks[Block.Slot]);
            ShowLinesFinished(Block);
        });
    const TClassSums& Target = All.Target;
    const TClassSums& Background = All.Background;
    const std::array<uint64_t, 768>& Counts = All.Counts;

    TargetPixelCount = double(Target.Count);
    NonTargetPixelCount = double(Background.Count);
    // Counted afresh each run: nothing else clears it for every target.
    for (std::size_t I = 0; I < Counts.size(); ++I) TargetRGBHistogram[I] = double(Counts[I]);
    Target.Publish(0);
    Background.Publish(2);

    const double Scale = std::pow(25.4 / ImageDPI, 2);  // mm² per pixel
    EngineHost().AppendResultLine(GetDialogMessage(QStringLiteral("DMS36")));
    EngineHost().AppendResultLine(GetDialogMessage(QStringLiteral("DMS37")));
    EngineHost().AppendResultLine(FormatDialogMessage(QStringLiteral("DMS38"), {Scale * TargetPixelCount}));
    EngineHost().AppendResultLine(FormatDialogMessage(QStringLiteral("DMS39"), {Scale * NonTargetPixelCount}));
    EngineHost().AppendResultLine(GetDialogMessage(QStringLiteral("DMS40")));
    Target.Report(41);
    Background.Report(44);
    ShowInstructionMessage(QStringLiteral("MSG10"));
    return false;
}

}  // namespace tam32
