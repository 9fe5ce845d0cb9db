#pragma once
// Fisheye geometry shared by every analysis: the exact circle centre and
// radius, direction angles and azimuths, the eight lens projection models
// (zenith to image radius and back), the slope-corrected zenith, the
// 15-degree ring of a pixel and its weight in the sky factor. Angles are
// degrees; pure functions of their arguments and of the circle, lens and
// slope settings.
#include <cstdint>

namespace tam32 {

// The exact circle: its centre lies half a pixel in from CircleX, CircleY
// unless CircleCenterOffset puts it on the pixel's top-left corner.
double CircleCentreX();
double CircleCentreY();
double CircleRadius();

// Direction of (X, Y) seen from (X0, Y0), counter-clockwise from +x (up = 90), in [0, 360).
double DirectionAngle(double X0, double Y0, double X, double Y);
double PixelAzimuth(double X, double Y);
// Degrees brought into [0, 360).
double WrappedAzimuth(double Degrees);
// The azimuth for writing with Decimals decimals: in [0, 360), and 0 where
// the writing would round it up to 360.
double AzimuthAsWritten(double Degrees, int Decimals);

// The LensType of a normal (not fisheye) lens: its circle runs through the
// picture's corners.
constexpr int32_t kNormalLensType = 7;

// Image radius in pixels of a zenith angle under LensType.
double ZenithToRadius(double Zenith);
// Zenith of an image radius under LensType, without the slope correction.
double RadiusToZenith(double Radius);
// Zenith of an image point, slope-corrected when SlopeCorrection is set.
double PixelZenith(double X, double Y);
double SlopeCorrectedZenith(double Zenith, double X, double Y);
// The 15-degree ring 0..5 of a zenith (capped at 90), and of a pixel.
int ZenithRing(double Zenith);
int ZenithRingIndex(int X, int Y);

// dZenith/dRadius in radians per pixel under LensType, at Radius.
double ZenithSlopePerPixel(double Radius);

// The sky factor's weight of a gap pixel at image radius Radius whose zenith
// (slope-corrected where set) is Zenith: the cosine-weighted solid angle the
// pixel covers under the lens model, over pi.
double SkyWeight(double Radius, double Zenith);
// The same, given the lens zenith of Radius (RadiusToZenith(Radius)).
double SkyWeight(double Radius, double LensZenith, double Zenith);

}  // namespace tam32
