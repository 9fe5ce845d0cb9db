#include "analysis/RadialGeometry.h"

#include <algorithm>
#include <cmath>

#include "analysis/GapFraction.h"
#include "analysis/GlobalSettings.h"
#include "analysis/LensProjection.h"
#include "analysis/RowBlocks.h"
#include "analysis/TargetPixels.h"
#include "platform/Exceptions.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

// Marks of a zenith that has no band or degree: the lookup raises the error
// that the zenith's own conversion raises.
constexpr uint8_t kNoNumber = 255;  // EInvalidOp
constexpr uint8_t kBeyond = 254;    // ERangeError

uint8_t BandOf(double Zenith) { return std::isnan(Zenith) ? kNoNumber : uint8_t(std::clamp(Zenith, 0.0, 90.0)); }

uint8_t DegreeOf(double Zenith) {
    try {
        const int64_t Degree = Round(Zenith);
        return Degree < 0 || Degree > 90 ? kBeyond : uint8_t(Degree);
    } catch (const EInvalidOp&) {
        return kNoNumber;
    }
}

}  // namespace

int TRadialGeometry::TRow::Band(int X) const {
    const uint8_t B = FOwner->FBands[Cell(X)];
    if (B == kNoNumber) throw EInvalidOp(kInvalidFloatOp);
    return B;
}

int TRadialGeometry::TRow::Degree(int X) const {
    const uint8_t D = FOwner->FDegrees[Cell(X)];
    if (D == kNoNumber) throw EInvalidOp(kInvalidFloatOp);
    if (D == kBeyond) throw ERangeError(kRangeCheckError);
    return D;
}

TRadialGeometry::TRadialGeometry(const TRect& Area) {
    FUsable = !SlopeCorrection && (CircleCenterOffset == 0.0 || CircleCenterOffset == 0.5) &&
              Area.Left <= Area.Right && Area.Top <= Area.Bottom;
    if (!FUsable) return;
    FCentreX = CircleX;
    FCentreY = CircleY;
    FHalf = 0.5 - CircleCenterOffset;
    FReach2 = std::pow(ZenithToRadius(90.0), 2);
    FColumns = Reach(Area.Left - FCentreX, Area.Right - FCentreX);
    FRows = Reach(Area.Top - FCentreY, Area.Bottom - FCentreY);
    FRowStarts.assign(FRows.Count() + 1, 0);
    for (std::size_t Row = 0; Row < FRows.Count(); ++Row) FRowStarts[Row + 1] = FRowStarts[Row] + ColumnsWithin(Row);
    Fill();
}

TRadialGeometry::TIndexRange TRadialGeometry::Reach(int64_t From, int64_t To) const {
    TIndexRange Range;
    // Offsets on both sides of the centre fold onto the same distances.
    Range.First = To < 0 ? Index(To) : (From > 0 ? Index(From) : 0);
    // Only the distances within the circle are asked for.
    Range.Last = int64_t(std::min(double(std::max(Index(From), Index(To))), std::floor(std::sqrt(FReach2)) + 1.0));
    return Range;
}

std::size_t TRadialGeometry::ColumnsWithin(std::size_t Row) const {
    const double Dy = double(FRows.First + int64_t(Row)) + FHalf;
    const double Chord = std::sqrt(std::max(FReach2 - Dy * Dy, 0.0));
    const double LastColumn = std::min(double(FColumns.Last), std::floor(Chord) + 1.0);
    return LastColumn >= double(FColumns.First) ? std::size_t(LastColumn - double(FColumns.First)) + 1 : 0;
}

void TRadialGeometry::FillCell(std::size_t Cell, int64_t I, int64_t J) {
    const double Dx = double(I) + FHalf, Dy = double(J) + FHalf;
    const double Radius = std::sqrt(Dx * Dx + Dy * Dy);
    const double Zenith = RadiusToZenith(Radius);
    FSkyWeights[Cell] = SkyWeight(Radius, Zenith, Zenith);
    FBands[Cell] = BandOf(Zenith);
    FDegrees[Cell] = DegreeOf(Zenith);
    if (FWeightings) FWeightings[Cell] = ZenithWeighting(Zenith);
}

void TRadialGeometry::Fill() {
    const std::size_t Cells = FRowStarts.back();
    FSkyWeights = std::make_unique_for_overwrite<double[]>(Cells);
    FBands = std::make_unique_for_overwrite<uint8_t[]>(Cells);
    FDegrees = std::make_unique_for_overwrite<uint8_t[]>(Cells);
    if (ZenithThresholdType != 0) FWeightings = std::make_unique_for_overwrite<double[]>(Cells);
    // The cell of column distance I in row distance J when the table has it.
    const auto CellAt = [this](int64_t I, int64_t J, std::size_t& Cell) {
        if (J < FRows.First || J > FRows.Last || I < FColumns.First) return false;
        const std::size_t Row = std::size_t(J - FRows.First), Column = std::size_t(I - FColumns.First);
        if (Column >= FRowStarts[Row + 1] - FRowStarts[Row]) return false;
        Cell = FRowStarts[Row] + Column;
        return true;
    };
    // Swapping the axes keeps the distance: a cell whose swapped cell lies
    // in an earlier row takes that cell's values once all are computed.
    const auto Mirrored = [&](int64_t I, int64_t J, std::size_t& From) { return I < J && CellAt(J, I, From); };
    // Visit(Cell, I, J) for every cell, the rows shared out to the threads.
    const auto ForEachCell = [this](const auto& Visit) {
        ForEachRowBlock(0, int(FRows.Count()) - 1, [&](const TRowBlock& Block) {
            for (std::size_t Row = std::size_t(Block.First); Row <= std::size_t(Block.Last); ++Row)
                for (std::size_t Cell = FRowStarts[Row]; Cell < FRowStarts[Row + 1]; ++Cell)
                    Visit(Cell, FColumns.First + int64_t(Cell - FRowStarts[Row]), FRows.First + int64_t(Row));
        });
    };
    ForEachCell([&](std::size_t Cell, int64_t I, int64_t J) {
        std::size_t From;
        if (!Mirrored(I, J, From)) FillCell(Cell, I, J);
    });
    ForEachCell([&](std::size_t Cell, int64_t I, int64_t J) {
        std::size_t From;
        if (!Mirrored(I, J, From)) return;
        FSkyWeights[Cell] = FSkyWeights[From];
        FBands[Cell] = FBands[From];
        FDegrees[Cell] = FDegrees[From];
        if (FWeightings) FWeightings[Cell] = FWeightings[From];
    });
}

}  // namespace tam32
