#include "analysis/sun/SunSettingsCheck.h"

#include <cmath>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/SettingsCheck.h"
#include "analysis/sun/PARRadiationModel.h"
#include "analysis/sun/SolarPosition.h"

namespace tam32 {
namespace {

// The latitude as the sun's position takes it, within the poles, and a time
// zone of less than a day.
bool SiteAndTimeUsable() {
    return std::abs(DegreesFromDMS(LatitudeH, LatitudeM, LatitudeS)) <= 90.0 && std::abs(TimeZone) < 24.0;
}

bool NonNegative(double Ratio) { return std::isfinite(Ratio) && Ratio >= 0.0; }

}  // namespace

bool CheckPARSettings() {
    return SettingsRefused(SiteAndTimeUsable() && Tau > 0.0 && Tau <= 1.0 && std::isfinite(AboveSea) &&
                           AboveSea < kPressureZeroAltitude && NonNegative(PARRatio) && NonNegative(DiffuseRatio));
}

bool CheckSunTrackSettings() { return SettingsRefused(ViewAngleUsable() && SiteAndTimeUsable()); }

}  // namespace tam32
