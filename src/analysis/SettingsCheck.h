#pragma once
// Settings may come from a settings file edited by hand. Each family of
// routines refuses, before any work, the values under which its results
// would be no numbers or no sense (divisions by zero, powers of negative
// numbers, places beyond the poles); whatever a stored file may legitimately
// hold passes. A check that refuses shows "ERR22" and returns True.
namespace tam32 {

// The gap fraction analysis: a positive maximum view angle for the lens
// models that read it, finite slope angles while the slope correction is on,
// and a zenith threshold model that the threshold line knows.
bool CheckGapFractionSettings();
// The corrections that follow the lens (tilt, north-up and slope, panorama):
// the lens's view angle and finite slope angles while the slope correction is on.
bool CheckCorrectionSettings();
// The same test without a message, for a routine that says why in its own words.
bool CorrectionSettingsUsable();
// The PAR estimate: the site's latitude within the poles, a time zone of
// less than a day, a transmissivity in (0, 1], an altitude below the height
// at which the air pressure formula reaches zero, and PAR and diffuse
// ratios of at least 0.
bool CheckPARSettings();
// The sun tracks: the lens's view angle, the latitude and the time zone.
bool CheckSunTrackSettings();
// Lengths in centimetres: a positive image resolution.
bool CheckLengthSettings();
// The LAI reports: a transmittance source of 0..3, a fitted zenith range
// within 0..89 degrees and a threshold method that has a name.
bool CheckLAIReportSettings();

}  // namespace tam32
