#include "analysis/canopy/CanopyTransmittance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/core/GlobalSettings.h"

namespace tam32 {

namespace {

constexpr double DegToRad = std::numbers::pi / 180;

template <typename Counts, typename Sums>
double Transmittance(const Counts& PixelCounts, const Sums& ColorSums, int Index, int Type) {
    const double All = PixelCounts[0][Index];
    if (All <= 0) return 0;
    if (Type == NCTypeBinarization) return PixelCounts[1][Index] / All;
    return ColorSums[Type][Index] / (255 * All);
}

}  // namespace

double BandWeight(int Band) {
    return std::sin((90 - Band) * DegToRad) - std::sin((90 - Band - 1) * DegToRad);
}

double BandTangent(double Degree) { return std::tan((Degree + 0.5) * DegToRad); }

double RingTransmittance(int Ring, int Type) { return Transmittance(RingCounts, RingColorSums, Ring, Type); }

double BandTransmittance(int Band, int Type) { return Transmittance(ZenithCounts, ZenithColorSums, Band, Type); }

double BandChannelRatio(int Channel, int Band) {
    const double All = ZenithCounts[0][Band];
    return All > 0 ? ZenithColorSums[Channel][Band] / (255 * All) : 0;
}

std::optional<double> CanopyCover(int From, int To, int Type) {
    double Cover = 0, Weight = 0;
    for (int Band = std::max(From, 0); Band <= std::min(To, 89); ++Band) {
        if (ZenithCounts[0][Band] <= 0) continue;
        const double W = BandWeight(Band);
        Cover += W * (1 - BandTransmittance(Band, Type));
        Weight += W;
    }
    if (Weight <= 0) return std::nullopt;
    return 100 * Cover / Weight;
}

}  // namespace tam32
