#pragma once
// The ellipsoidal leaf angle distribution fitted by least squares to the
// transmittances seen in several zenith directions: the extinction
// coefficient's shape parameter is found by bisection, the leaf area index
// follows from the slope of ln T against the coefficient.
#include <vector>

namespace tam32 {

// Extinction coefficient of an ellipsoidal leaf angle distribution with
// semi-axis ratio X, for a direction whose zenith angle has tangent T.
double EllipsoidalExtinction(double T, double X);

struct TFitDirection {
    double Tangent;        // tangent of the zenith angle
    double Transmittance;  // above 0
};

struct TEllipsoidalFit {
    double SumK2 = 0;  // sum of the squared coefficients; 0 when nothing was fitted
    double LAI = 0;
    double VH = 0;     // the semi-axis ratio
    double MLA = 0;    // mean leaf angle in degrees
    bool Valid() const { return SumK2 != 0; }
};

// The bracket starts at 0..20 with the first trial at 1 and is halved until
// it is narrower than 0.01. LAI comes from the sums of the last pass, the
// ratio is the final midpoint.
TEllipsoidalFit FitEllipsoidal(const std::vector<TFitDirection>& Directions);

}  // namespace tam32
