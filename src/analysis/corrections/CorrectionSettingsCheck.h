#pragma once
// The check of the settings of the corrections that follow the lens (tilt,
// north-up and slope, panorama), before any work (see SettingsCheck).
namespace tam32 {

// The lens's view angle and finite slope angles while the slope correction
// is on: True, after "ERR22", when they refuse.
bool CheckCorrectionSettings();
// The same test without a message, for a routine that says why in its own words.
bool CorrectionSettingsUsable();

}  // namespace tam32
