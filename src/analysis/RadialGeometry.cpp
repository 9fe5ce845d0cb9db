#include "analysis/RadialGeometry.h"

#include <algorithm>
#include <cmath>

#include "analysis/GapFraction.h"
#include "analysis/GlobalSettings.h"
#include "analysis/LensProjection.h"
#include "analysis/TargetPixels.h"

namespace tam32 {

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
    FSamples.resize(FColumns.Count() * FRows.Count());
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

void TRadialGeometry::Fill() {
    const std::size_t Width = FColumns.Count();
    std::vector<std::size_t> Filled(FRows.Count());  // columns within the circle, per row
    for (std::size_t Row = 0; Row < Filled.size(); ++Row) {
        const int64_t J = FRows.First + int64_t(Row);
        const double Dy = double(J) + FHalf;
        const double Chord = std::sqrt(std::max(FReach2 - Dy * Dy, 0.0));
        const double LastColumn = std::min(double(FColumns.Last), std::floor(Chord) + 1.0);
        Filled[Row] = LastColumn >= double(FColumns.First) ? std::size_t(LastColumn - double(FColumns.First)) + 1 : 0;
        TSample* Samples = FSamples.data() + Row * Width;
        for (std::size_t Column = 0; Column < Filled[Row]; ++Column) {
            const int64_t I = FColumns.First + int64_t(Column);
            // Swapping the axes keeps the distance: an earlier row may have it.
            if (I < J && I >= FRows.First && J >= FColumns.First) {
                const std::size_t EarlierRow = std::size_t(I - FRows.First);
                const std::size_t EarlierColumn = std::size_t(J - FColumns.First);
                if (EarlierColumn < Filled[EarlierRow]) {
                    Samples[Column] = FSamples[EarlierRow * Width + EarlierColumn];
                    continue;
                }
            }
            const double Dx = double(I) + FHalf;
            const double Radius = std::sqrt(Dx * Dx + Dy * Dy);
            const double Zenith = RadiusToZenith(Radius);
            Samples[Column] = {Zenith, SkyWeight(Radius, Zenith)};
        }
    }
    if (ZenithThresholdType == 0) return;
    FWeightings.resize(FSamples.size());
    for (std::size_t Row = 0; Row < Filled.size(); ++Row)
        for (std::size_t Cell = Row * Width; Cell < Row * Width + Filled[Row]; ++Cell)
            FWeightings[Cell] = ZenithWeighting(FSamples[Cell].Zenith);
}

}  // namespace tam32
