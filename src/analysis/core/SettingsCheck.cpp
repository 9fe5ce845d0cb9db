#include "analysis/core/SettingsCheck.h"

#include <cmath>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"

namespace tam32 {

bool SettingsRefused(bool Usable) {
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

bool CheckLengthSettings() { return SettingsRefused(std::isfinite(ImageDPI) && ImageDPI > 0.0); }

}  // namespace tam32
