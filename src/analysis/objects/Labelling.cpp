#include "analysis/objects/Labelling.h"

#include <algorithm>
#include <new>
#include <numbers>
#include <numeric>
#include <optional>
#include <vector>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/ExceptionText.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/core/RowProgress.h"
#include "analysis/geometry/TargetPixels.h"
#include "analysis/geometry/TargetRows.h"
#include "analysis/objects/LabelNumbers.h"
#include "analysis/objects/LabelRuns.h"
#include "analysis/objects/ObjectOutline.h"
#include "analysis/objects/OutlineVectorFile.h"
#include "platform/Bitmap.h"
#include "platform/FileSave.h"

namespace tam32 {
namespace {

struct TRgb {
    uint8_t R, G, B;
};
constexpr TRgb kWhite{255, 255, 255}, kRed{255, 0, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};

// The labelled runs of the target pixels of Box, or nothing (after "ERR17",
// or "ERR31" for a box without a pixel) when the classification cannot be
// prepared. The analysis image is freed
// and the classification settings are put back when this returns.
std::optional<TLabelRuns> FindObjects(const TRect& Area, TRect& Box) {
    TAnalysisRun Run;
    const int W = AnalysisImage->Width(), H = AnalysisImage->Height();
    if (GapEstimateMode || ForceWholeImage) {
        Box = {0, 0, W - 1, H - 1};
        LabelImageWidth = float(W);
        LabelImageHeight = float(H);
    } else {
        Box = ClipToAnalysisImage(Area);
    }
    if (PrepareClassification(false, Box)) {
        ShowClassificationFailure(Box);
        return std::nullopt;
    }
    TLabelRuns Runs(Box.Top, std::size_t(std::max(MaxLabelBuffSize, 0)) + 1);
    if (Box.Left > Box.Right) return Runs;
    // The rows' runs are found on the threads and joined in row order here.
    struct TBlockRuns {
        std::vector<uint8_t> Flags;
        TRowRuns Runs;
    };
    const TPictureRows Picture;
    TBlockSlots<TBlockRuns> Blocks;
    const TRowProgress Progress(Box.Bottom - Box.Top + 1);
    ForEachRowBlock(
        Box.Top, Box.Bottom,
        [&](const TRowBlock& Block) {
            TBlockRuns& Found = Blocks[Block.Slot];
            Found.Flags.resize(std::size_t(Box.Right) + 1);
            Found.Runs.Clear();
            TTargetRows Rows(Picture, Box);
            for (int Y = Block.First; Y <= Block.Last; ++Y) {
                Rows.Fill(Y, Found.Flags.data());
                Found.Runs.AddRow(Found.Flags.data(), Box.Left, Box.Right);
            }
        },
        [&](const TRowBlock& Block) {
            const TRowRuns& Found = Blocks[Block.Slot].Runs;
            for (int Row = 0; Row < Found.Rows(); ++Row) {
                Runs.AddRow(Found, Row);
                Progress.Show(Block.First + Row - Box.Top + 1);
            }
        });
    Runs.Label();
    return Runs;
}

// Columns First..Last of a picture row Width pixels wide in one colour, as
// far as the row reaches.
void PaintSpan(uint8_t* Row, int Width, int First, int Last, TRgb Colour) {
    First = std::max(First, 0);
    Last = std::min(Last, Width - 1);
    uint8_t* P = Row + std::size_t(First) * 3;
    for (int X = First; X <= Last; ++X, P += 3) {
        P[0] = Colour.B;
        P[1] = Colour.G;
        P[2] = Colour.R;
    }
}

// The same on row Y of the picture, as far as the picture reaches.
void PaintSpan(TBitmap& Image, int Y, int First, int Last, TRgb Colour) {
    if (Y >= 0 && Y < Image.Height()) PaintSpan(Image.ScanLine(Y), Image.Width(), First, Last, Colour);
}

void PaintObjectRuns(TBitmap& Image, const TLabelRuns& Runs, int Object, TRgb Colour) {
    for (int Run = Runs.ObjectFirstRun[std::size_t(Object)]; Run < Runs.RunCount(); ++Run)
        if (Runs.RunLabel[std::size_t(Run)] == Object)
            PaintSpan(Image, Runs.RunY[std::size_t(Run)], Runs.RunStartX[std::size_t(Run)],
                      Runs.RunEndX[std::size_t(Run)], Colour);
}

// The outline points, each held to the box.
void PaintOutline(TBitmap& Image, const std::vector<TPoint>& Points, const TRect& Box) {
    for (const TPoint& P : Points) {
        const int X = std::clamp(P.X, Box.Left, Box.Right), Y = std::clamp(P.Y, Box.Top, Box.Bottom);
        if (X < Image.Width() && Y < Image.Height()) PutWindowPixelRGB(Image, kBlue.R, kBlue.G, kBlue.B, X, Y);
    }
}

struct TListedObject {
    int Object = 0;
    TPoint Centre;
    float Perimeter = 0.0f, OutlineArea = 0.0f;
};

QString ReportRow(int Number, const TLabelRuns& Runs, const TListedObject& Listed) {
    const int64_t Pixels = Runs.ObjectArea[std::size_t(Listed.Object)];
    const double MmPerPixel = 25.4 / ImageDPI, AreaMm2 = double(Pixels) * MmPerPixel * MmPerPixel;
    QString Row = Format(QStringLiteral("%d"), {Number}) + QLatin1Char('\t') + Format(QStringLiteral("%d"), {Pixels}) +
                  QLatin1Char('\t') + Format(QStringLiteral("%5.2f"), {AreaMm2});
    if (CalcTraceLengthRatio) {
        const double PerimeterMm = double(Listed.Perimeter) * MmPerPixel;
        // A walk that gave up has no perimeter, and no circularity either.
        const double Circularity =
            PerimeterMm > 0.0 ? 4.0 * std::numbers::pi * AreaMm2 / (PerimeterMm * PerimeterMm) : 0.0;
        Row += QLatin1Char('\t') + Format(QStringLiteral("%5.2f"), {PerimeterMm}) + QLatin1Char('\t') +
               Format(QStringLiteral("%5.3f"), {Circularity}) + QLatin1Char('\t') +
               Format(QStringLiteral("%5.2f"), {double(Listed.OutlineArea)});
    }
    return Row;
}

void Report(const TLabelRuns& Runs, const std::vector<TListedObject>& Listed) {
    TEngineHost& Host = EngineHost();
    Host.AppendResultLine(GetDialogMessage(QStringLiteral("DMS47")));
    Host.AppendResultLine(GetDialogMessage(QStringLiteral("DMS48")) +
                          (CalcTraceLengthRatio ? GetDialogMessage(QStringLiteral("DMS49")) : QString()));
    for (std::size_t I = 0; I < Listed.size(); ++I) Host.AppendResultLine(ReportRow(int(I) + 1, Runs, Listed[I]));
    ShowInstructionMessage(QStringLiteral("MSG10"));
}

// An object is listed when its area lies within these, both included.
struct TAreaLimits {
    int64_t Lower, Upper;
    bool Within(int64_t Pixels) const { return Pixels >= Lower && Pixels <= Upper; }
};

TAreaLimits AreaLimits(const TLabelRuns& Runs) {
    const int64_t Largest = *std::max_element(Runs.ObjectArea.begin() + 1, Runs.ObjectArea.end());
    return {MinLabelledArea > 0 ? MinLabelledArea : 1, MaxLabelledArea >= 0 ? MaxLabelledArea : Largest};
}

// The box area white and, but in gap mode, the listed objects red, row by
// row on the analysis threads; then black text on white for the numbers.
void PaintObjects(TBitmap& Image, const TLabelRuns& Runs, const TRect& Box, const TAreaLimits& Limits) {
    Image.SetPixelFormat(TPixelFormat::pf24bit);
    const std::vector<uint8_t*> Rows = WritableRows(Image, Box);
    const int Width = Image.Width();
    ForEachRowBlock(Box.Top, Box.Bottom, [&](const TRowBlock& Block) {
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            uint8_t* Row = Rows[std::size_t(Y - Box.Top)];
            if (Row == nullptr) continue;
            PaintSpan(Row, Width, Box.Left, Box.Right, kWhite);
            if (GapEstimateMode) continue;
            const std::size_t RowIndex = std::size_t(Y - Box.Top);
            for (int Run = Runs.RowFirstRun[RowIndex]; Run < Runs.RowFirstRun[RowIndex + 1]; ++Run)
                if (Limits.Within(Runs.ObjectArea[std::size_t(Runs.RunLabel[std::size_t(Run)])]))
                    PaintSpan(Row, Width, Runs.RunStartX[std::size_t(Run)], Runs.RunEndX[std::size_t(Run)], kRed);
        }
    });
    TCanvas& Canvas = Image.Canvas();
    Canvas.Pen.Color = clBlack;
    Canvas.Pen.Mode = TPenMode::pmCopy;
    Canvas.Brush.Color = clWhite;
    Canvas.Brush.Style = TBrushStyle::bsSolid;
}

// A file that cannot be written is reported, and no later run tries again.
void SaveOutlineVectorFile(const TOutlineVectorFile& VectorFile) {
    try {
        VectorFile.SaveToFile(OutlineVectorFileName(AnalysisFileName));
    } catch (const EFileSaveError& E) {
        LabelTraceVectorize = false;
        EngineHost().ShowMessage(ExceptionText(E));
    }
}

// The objects within the limits, largest first (equal areas in the order of
// their numbers), each measured, numbered on the picture by Numbers when
// given, its outline drawn there (Paint) and written to the outline vector
// file; in gap mode up to object GapObjectNo. LabelledObjectCount becomes
// their number.
std::vector<TListedObject> ListObjects(TBitmap& Image, bool Paint, TLabelNumbers* Numbers, const TLabelRuns& Runs,
                                       const TRect& Box, const TAreaLimits& Limits) {
    const auto ObjectPixels = [&Runs](int Object) { return Runs.ObjectArea[std::size_t(Object)]; };
    std::vector<int> Order(static_cast<std::size_t>(Runs.ObjectCount()));
    std::iota(Order.begin(), Order.end(), 1);
    std::stable_sort(Order.begin(), Order.end(), [&](int A, int B) { return ObjectPixels(A) > ObjectPixels(B); });

    TOutlineVectorFile VectorFile;
    const bool Centres = ShowLabelledNumber || CalcTraceLengthRatio;
    std::vector<TListedObject> Listed;
    std::vector<TPoint> Points;
    LabelledObjectCount = 0;
    for (const int Object : Order) {
        if (!Limits.Within(ObjectPixels(Object))) continue;
        TListedObject Entry;
        Entry.Object = Object;
        const int Number = LabelledObjectCount + 1;
        if (Centres) {
            Entry.Centre = {int(Runs.ObjectSumX[std::size_t(Object)] / ObjectPixels(Object)),
                            int(Runs.ObjectSumY[std::size_t(Object)] / ObjectPixels(Object))};
            if (Numbers) Numbers->Draw(Entry.Centre, Number);
        }
        if (CalcTraceLengthRatio) {
            TraceObjectOutline(Runs, Runs.ObjectFirstRun[std::size_t(Object)], Entry.Perimeter, Entry.OutlineArea,
                               Points);
            if (Paint && !GapEstimateMode) PaintOutline(Image, Points, Box);
            VectorFile.WriteObject(Number, Points, Entry.Centre);
        }
        Listed.push_back(Entry);
        LabelledObjectCount = Number;
        if (GapEstimateMode && Number == GapObjectNo) break;
    }
    if (LabelTraceVectorize) SaveOutlineVectorFile(VectorFile);
    return Listed;
}

bool LabelLoadedImage(TBitmap& Image, const TRect& Area) {
    const bool Paint = DrawResults && !Image.Empty();
    // Made first, so that a font's glyphs are drawn while the objects are found.
    std::optional<TLabelNumbers> Numbers;
    if (Paint && (ShowLabelledNumber || CalcTraceLengthRatio)) Numbers.emplace(Image);
    TRect Box;
    const std::optional<TLabelRuns> Found = FindObjects(Area, Box);
    if (!Found) return true;
    const TLabelRuns& Runs = *Found;
    if (Runs.ObjectCount() < 1) {
        ShowErrorMessage(QStringLiteral("ERR20"));
        return true;
    }
    const TAreaLimits Limits = AreaLimits(Runs);
    if (Paint) PaintObjects(Image, Runs, Box, Limits);
    const std::vector<TListedObject> Listed =
        ListObjects(Image, Paint, Numbers ? &*Numbers : nullptr, Runs, Box, Limits);
    if (!GapEstimateMode) {
        Report(Runs, Listed);
        return false;
    }
    // The gap estimate measures one object: without it there is no estimate.
    if (Listed.empty() || LabelledObjectCount != GapObjectNo) {
        ShowErrorMessage(QStringLiteral("ERR20"));
        return true;
    }
    const TListedObject& Measured = Listed.back();
    if (Paint) PaintObjectRuns(Image, Runs, Measured.Object, kBlack);
    GapObjectArea = float(Runs.ObjectArea[std::size_t(Measured.Object)]);
    if (CalcTraceLengthRatio) GapObjectOutlineArea = Measured.OutlineArea;
    return false;
}

}  // namespace

bool LabellAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area) {
    if (MaxLabelBuffSize > kMaxLabelBuffSize) {
        ShowErrorMessage(QStringLiteral("ERR18"));
        return true;
    }
    if (GapEstimateMode) GapObjectArea = GapObjectOutlineArea = 0.0f;
    if (OpenObjectAnalysisImage(FileName)) return true;
    try {
        return LabelLoadedImage(Image, Area);
    } catch (const std::bad_alloc&) {
        ShowErrorMessage(QStringLiteral("ERR19"));
        return true;
    }
}

}  // namespace tam32
