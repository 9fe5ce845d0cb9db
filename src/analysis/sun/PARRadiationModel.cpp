#include "analysis/sun/PARRadiationModel.h"

#include <QDate>
#include <cmath>
#include <numbers>

#include "analysis/core/GlobalSettings.h"
#include "analysis/sun/SolarPosition.h"

namespace tam32 {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

double SinDeg(double Angle) { return std::sin(Angle * kDeg); }

}  // namespace

TSiteFactorSums IndirectSiteFactorSums() {
    TSiteFactorSums Sums;
    for (int Band = 0; Band <= 89; ++Band) {
        const double All = ZenithCounts[0][Band];
        if (All <= 0.0) continue;
        const double Gap = ZenithCounts[1][Band] / All;
        const double Elevation = 89.5 - Band;
        const double SinE = SinDeg(Elevation);
        // The band's share of the hemisphere's solid angle, times the
        // overcast sky's radiance at its elevation, times the cosine of
        // incidence on a horizontal surface.
        const double Solid = SinDeg(Elevation + 0.5) - SinDeg(Elevation - 0.5);
        const double Radiance = DifModel == 0 ? 1.0 + 2.0 * SinE : 1.0;
        const double Weight = Solid * Radiance * SinE;
        Sums.G += Gap * Weight;
        Sums.W += Weight;
    }
    return Sums;
}

TClearSkyBeam::TClearSkyBeam() : TClearSkyBeam(SolarYear, SolarMonth, SolarDay) {}

TClearSkyBeam::TClearSkyBeam(int32_t Year, int32_t Month, int32_t Day)
    : FAboveAtmosphere(
          6302.0 * (1.0 + 0.034 * std::cos(2.0 * std::numbers::pi * QDate(Year, Month, Day).dayOfYear() / 365.0))),
      FPressureRatio(PressureRatio(AboveSea)) {}

double PressureRatio(double AboveSea) { return std::pow((288.0 - 0.0065 * AboveSea) / 288.0, 5.256); }

double TClearSkyBeam::ClearSkyDirectRadiation(double Altitude) const {
    const double S = SinDeg(Altitude);
    const double AirMass = FPressureRatio * (std::sqrt(1229.0 + (614.0 * S) * (614.0 * S)) - 614.0 * S);
    return FAboveAtmosphere * std::pow(Tau, AirMass) * S;
}

}  // namespace tam32
