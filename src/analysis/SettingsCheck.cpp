#include "analysis/SettingsCheck.h"

#include <cmath>

#include "analysis/CanopyTransmittance.h"
#include "analysis/GlobalSettings.h"
#include "analysis/Messages.h"
#include "analysis/PARRadiationModel.h"
#include "analysis/SolarPosition.h"
#include "analysis/TargetPixels.h"

namespace tam32 {
namespace {

bool Refused(bool Usable) {
    if (Usable) return false;
    ShowErrorMessage(QStringLiteral("ERR22"));
    return true;
}

// The equidistant model (also for a LensType outside 1..7) and the normal
// lens divide by the maximum view angle.
bool ViewAngleUsable() {
    const bool ModelReadsIt = LensType < 1 || LensType > 6;
    return !ModelReadsIt || (std::isfinite(MaxViewAngle) && MaxViewAngle > 0.0);
}

bool SlopeUsable() { return !SlopeCorrection || (std::isfinite(SlopeInclination) && std::isfinite(SlopeAzimuth)); }

// A threshold line fitted with a model that weights every zenith alike has
// no slope (0 / 0).
bool ZenithModelUsable() {
    const bool LineFitted = BinarizeTarget >= 0 && BinarizeTarget <= 2 && ZenithLineInUse(true);
    return !LineFitted || (ZenithThresholdType >= 1 && ZenithThresholdType <= 4);
}

// The latitude as the sun's position takes it, within the poles, and a time
// zone of less than a day.
bool SiteAndTimeUsable() {
    return std::abs(DegreesFromDMS(LatitudeH, LatitudeM, LatitudeS)) <= 90.0 && std::abs(TimeZone) < 24.0;
}

bool NonNegative(double Ratio) { return std::isfinite(Ratio) && Ratio >= 0.0; }

}  // namespace

bool CheckGapFractionSettings() { return Refused(ViewAngleUsable() && SlopeUsable() && ZenithModelUsable()); }

bool CheckCorrectionSettings() { return Refused(CorrectionSettingsUsable()); }

bool CorrectionSettingsUsable() { return ViewAngleUsable() && SlopeUsable(); }

bool CheckPARSettings() {
    return Refused(SiteAndTimeUsable() && Tau > 0.0 && Tau <= 1.0 && std::isfinite(AboveSea) &&
                   AboveSea < kPressureZeroAltitude && NonNegative(PARRatio) && NonNegative(DiffuseRatio));
}

bool CheckSunTrackSettings() { return Refused(ViewAngleUsable() && SiteAndTimeUsable()); }

bool CheckLengthSettings() { return Refused(std::isfinite(ImageDPI) && ImageDPI > 0.0); }

bool CheckLAIReportSettings() {
    return Refused(NCType >= 0 && NCType <= NCTypeBinarization && NCStart >= 0 && NCStart <= 89 && NCEnd >= 0 &&
                   NCEnd <= 89 && ThresholdMethod >= 0 && ThresholdMethod < int(ThresholdMethodNames.size()));
}

}  // namespace tam32
