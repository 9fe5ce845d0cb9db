#pragma once
// What the leaf area index reports read from the ring and band counts of the
// gap fraction analysis. A ring or band without any pixel (the analysis area
// covered only part of it) has no transmittance: it reads 0, as a ring that
// let no light through, and counts for nothing in the cover.
#include <optional>

namespace tam32 {

// The transmittance type that reads the gap share instead of a channel mean.
constexpr int NCTypeBinarization = 3;

// Share of the one-degree band b (b to b + 1 degrees of zenith) in the
// hemisphere's solid angle; the 90 bands sum to 1.
double BandWeight(int Band);

// By Type 0..2 the mean of that channel divided by 255, by Type 3 the share
// of gap pixels; 0 for a ring or band without pixels.
double RingTransmittance(int Ring, int Type);
double BandTransmittance(int Band, int Type);
// Mean of channel 0..2 over band b divided by 255; 0 without pixels.
double BandChannelRatio(int Channel, int Band);

// Tangent of the zenith angle at the middle of the one-degree band that
// starts at Degree: the direction in which the fits see a band or a ring.
double BandTangent(double Degree);

// Canopy cover in percent, 1 - transmittance of Type averaged over the bands
// From..To within 0..89 that have pixels, each by its weight; none when no
// such band has any.
std::optional<double> CanopyCover(int From, int To, int Type);

}  // namespace tam32
