#include <array>
#include <cstddef>

#include "analysis/sun/SolarPosition.h"

namespace tam32 {

namespace {

// Refraction in arc minutes: entries 0..29 for 0 to 14.5 degrees of altitude
// in half-degree steps, 30..84 for 15 to 69 degrees in one-degree steps,
// 85..88 for 70 to 85 degrees in five-degree steps; 89 holds above 85.
constexpr std::array<double, 90> RefractionTable = {
    34.4,  28.65, 24.283, 20.883, 18.217, 16.067, 14.333, 12.883, 11.683, 10.683,  //  0.0 ..  4.5
    9.817, 9.067, 8.417,  7.867,  7.367,  6.917,  6.517,  6.167,  5.85,   5.55,    //  5.0 ..  9.5
    5.283, 5.05,  4.833,  4.617,  4.433,  4.267,  4.1,    3.95,   3.8,    3.667,   // 10.0 .. 14.5
    3.55,  3.317, 3.117,  2.933,  2.783,  2.633,  2.5,    2.367,  2.267,  2.15,    // 15 .. 24
    2.067, 1.967, 1.883,  1.817,  1.733,  1.667,  1.6,    1.533,  1.483,  1.433,   // 25 .. 34
    1.383, 1.333, 1.283,  1.233,  1.183,  1.15,   1.117,  1.067,  1.033,  1.0,     // 35 .. 44
    0.967, 0.817, 0.9,    0.867,  0.833,  0.817,  0.783,  0.75,   0.733,  0.7,     // 45 .. 54
    0.683, 0.65,  0.633,  0.6,    0.583,  0.55,   0.533,  0.517,  0.5,    0.467,   // 55 .. 64
    0.45,  0.433, 0.417,  0.383,  0.367,                                          // 65 .. 69
    0.35,  0.267, 0.167,  0.083,                                                  // 70, 75, 80, 85
    0.017,                                                                        // above 85
};

// The table in degrees.
constexpr std::array<double, 90> RefractionDegrees = [] {
    std::array<double, 90> Degrees{};
    for (std::size_t I = 0; I < Degrees.size(); ++I) Degrees[I] = RefractionTable[I] / 60.0;
    return Degrees;
}();

// For an altitude of 0 up to 90, where truncating is rounding down.
int RefractionIndex(double Altitude) {
    if (Altitude <= 15.0) return int(2.0 * Altitude);
    if (Altitude <= 70.0) return int(Altitude) + 15;
    if (Altitude <= 85.0) return int(Altitude / 5.0) + 71;
    return 89;
}

}  // namespace

double AtmosRefraction(double Altitude) {
    // Written so that NaN also takes the no-refraction branch.
    if (!(Altitude >= 0.0 && Altitude < 90.0)) return 0.0;
    return RefractionDegrees[std::size_t(RefractionIndex(Altitude))];
}

}  // namespace tam32
