#pragma once
// Ring and band counts of a canopy with a known leaf area index and
// ellipsoidal leaf angle distribution, as the gap fraction analysis would
// leave them for an equidistant fisheye of radius Radius pixels: each band
// holds its annulus' share of pixels (fractional) and lets through
// exp(-K·L) at its centre zenith. Channel sums follow the gap share, so the
// three DN ratios equal it.
#include <cmath>
#include <numbers>

#include "analysis/canopy/EllipsoidalFit.h"
#include "analysis/core/GlobalSettings.h"

namespace tam32::test {

inline void SetBandCounts(int Band, double All, double Gap) {
    const int Ring = Band / 15;
    ZenithCounts[0][Band] = All;
    ZenithCounts[1][Band] = Gap;
    RingCounts[0][Ring] += All;
    RingCounts[1][Ring] += Gap;
    for (int C = 0; C < 3; ++C) {
        ZenithColorSums[C][Band] = 255 * Gap;
        RingColorSums[C][Ring] += 255 * Gap;
    }
}

inline void MakeSyntheticCanopy(double LAI, double VH, double Radius = 400) {
    for (int Band = 0; Band < 90; ++Band) {
        const double All = std::numbers::pi * Radius * Radius * ((Band + 1) * (Band + 1) - Band * Band) / 8100.0;
        const double Tan = std::tan((Band + 0.5) * std::numbers::pi / 180);
        SetBandCounts(Band, All, All * std::exp(-EllipsoidalExtinction(Tan, VH) * LAI));
    }
}

}  // namespace tam32::test
