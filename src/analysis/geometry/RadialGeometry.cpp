#include "analysis/geometry/RadialGeometry.h"

#include <algorithm>
#include <cmath>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/TargetPixels.h"
#include "platform/Exceptions.h"
#include "platform/Rounding.h"

namespace tam32 {

void TRadialGeometry::RaiseNoNumber() { throw EInvalidOp(kInvalidFloatOp); }

uint8_t TRadialGeometry::BandOf(double Zenith) {
    return std::isnan(Zenith) ? kNoNumber : uint8_t(std::clamp(Zenith, 0.0, 90.0));
}

uint8_t TRadialGeometry::DegreeOf(double Zenith) {
    try {
        const int64_t Degree = Round(Zenith);
        return Degree < 0 || Degree > 90 ? kBeyond : uint8_t(Degree);
    } catch (const EInvalidOp&) {
        return kNoNumber;
    }
}

int TRadialGeometry::TRow::Degree(int X) const {
    const uint8_t D = FOwner->FDegrees[Cell(X)];
    if (D == kNoNumber) RaiseNoNumber();
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
    const TIndexRange Columns = Reach(Area.Left - FCentreX, Area.Right - FCentreX);
    const TIndexRange Rows = Reach(Area.Top - FCentreY, Area.Bottom - FCentreY);
    if (Columns.Last >= Columns.First && Rows.Last >= Rows.First) {
        FSmaller = {std::min(Columns.First, Rows.First), std::min(Columns.Last, Rows.Last)};
        FLarger = {std::max(Columns.First, Rows.First), std::max(Columns.Last, Rows.Last)};
    }
    if (FSmaller.Last >= FSmaller.First) FRowOffsets.reserve(std::size_t(FSmaller.Last - FSmaller.First + 1));
    std::size_t Cells = 0;
    for (int64_t B = FSmaller.First; B <= FSmaller.Last; ++B) {
        const TIndexRange Larger = LargerWithin(B);
        FRowOffsets.push_back(int64_t(Cells) - Larger.First);
        if (Larger.Last >= Larger.First) Cells += std::size_t(Larger.Last - Larger.First + 1);
    }
    Fill(Cells);
}

TRadialGeometry::TIndexRange TRadialGeometry::Reach(int64_t From, int64_t To) const {
    TIndexRange Range;
    // Offsets on both sides of the centre fold onto the same distances.
    Range.First = To < 0 ? Index(To) : (From > 0 ? Index(From) : 0);
    // Only the distances within the circle are asked for.
    Range.Last = int64_t(std::min(double(std::max(Index(From), Index(To))), std::floor(std::sqrt(FReach2)) + 1.0));
    return Range;
}

TRadialGeometry::TIndexRange TRadialGeometry::LargerWithin(int64_t B) const {
    const double Dy = double(B) + FHalf;
    const double Chord = std::sqrt(std::max(FReach2 - Dy * Dy, 0.0));
    return {std::max(B, FLarger.First), int64_t(std::min(double(FLarger.Last), std::floor(Chord) + 1.0))};
}

void TRadialGeometry::FillRow(const TLensZenith& Lens, int64_t B, std::vector<double>& Radii,
                              std::vector<double>& Zeniths) {
    const TIndexRange Larger = LargerWithin(B);
    if (Larger.Last < Larger.First) return;
    // The radii of the row's cells, then those of their slopes' differences.
    const std::size_t N = std::size_t(Larger.Last - Larger.First + 1);
    Radii.resize(3 * N);
    Zeniths.resize(3 * N);
    const double Dy = double(B) + FHalf;
    for (std::size_t I = 0; I < N; ++I) {
        const double Dx = double(Larger.First + int64_t(I)) + FHalf;
        const double Radius = std::sqrt(Dx * Dx + Dy * Dy);
        Radii[I] = Radius;
        Radii[N + I] = SlopeRadiusAbove(Radius);
        Radii[2 * N + I] = SlopeRadiusBelow(Radius);
    }
    Lens(Radii, Zeniths);
    for (std::size_t I = 0; I < N; ++I) {
        const std::size_t At = Cell(Larger.First + int64_t(I), B);
        const double Radius = Radii[I], Zenith = Zeniths[I];
        FSkyWeights[At] = SkyWeight(Radius, Zenith, Zenith, SlopeOfZeniths(Radius, Zeniths[N + I], Zeniths[2 * N + I]));
        FBands[At] = BandOf(Zenith);
        FDegrees[At] = DegreeOf(Zenith);
        if (FWeightings) FWeightings[At] = ZenithWeighting(Zenith);
    }
}

void TRadialGeometry::Fill(std::size_t Cells) {
    FSkyWeights = std::make_unique_for_overwrite<double[]>(Cells);
    FBands = std::make_unique_for_overwrite<uint8_t[]>(Cells);
    FDegrees = std::make_unique_for_overwrite<uint8_t[]>(Cells);
    if (ZenithThresholdType != 0) FWeightings = std::make_unique_for_overwrite<double[]>(Cells);
    const TLensZenith Lens;
    ForEachRowBlock(0, int(FRowOffsets.size()) - 1, [&](const TRowBlock& Block) {
        std::vector<double> Radii, Zeniths;
        for (int Row = Block.First; Row <= Block.Last; ++Row) FillRow(Lens, FSmaller.First + Row, Radii, Zeniths);
    });
}

}  // namespace tam32
