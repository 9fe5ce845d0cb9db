#pragma once
// Settings may come from a settings file edited by hand. Each family of
// routines refuses, before any work, the values under which its results
// would be no numbers or no sense (divisions by zero, powers of negative
// numbers, places beyond the poles); whatever a stored file may legitimately
// hold passes. A check that refuses shows "ERR22" and returns True. Each
// subject checks its own settings; here are the tests that several share.
namespace tam32 {

// True, after "ERR22", when Usable is false: how every check refuses.
bool SettingsRefused(bool Usable);
// The lens's maximum view angle, positive and finite for the lens models
// that read it.
bool ViewAngleUsable();
// Finite slope angles while the slope correction is on.
bool SlopeUsable();
// Lengths in centimetres: a positive image resolution.
bool CheckLengthSettings();

}  // namespace tam32
