#pragma once
// Levels a hemispherical photograph taken with the camera not quite upright.
// The user draws a line along one vertical object (a stem, a pole); a
// vertical object lies on one azimuth, so EstimateTilt searches the turns
// that bring both ends of the line onto one azimuth, first on a coarse grid
// (0.1 degree over +-15 degrees), then on a fine one (0.01 degree over +-1
// degree about the coarse best), and shows the photograph turned back by them.
// One line gives one condition on two angles: the search returns one of a
// curve of equally good pairs, which need not be the camera's true tilt.
//
// Sky directions are unit vectors (sin t cos p, sin t sin p, cos t), p the
// direction angle about the circle's centre and t the zenith, both radians.
// The tilt T(a, b) turns by a about the y axis, then by b about the x axis;
// the correction C(A1, A2, A3) = Rz(A3) Rx(A1) Ry(A2).
#include <QString>
#include <array>

#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;

// The start and the end of a line in image pixels.
using TTiltLine = std::array<TPoint, 2>;

// Azimuth (0..2 pi, counter-clockwise from +x) of T(A, B)·V.
double RotatedAzimuth(double Vx, double Vy, double Vz, double B, double A);
// Image position of T(A, B)·V under the lens model: radius of its zenith
// along its azimuth from (CircleX + 0.5, CircleY + 0.5).
void RotatedPosition(double& X, double& Y, double Vx, double Vy, double Vz, double B, double A);
// The angle between two azimuths the short way round (radians, 0..pi).
double AzimuthDifference(double A1, double A2);

// Estimates the tilt from Line, shows "tx:=..,ty:=..,t0:=.." (the turns
// about x and y in degrees, the remaining azimuth difference in radians),
// shows the photograph turned back in Image and draws the turned line on it
// with the canvas's pen; Drawn, when given, receives that line. True on
// failure (Image unchanged, nothing drawn), after the message that says
// why: no circle ("ERR10"), settings that the correction cannot follow
// ("ERR32"), a line of no length or with an end outside the image circle
// ("ERR30"), or a file that does not load ("ERR14").
bool EstimateTilt(const QString& FileName, TBitmap& Image, const TTiltLine& Line, TTiltLine* Drawn = nullptr);
// Image := the photograph of FileName turned back by TiltX (about x), TiltY
// (about y) and Turn (about the zenith), degrees; black outside the circle
// and the analysis area. NorthForAnalysis turns it further. True on failure
// (Image unchanged): no circle, or a file that does not load.
bool ViewTiltCorrectedImage(const QString& FileName, TBitmap& Image, double TiltX, double TiltY, double Turn);

}  // namespace tam32
