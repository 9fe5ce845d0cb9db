#pragma once
// The checks of the PAR estimate's and the sun tracks' settings, before any
// work (see SettingsCheck): True, after "ERR22", when they refuse.
namespace tam32 {

// The PAR estimate: the site's latitude within the poles, a time zone of
// less than a day, a transmissivity in (0, 1], an altitude below the height
// at which the air pressure formula reaches zero, and PAR and diffuse
// ratios of at least 0.
bool CheckPARSettings();
// The sun tracks: the lens's view angle, the latitude and the time zone.
bool CheckSunTrackSettings();

}  // namespace tam32
