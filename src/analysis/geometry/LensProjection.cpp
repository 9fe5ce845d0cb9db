#include "analysis/geometry/LensProjection.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

#include "analysis/core/GlobalSettings.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
// 360 / pi: an arcsine in radians gives half the zenith in degrees.
constexpr double kHalfAngleToDegrees = 114.59155902616465;

// Calibration polynomials of the lens models, lowest power first, for each
// direction.
constexpr double kNikon8mmForward[] = {0.0,
                                       1.09419205742113,
                                       -0.00513661602901403,
                                       0.0053352317297804,
                                       -0.00376157954547503,
                                       0.00130646346755792,
                                       -0.000274070328331795,
                                       3.55590218507738e-05,
                                       -2.78625132753799e-06,
                                       1.20807062100747e-07,
                                       -2.22715081946656e-09};
constexpr double kNikon8mmInverse[] = {0.0,
                                       0.91227120854358,
                                       0.00942011147828971,
                                       -0.0104300794526636,
                                       0.00653058821393529,
                                       -0.00222085050300777,
                                       0.000460339214208646,
                                       -5.91798786465111e-05,
                                       4.60751025745559e-06,
                                       -1.99047439334084e-07,
                                       3.66511486914382e-09};
constexpr double kSigma8mmForward[] = {0.0, 1.06300000001041, -0.0278484848524672, 0.00421487603354707,
                                       -0.000200350613593164};
constexpr double kSigma8mmInverse[] = {0.0, 0.924965278300657, 0.032569713972468, -0.00480523550516883,
                                       0.000224043098518124};
constexpr double kFCE8Forward[] = {0.0,
                                   6.72522750428844,
                                   0.00349195921803118,
                                   -0.000269197756441645,
                                   -1.84446759022115e-05,
                                   2.92578508440524e-06,
                                   -1.69631880377436e-07,
                                   5.54602517518084e-09,
                                   -1.12527472764436e-10,
                                   1.4469066453826e-12,
                                   -1.14872244119852e-14,
                                   5.14203889001424e-17,
                                   -9.93257172884411e-20};
constexpr double kFCE8Inverse[] = {0.0,
                                   0.148333643183785,
                                   2.06662255383323e-05,
                                   -9.36724491757442e-07,
                                   1.96874103541567e-08,
                                   -2.18475575049132e-10,
                                   1.48396237295671e-12,
                                   -6.50490167777328e-15,
                                   1.87827837179972e-17,
                                   -3.55089722693491e-20,
                                   4.22953326764274e-23,
                                   -2.87962185040511e-26,
                                   8.5440263991343e-30};
constexpr double kRaynoxForward[] = {6.05015251937358e-05, 0.990561391672386,   0.0542210099539349,
                                     -0.0856439914096697,  0.0464658760712205,  -0.0120070335460931,
                                     0.0010378491294181};
constexpr double kRaynoxInverse[] = {0.00200666330631257, 0.898338691193371,   0.467823765014832,
                                     -0.767604106989892,  0.574215674256314,   -0.194541487251892,
                                     0.0247416483301249};

double Polynomial(std::span<const double> C, double X) {
    double Sum = 0.0;
    for (auto It = C.rbegin(); It != C.rend(); ++It) Sum = Sum * X + *It;
    return Sum;
}

// Polynomial(C, X[I]) into Sums[I] for each of Count values, four sums side
// by side in registers: each takes Polynomial's steps, but one sum no longer
// waits for the multiplication and addition before it to finish.
void PolynomialOfEach(std::span<const double> C, const double* X, double* Sums, std::size_t Count) {
    std::size_t I = 0;
    for (; I + 4 <= Count; I += 4) {
        const double X0 = X[I], X1 = X[I + 1], X2 = X[I + 2], X3 = X[I + 3];
        double S0 = 0.0, S1 = 0.0, S2 = 0.0, S3 = 0.0;
        for (auto It = C.rbegin(); It != C.rend(); ++It) {
            S0 = S0 * X0 + *It;
            S1 = S1 * X1 + *It;
            S2 = S2 * X2 + *It;
            S3 = S3 * X3 + *It;
        }
        Sums[I] = S0;
        Sums[I + 1] = S1;
        Sums[I + 2] = S2;
        Sums[I + 3] = S3;
    }
    for (; I < Count; ++I) Sums[I] = Polynomial(C, X[I]);
}

