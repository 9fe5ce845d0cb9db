#pragma once
// The north-up and slope-corrected hemispherical photograph: a new picture
// in which each pixel of the image circle shows the sky direction that the
// fisheye geometry gives it once north and, when SlopeCorrection is on, the
// sloped ground are taken into account. A direction at direction angle p
// in the source shows at p + NorthForAnalysis; with the slope, each pixel
// takes the source pixel on its (turned) ray at the radius of its zenith
// measured from the ground's normal (SlopeInclination toward SlopeAzimuth).
#include <QString>

namespace tam32 {

// Writes the corrected picture of SrcName to DstName (a 24-bit BMP file of
// the source's size, black outside the circle and the analysis area).
// True when DstName was written; False when not: no image circle (nothing
// loaded), a source that does not load, or a write that failed.
bool CorrectHemiImageFile(const QString& SrcName, const QString& DstName);

}  // namespace tam32
