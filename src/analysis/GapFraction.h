#pragma once
// The gap fraction analysis of a hemispherical photograph: per 15-degree ring
// and one-degree zenith band, all and gap (target) pixels and colour sums,
// the brightest gap colour per band and the sky factor, from which the LAI
// reports and the PAR estimate compute their results.
#include <QString>

#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;
class TPixelBits;

// Over Area (inclusive, clipped to the image) within the circle. When
// DrawResults is set, Image becomes the gap image: white gap, black
// elsewhere. True on failure, after its message ("ERR22" for settings
// without sense, "ERR31" for an area without any pixel, whatever the
// target); nothing is published then. With KeepAnalysisImage the image and
// the classification settings stay for the caller.
bool GapFractionAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area);
// The same, except that the gap image is left to the caller: when
// DrawResults is set, its marks are moved into Gaps instead of painted into
// Image, so that a caller drawing over them paints the picture once.
bool GapFractionAnalysisUnpainted(const QString& FileName, TBitmap& Image, const TRect& Area, TPixelBits& Gaps);

// The sky factor's weight of a gap pixel at image radius Radius whose zenith
// (slope-corrected where set) is Zenith: the cosine-weighted solid angle the
// pixel covers under the lens model, over pi.
double SkyWeight(double Radius, double Zenith);
// The same, given the lens zenith of Radius (RadiusToZenith(Radius)).
double SkyWeight(double Radius, double LensZenith, double Zenith);
// The same, given also ZenithSlopePerPixel(Radius).
double SkyWeight(double Radius, double LensZenith, double Zenith, double Slope);

}  // namespace tam32