// Arguments beyond the circle would leave the arcsine's domain; the edge value stands for them.
double HalfAngleArcSin(double V) { return std::asin(std::clamp(V, -1.0, 1.0)) * kHalfAngleToDegrees; }

// Half the diagonal of a normal-lens image, whose circle centre is the image centre.
double NormalLensHalfDiagonal() {
    const double X = CircleX + 1.0, Y = CircleY + 1.0;
    return std::sqrt(X * X + Y * Y);
}

// The calibrated lens models' zenith of a radius T = r / R:
// Finish(Polynomial(Inverse, Scale * T)).
struct TInverseModel {
    std::span<const double> Inverse;
    double Scale;
    double (*Finish)(double Sum);
};
constexpr TInverseModel kNikon8mm{kNikon8mmInverse, 11.5, [](double Sum) { return Sum * 90.0 / 11.5; }};
constexpr TInverseModel kSigma8mm{kSigma8mmInverse, 11.0, [](double Sum) { return HalfAngleArcSin(Sum / 15.6); }};
constexpr TInverseModel kFCE8{kFCE8Inverse, 577.0, [](double Sum) { return Sum; }};
constexpr TInverseModel kRaynox{kRaynoxInverse, 3.21,
                                [](double Sum) { return HalfAngleArcSin(Sum / 5.72646925793537); }};

double ZenithOfModel(const TInverseModel& Model, double T) {
    return Model.Finish(Polynomial(Model.Inverse, Model.Scale * T));
}

// The inverse model of a calibrated LensType; nullptr for the others.
const TInverseModel* InverseModelOf(int32_t Type) {
    switch (Type) {
        case 1: return &kNikon8mm;
        case 4: return &kSigma8mm;
        case 5: return &kFCE8;
        case 6: return &kRaynox;
        default: return nullptr;
    }
}

// The calibrated lens models' image radius of a zenith for circle radius R,
// on constants of their own (not the inverse models'); they stop at the
// circle's edge.
inline double RadiusNikon8mm(double Zenith, double R) {
    return std::min(Polynomial(kNikon8mmForward, 11.5 * Zenith / 90.0) / 11.5 * R, R);
}

inline double RadiusSigma8mm(double Zenith, double R) {
    return std::min(Polynomial(kSigma8mmForward, 15.6 * std::sin(Zenith * kDeg / 2.0)) / 11.0 * R, R);
}

inline double RadiusFCE8(double Zenith, double R) { return std::min(Polynomial(kFCE8Forward, Zenith) / 577.0 * R, R); }

inline double RadiusRaynox(double Zenith, double R) {
    return std::min(Polynomial(kRaynoxForward, 5.7265085705453 * std::sin(Zenith * kDeg / 2.0)) / 3.21 * R, R);
}

}  // namespace

double CircleCentreX() { return CircleX + 0.5 - CircleCenterOffset; }
double CircleCentreY() { return CircleY + 0.5 - CircleCenterOffset; }
double CircleRadius() { return CircleR + CircleCenterOffset; }

double DirectionAngle(double X0, double Y0, double X, double Y) {
    const double Dx = X - X0, Dy = Y0 - Y;
    double A;
    if (Dx == 0.0) return Dy > 0.0 ? 90.0 : 270.0;
    if (Dx > 0.0) {
        A = std::atan(Dy / Dx);
        if (Dy < 0.0) A += 2.0 * kPi;
    } else {
        A = std::atan(Dy / Dx) + kPi;
    }
    return A * 180.0 / kPi;
}

double PixelAzimuth(double X, double Y) { return DirectionAngle(CircleCentreX(), CircleCentreY(), X, Y); }

double WrappedAzimuth(double Degrees) {
    double A = std::fmod(Degrees, 360.0);
    if (A < 0.0) A += 360.0;
    // A tiny negative remainder plus 360 rounds to 360 itself.
    return A < 360.0 ? A : 0.0;
}

double AzimuthAsWritten(double Degrees, int Decimals) {
    const double A = WrappedAzimuth(Degrees);
    return A >= 360.0 - 0.5 * std::pow(10.0, -Decimals) ? 0.0 : A;
}

double ZenithToRadius(double Zenith) {
    const double R = CircleRadius();
    switch (LensType) {
        case 1: return RadiusNikon8mm(Zenith, R);
        case 2: return std::sqrt(2.0) * R * std::sin(Zenith * kDeg / 2.0);
        case 3: return std::sin(Zenith * kDeg / 2.0) * 15.6 * R / 11.0;
        case 4: return RadiusSigma8mm(Zenith, R);
        case 5: return RadiusFCE8(Zenith, R);
        case 6: return RadiusRaynox(Zenith, R);
        case kNormalLensType: return std::tan(Zenith * kDeg) / (21.5 / MaxViewAngle) * NormalLensHalfDiagonal();
        default: return R * Zenith / MaxViewAngle;
    }
}

