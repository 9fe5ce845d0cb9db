#include "analysis/RadialGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

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
    // Indices for the farthest pixel of the area, or of the circle when that is nearer.
    const int64_t FarX = std::max(std::abs(int64_t(Area.Left) - CircleX), std::abs(int64_t(Area.Right) - CircleX));
    const int64_t FarY = std::max(std::abs(int64_t(Area.Top) - CircleY), std::abs(int64_t(Area.Bottom) - CircleY));
    const double Far = std::min(double(std::max(FarX, FarY)), std::ceil(std::sqrt(FReach2)));
    FRows.resize(std::size_t(Far) + 2);
    Fill();
}

void TRadialGeometry::Fill() {
    for (std::size_t Row = 0; Row < FRows.size(); ++Row) {
        const double Dy = double(Row) + FHalf;
        // Only the distances within the circle are asked for.
        const double Chord = std::sqrt(std::max(FReach2 - Dy * Dy, 0.0));
        std::vector<TSample>& Samples = FRows[Row];
        Samples.resize(std::size_t(std::min(double(FRows.size()), std::floor(Chord) + 2.0)));
        for (std::size_t I = 0; I < Samples.size(); ++I) {
            // Swapping the axes keeps the distance: an earlier row has it.
            if (I < Row && Row < FRows[I].size()) {
                Samples[I] = FRows[I][Row];
                continue;
            }
            const double Dx = double(I) + FHalf;
            const double Radius = std::sqrt(Dx * Dx + Dy * Dy);
            const double Zenith = RadiusToZenith(Radius);
            Samples[I] = {Zenith, SkyWeight(Radius, Zenith)};
        }
    }
    if (ZenithThresholdType == 0) return;
    FWeightings.resize(FRows.size());
    for (std::size_t Row = 0; Row < FRows.size(); ++Row)
        for (const TSample& Sample : FRows[Row]) FWeightings[Row].push_back(ZenithWeighting(Sample.Zenith));
}

}  // namespace tam32
