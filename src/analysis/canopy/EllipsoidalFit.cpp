#include "analysis/canopy/EllipsoidalFit.h"

#include <cmath>

namespace tam32 {

double EllipsoidalExtinction(double T, double X) {
    return std::sqrt(X * X + T * T) / (X + 1.774 * std::pow(X + 1.182, -0.733));
}

TEllipsoidalFit FitEllipsoidal(const std::vector<TFitDirection>& Directions) {
    // The coefficient at x + 0.01 stands in for the derivative: the sign of
    // B*D - A*C tells on which side of x the least-squares optimum lies.
    constexpr double Step = 0.01;
    double Lo = 0, Hi = 20, X = 1.0;
    double A = 0, B = 0;
    do {
        A = 0;
        B = 0;
        double C = 0, D = 0;
        for (const TFitDirection& Dir : Directions) {
            const double L = std::log(Dir.Transmittance);
            const double K1 = EllipsoidalExtinction(Dir.Tangent, X);
            const double K2 = EllipsoidalExtinction(Dir.Tangent, X + Step);
            A += K1 * L;
            B += K1 * K1;
            C += K1 * K2;
            D += K2 * L;
        }
        if (B * D - A * C < 0)
            Lo = X;
        else
            Hi = X;
        X = (Lo + Hi) / 2;
    } while (Hi - Lo >= Step);

    TEllipsoidalFit Fit;
    Fit.SumK2 = B;
    if (B == 0) return Fit;
    // An open sky gives A = 0, whose negation would print as "-0.000".
    Fit.LAI = A == 0 ? 0.0 : -A / B;
    Fit.VH = X;
    Fit.MLA = 90 * (0.1 + 0.9 * std::exp(-0.5 * X));
    return Fit;
}

}  // namespace tam32
