#include "analysis/canopy/FiveRingLAI.h"

#include <cmath>

namespace tam32 {

const std::array<TFiveRing, 5> FiveRings = {{
    {"  7( 0 - 14)", 0.034, 1.008, 7},
    {" 22(15 - 29)", 0.104, 1.087, 22},
    {" 38(30 - 44)", 0.160, 1.270, 38},
    {" 52(45 - 59)", 0.218, 1.662, 52},
    {" 68(60 - 74)", 0.484, 2.670, 68},
}};

double FiveRingTerm(int Ring, double Transmittance) {
    const TFiveRing& R = FiveRings.at(Ring);
    return -std::log(Transmittance) * R.Weight / R.PathLength;
}

}  // namespace tam32
