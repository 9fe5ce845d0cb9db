#pragma once
// The five-ring leaf area index: Miller's integral over the rings 0..74
// degrees, each ring's -ln(transmittance) weighted by its share of the
// hemisphere and divided by its relative path length.
#include <array>

namespace tam32 {

struct TFiveRing {
    const char* Label;  // centre (range) in degrees, as the report prints it
    double Weight;
    double PathLength;
    double Zenith;      // the zenith angle the ring-based fit takes for it
};

extern const std::array<TFiveRing, 5> FiveRings;

// The ring's share of the index (before doubling); Transmittance above 0.
double FiveRingTerm(int Ring, double Transmittance);

}  // namespace tam32
