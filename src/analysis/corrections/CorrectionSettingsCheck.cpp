#include "analysis/corrections/CorrectionSettingsCheck.h"

#include "analysis/core/SettingsCheck.h"

namespace tam32 {

bool CheckCorrectionSettings() { return SettingsRefused(CorrectionSettingsUsable()); }

bool CorrectionSettingsUsable() { return ViewAngleUsable() && SlopeUsable(); }

}  // namespace tam32