TLensZenith::TLensZenith() : FLensType(LensType), FRadius(CircleRadius()), FMaxViewAngle(MaxViewAngle) {}

double TLensZenith::operator()(double Radius) const {
    const double T = Radius / FRadius;
    if (const TInverseModel* Model = InverseModelOf(FLensType)) return ZenithOfModel(*Model, T);
    switch (FLensType) {
        case 2: return HalfAngleArcSin(T / std::sqrt(2.0));
        case 3: return HalfAngleArcSin(11.0 * T / 15.6);
        case kNormalLensType: return std::atan((21.5 / FMaxViewAngle) * Radius / NormalLensHalfDiagonal()) * 180.0 / kPi;
        default: return std::min(FMaxViewAngle * Radius / FRadius, FMaxViewAngle);
    }
}

void TLensZenith::operator()(std::span<const double> Radii, std::span<double> Zeniths) const {
    const TInverseModel* Model = InverseModelOf(FLensType);
    if (Model == nullptr) {
        for (std::size_t I = 0; I < Radii.size(); ++I) Zeniths[I] = (*this)(Radii[I]);
        return;
    }
    // A part of the radii at a time, with the polynomial's arguments beside them.
    constexpr std::size_t kPart = 256;
    double Arguments[kPart];
    for (std::size_t First = 0; First < Radii.size(); First += kPart) {
        const std::size_t Count = std::min(kPart, Radii.size() - First);
        for (std::size_t I = 0; I < Count; ++I) Arguments[I] = Model->Scale * (Radii[First + I] / FRadius);
        double* const Sums = Zeniths.data() + First;
        PolynomialOfEach(Model->Inverse, Arguments, Sums, Count);
        for (std::size_t I = 0; I < Count; ++I) Sums[I] = Model->Finish(Sums[I]);
    }
}

double RadiusToZenith(double Radius) { return TLensZenith()(Radius); }

double ZenithSlopePerPixel(double Radius) {
    const TLensZenith Zenith;
    return SlopeOfZeniths(Radius, Zenith(SlopeRadiusAbove(Radius)), Zenith(SlopeRadiusBelow(Radius)));
}

double SkyWeight(double Radius, double LensZenith, double Zenith, double Slope) {
    // Solid angle per unit image area is sin(theta) * dtheta/dr / r, theta
    // the lens zenith; at the very centre sin(theta) / r tends to dtheta/dr.
    const double SinOverR = Radius > 1e-9 ? std::sin(LensZenith * kDeg) / Radius : Slope;
    return std::cos(Zenith * kDeg) * SinOverR * Slope / kPi;
}

double SkyWeight(double Radius, double LensZenith, double Zenith) {
    return SkyWeight(Radius, LensZenith, Zenith, ZenithSlopePerPixel(Radius));
}

double SkyWeight(double Radius, double Zenith) { return SkyWeight(Radius, RadiusToZenith(Radius), Zenith); }

double SlopeCorrectedZenith(double Zenith, double X, double Y) {
    double Phi = (PixelAzimuth(X, Y) - NorthForAnalysis) * kDeg;
    if (Phi < 0.0) Phi += 2.0 * kPi;
    const double Beta = SlopeInclination * kDeg, PhiS = SlopeAzimuth * kDeg, T = Zenith * kDeg;
    const double C = std::cos(T) * std::cos(Beta) + std::sin(T) * std::sin(Beta) * std::cos(Phi - PhiS);
    return std::acos(std::clamp(C, -1.0, 1.0)) * 180.0 / kPi;
}

double PixelZenith(double X, double Y) {
    const double Dx = X - CircleCentreX(), Dy = Y - CircleCentreY();
    const double Zenith = RadiusToZenith(std::sqrt(Dx * Dx + Dy * Dy));
    return SlopeCorrection ? SlopeCorrectedZenith(Zenith, X, Y) : Zenith;
}

int ZenithRing(double Zenith) { return std::min(TruncInt(std::min(Zenith, 90.0)) / 15, 5); }

int ZenithRingIndex(int X, int Y) { return ZenithRing(PixelZenith(X, Y)); }

}  // namespace tam32
