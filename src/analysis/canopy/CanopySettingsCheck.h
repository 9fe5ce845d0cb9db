#pragma once
// The checks of the gap fraction's and the LAI reports' settings, before any
// work (see SettingsCheck): True, after "ERR22", when they refuse.
namespace tam32 {

// The gap fraction analysis: a positive maximum view angle for the lens
// models that read it, finite slope angles while the slope correction is on,
// and a zenith threshold model that the threshold line knows.
bool CheckGapFractionSettings();
// The LAI reports: a transmittance source of 0..3, a fitted zenith range
// within 0..89 degrees and a threshold method that has a name.
bool CheckLAIReportSettings();

}  // namespace tam32
