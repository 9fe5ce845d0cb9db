#pragma once
// The analysis image as the settings ask for it, with which an analysis
// opens its run (then framed by TAnalysisRun): above the image itself, since
// it may correct the lens's distortion and shrink the target.
#include <QString>

namespace tam32 {

// Saves the four classification settings, loads the image as the settings ask
// (distortion-corrected, plain, then shrunk when ShrinkBeforeAnalysis is set).
// True on failure, after its message; the settings are then back as they were
// and no image stays loaded.
bool OpenAnalysisImage(const QString& FileName);

}  // namespace tam32
