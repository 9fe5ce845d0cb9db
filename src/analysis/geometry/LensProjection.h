#pragma once
// Fisheye geometry shared by every analysis: the exact circle centre and
// radius, direction angles and azimuths, the eight lens projection models
// (zenith to image radius and back), the slope-corrected zenith, the
// 15-degree ring of a pixel and its weight in the sky factor. Angles are
// degrees; pure functions of their arguments and of the circle, lens and
// slope settings.
#include <algorithm>
#include <cstdint>
#include <numbers>
#include <span>

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
// The same, given also ZenithSlopePerPixel(Radius).
double SkyWeight(double Radius, double LensZenith, double Zenith, double Slope);

// ZenithSlopePerPixel is a central difference over a small fraction of a
// pixel, one-sided at the centre: the radii whose zeniths it takes, and the
// slope from those zeniths.
constexpr double kSlopeStep = 1.0 / 64.0;
inline double SlopeRadiusAbove(double Radius) { return Radius + kSlopeStep; }
inline double SlopeRadiusBelow(double Radius) { return std::max(Radius - kSlopeStep, 0.0); }
inline double SlopeOfZeniths(double Radius, double ZenithAbove, double ZenithBelow) {
    return (ZenithAbove - ZenithBelow) / (SlopeRadiusAbove(Radius) - SlopeRadiusBelow(Radius)) *
           (std::numbers::pi / 180.0);
}

// RadiusToZenith under the lens and circle settings of the time it is made,
// for a loop over many radii: the settings are read once, and a whole row of
// radii is worked out at a time, the polynomials of the calibrated lenses
// side by side, each radius's zenith the same to the last bit.
class TLensZenith {
public:
    TLensZenith();
    double operator()(double Radius) const;
    // Zeniths[I] becomes the zenith of Radii[I]; both have the same size.
    void operator()(std::span<const double> Radii, std::span<double> Zeniths) const;

private:
    int32_t FLensType;
    double FRadius, FMaxViewAngle;
};

}  // namespace tam32
