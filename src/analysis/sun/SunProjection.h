#pragma once
// Where a sun position falls on the hemispherical photograph: the direction
// from the image's north angle and the pixel from the lens model. The PAR
// estimate tests that pixel for a gap; the sun tracks draw through it.
#include "analysis/sun/SolarPosition.h"

namespace tam32 {

// Where sun places fall on the hemispherical photograph, for the north
// angle read when it is made and the circle and lens in force.
class TSunOnImage {
public:
    TSunOnImage();
    // The pixel of Sun: its zenith 90 - Altitude at the lens model's radius
    // from the circle's centre pixel (CircleX, CircleY, without the half-pixel
    // offset), in its azimuth's direction on the image, which runs
    // counter-clockwise from +x: north at NorthForAnalysis and east 90 degrees
    // counter-clockwise from it, as in a photograph taken looking up. False
    // when the lens model puts it beyond any picture (a normal lens at the
    // horizon), X and Y then unchanged.
    bool Pixel(const TSunPlace& Sun, int& X, int& Y) const;

private:
    double FCosNorth, FSinNorth;
};

// The sun above the horizon, minute by minute through the date and at the
// site stored when it is made (TSolarDay), in ascending minutes: after a
// minute with the sun below the horizon, the minutes in which it cannot have
// risen yet are answered without computing the position (the sun moves
// across the sky by at most 15.05 degrees an hour, so its altitude climbs no
// faster).
class TSunMinutes {
public:
    TSunMinutes() = default;
    explicit TSunMinutes(const TSolarDay& Day) : FDay(Day) {}
    // True with the sun's place when it stands at or above the horizon at
    // Hour:Minute; False below it.
    bool Up(int Hour, int Minute, TSunPlace& Sun);

private:
    const TSolarDay FDay;
    int FNightUntil = 0;  // minute of the day before which the sun is surely down
};

}  // namespace tam32
