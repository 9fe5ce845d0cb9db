#include "analysis/canopy/CanopySettingsCheck.h"

#include "analysis/canopy/CanopyTransmittance.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/SettingsCheck.h"
#include "analysis/geometry/TargetPixels.h"

namespace tam32 {
namespace {

// A threshold line fitted with a model that weights every zenith alike has
// no slope (0 / 0).
bool ZenithModelUsable() {
    const bool LineFitted = BinarizeTarget >= 0 && BinarizeTarget <= 2 && ZenithLineInUse(true);
    return !LineFitted || (ZenithThresholdType >= 1 && ZenithThresholdType <= 4);
}

}  // namespace

bool CheckGapFractionSettings() { return SettingsRefused(ViewAngleUsable() && SlopeUsable() && ZenithModelUsable()); }

bool CheckLAIReportSettings() {
    return SettingsRefused(NCType >= 0 && NCType <= NCTypeBinarization && NCStart >= 0 && NCStart <= 89 &&
                           NCEnd >= 0 && NCEnd <= 89 && ThresholdMethod >= 0 &&
                           ThresholdMethod < int(ThresholdMethodNames.size()));
}

}  // namespace tam32
