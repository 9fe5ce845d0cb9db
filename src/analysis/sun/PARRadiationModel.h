#pragma once
// The radiation model of the PAR estimate: how much of the diffuse sky light
// a photograph's gaps let through (from the gap fraction per zenith band),
// and the clear-sky direct beam for a sun altitude.
#include <cstdint>

namespace tam32 {

// The sky weights of the one-degree zenith bands of the last gap fraction
// analysis under the DifModel sky (0 standard overcast, 1 uniform
// overcast): G weights each band by its gap fraction, W is the sum of the
// weights. Bands without pixels (outside the analysed area or the lens's
// view) tell nothing about the sky and are left out.
struct TSiteFactorSums {
    double G = 0.0;
    double W = 0.0;
    // The fraction of the diffuse light on a horizontal surface that comes
    // through gaps; 0 when no band was seen at all.
    double IndirectSiteFactor() const { return W > 0.0 ? G / W : 0.0; }
};
TSiteFactorSums IndirectSiteFactorSums();

// The air pressure at AboveSea metres over that at sea level, in the standard
// atmosphere's troposphere: ((288 - 0.0065 h) / 288)^5.256. It reaches zero
// at kPressureZeroAltitude and has no value above.
double PressureRatio(double AboveSea);
inline constexpr double kPressureZeroAltitude = 288.0 / 0.0065;

// The direct beam on a horizontal surface under a clear sky of optical
// transmittance Tau at AboveSea metres, on the stored solar date: photon
// flux in micromoles per square metre and second, before the PAR fraction.
class TClearSkyBeam {
public:
    // Reads the stored date, Tau and AboveSea.
    TClearSkyBeam();
    // Of a given date, for days worked out side by side.
    TClearSkyBeam(int32_t Year, int32_t Month, int32_t Day);
    double ClearSkyDirectRadiation(double Altitude) const;

private:
    double FAboveAtmosphere;  // flux outside the atmosphere on that day
    double FPressureRatio;    // air pressure at the site over that at sea level
};

}  // namespace tam32
