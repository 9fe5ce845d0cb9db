#pragma once
// The panorama for a basal-area count: the image circle of a hemispherical
// photograph unrolled so that the stems around the camera stand side by side
// at the horizon. Columns are the direction angle over the full turn (column
// c at c·dA, dA the angle under which one pixel of the horizon circle is seen
// from the centre; north does not enter), rows are the zenith about the
// horizon: row 500 - k shows zenith 90 - k·90/R90 (k = -500..500), R90 the
// image radius of zenith 90. Below it a white band plots the red, green and
// blue values along the horizon row. The counting is left to the user.
#include <QString>

namespace tam32 {

class TBitmap;

// Photograph position of a direction (Zenith in degrees, Azimuth in radians
// counter-clockwise from +x), without the half-pixel shift of the analyses.
void ZenithAzimuthToXY(double& X, double& Y, double Zenith, double Azimuth);

// Image := the panorama of FileName (N + 1 columns, 1257 rows) with the
// horizon drawn over row 500 with the canvas's pen. True on failure, Image
// unchanged: no circle, or a circle whose horizon radius gives no panorama
// of at most 32767 columns (the normal lens has no horizon) ("ERR10"), or a
// file that does not load ("ERR14").
bool BAMeasurement(const QString& FileName, TBitmap& Image);

}  // namespace tam32
