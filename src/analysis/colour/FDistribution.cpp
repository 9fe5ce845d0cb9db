#include "analysis/colour/FDistribution.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace tam32 {
namespace {

// Up to this sum of the degrees of freedom the finite series stays, so the
// discriminant analysis keeps its results to the last bit; beyond it the
// series costs a step per two degrees of freedom and loses its accuracy to
// cancellation.
constexpr int64_t kSeriesLimit = 10000;

constexpr long double kEpsilon = std::numeric_limits<long double>::epsilon();

// The finite series for whole degrees of freedom M and N.
double SeriesUpperProb(int64_t M, int64_t N, double F) {
    // An odd numerator with an even denominator: the swapped pair is the even case.
    if (M % 2 != 0 && N % 2 == 0) return double(1.0L - SeriesUpperProb(N, M, double(1.0L / F)));
    const long double X = 1.0L / (1.0L + M * static_cast<long double>(F) / N), Y = 1.0L - X;
    if (M % 2 == 0) {
        long double Term = std::pow(X, N / 2.0L), Sum = Term;
        for (int64_t I = 2; I < M; I += 2) {
            Term = Term * (N + I - 2) * Y / I;
            Sum += Term;
        }
        return double(Sum);
    }
    // Both odd.
    long double A = std::atan(std::sqrt(N / (M * static_cast<long double>(F)))), Term = std::sqrt(X * Y);
    for (int64_t I = 3; I <= M; I += 2) {
        A += Term;
        Term = Term * (I - 1) * Y / I;
    }
    Term = M * Term;
    for (int64_t I = 3; I <= N; I += 2) {
        A -= Term;
        Term = Term * (M + I - 2) * X / I;
    }
    return double(2.0L * A / std::numbers::pi_v<long double>);
}

// E - ln(OnePlusE), OnePlusE being 1 + E computed on its own: near 0 by
// the series of ln(1 + E) in T = E / (2 + E), 2 (T + T³/3 + T⁵/5 + ...)
// with E - 2T = E T, so no digit cancels; elsewhere OnePlusE keeps its
// precision also where E nears -1.
long double LogExcess(long double E, long double OnePlusE) {
    if (std::fabs(E) > 0.5L) return E - std::log(OnePlusE);
    const long double T = E / (2.0L + E), T2 = T * T;
    long double Power = T, Sum = 0.0L;
    for (int K = 3; K < 200; K += 2) {
        Power *= T2;
        const long double Term = Power / K;
        Sum += Term;
        if (std::fabs(Term) <= kEpsilon * std::fabs(Sum)) break;
    }
    return E * T - 2.0L * Sum;
}

// ln Γ(Z) less Stirling's (Z - 1/2) ln Z - Z + ln √(2π): small, so the
// large parts cancel exactly instead of in rounding.
long double StirlingRemainder(long double Z) {
    if (Z < 20.0L) {
        const long double Stirling =
            (Z - 0.5L) * std::log(Z) - Z + 0.5L * std::log(2.0L * std::numbers::pi_v<long double>);
        return std::lgamma(Z) - Stirling;
    }
    // Its asymptotic series, B(2k) / (2k (2k - 1) Z^(2k-1)), k = 1..8: the
    // first term left out is below 1e-23 from Z = 20 on.
    constexpr long double kCoefficients[] = {1.0L / 12,    -1.0L / 360,      1.0L / 1260, -1.0L / 1680,
                                             1.0L / 1188,  -691.0L / 360360, 1.0L / 156,  -3617.0L / 122400};
    const long double InverseSquare = 1.0L / (Z * Z);
    long double Sum = 0.0L, Power = 1.0L / Z;
    for (const long double C : kCoefficients) {
        Sum += C * Power;
        Power *= InverseSquare;
    }
    return Sum;
}

// Quadruple precision for the continued fraction: with a parameter of 10^9
// its argument lies within 10^-9 of 1 and its steps subtract numbers that
// agree in 9 digits, which extended precision would lose.
using TQuad = __float128;

// The continued fraction of the regularised incomplete beta I_x(A, B)
// without its prefactor (modified Lentz); it converges in some thousands
// of steps at most for X below (A + 1) / (A + B + 2).
TQuad BetaContinuedFraction(TQuad A, TQuad B, TQuad X) {
    const TQuad Tiny = 1e-4000L;
    const auto Guarded = [Tiny](TQuad V) { return (V < 0 ? -V : V) < Tiny ? Tiny : V; };
    const TQuad Sum = A + B;
    TQuad C = 1, D = 1 / Guarded(1 - Sum * X / (A + 1)), H = D;
    // The bound only stops a fraction that rounding keeps from settling.
    for (TQuad M = 1; M <= 1e6L; M += 1) {
        const TQuad M2 = 2 * M;
        TQuad Step = M * (B - M) * X / ((A - 1 + M2) * (A + M2));
        D = 1 / Guarded(1 + Step * D);
        C = Guarded(1 + Step / C);
        H *= D * C;
        Step = -(A + M) * (Sum + M) * X / ((A + M2) * (A + 1 + M2));
        D = 1 / Guarded(1 + Step * D);
        C = Guarded(1 + Step / C);
        const TQuad Change = D * C;
        H *= Change;
        // Settled to the precision of the prefactor.
        if (std::fabs((long double)(Change - 1)) <= kEpsilon) break;
    }
    return H;
}

// The upper tail as the regularised incomplete beta I_x(N/2, M/2) at
// x = N / (N + M F), for degrees of freedom of any size.
long double BetaUpperProb(int64_t M, int64_t N, long double F) {
    const long double A = N / 2.0L, B = M / 2.0L, Denominator = N + M * F;
    // ln(x^A y^B / B(A, B)) from Stirling's formula around the mean
    // x0 = A / (A + B): with x = x0 (1 + e1) and y = y0 (1 + e2),
    // A ln(x / x0) + B ln(y / y0) is -(A (e1 - ln(1 + e1)) + B (e2 - ln(1 + e2)))
    // since A e1 + B e2 = 0: two terms of one sign, and no large logarithms
    // that cancel.
    const long double E1 = M * (1.0L - F) / Denominator, E2 = -N * (1.0L - F) / Denominator;
    const long double Ratio1 = (N + M) / Denominator, Ratio2 = F * (N + M) / Denominator;
    const long double LogPrefactor =
        -(A * LogExcess(E1, Ratio1) + B * LogExcess(E2, Ratio2)) - 0.5L * std::log((A + B) / (A * B)) -
        0.5L * std::log(2.0L * std::numbers::pi_v<long double>) -
        (StirlingRemainder(A) + StirlingRemainder(B) - StirlingRemainder(A + B));
    const long double Prefactor = std::exp(LogPrefactor);
    // x and y to quadruple precision: M F is exact there.
    const TQuad QuadDenominator = TQuad(N) + TQuad(M) * TQuad(F);
    const TQuad X = TQuad(N) / QuadDenominator, Y = TQuad(M) * TQuad(F) / QuadDenominator;
    // Each tail from the side on which its fraction converges; the other
    // tail is then at least about one half, so 1 - it loses nothing.
    if (X < TQuad((A + 1.0L) / (A + B + 2.0L)))
        return Prefactor / A * (long double)BetaContinuedFraction(A, B, X);
    return 1.0L - Prefactor / B * (long double)BetaContinuedFraction(B, A, Y);
}

}  // namespace

double FDistUpperProb(int DF1, int DF2, double F) {
    if (DF1 < 1 || DF2 < 1) return std::numeric_limits<double>::quiet_NaN();
    if (!(F > 0.0)) return 1.0;
    if (std::isinf(F)) return 0.0;
    const int64_t M = DF1, N = DF2;
    if (M + N <= kSeriesLimit) return SeriesUpperProb(M, N, F);
    return double(BetaUpperProb(M, N, F));
}

double FCritical05(int DF1, int DF2) {
    constexpr int kPasses = 12;  // steps 10, 1, 0.1, ..., 1e-10
    constexpr int kMaxEvaluations = 10000;
    if (DF1 < 1 || DF2 < 1) return -1.0;
    long double Lower = 0.0L, Step = 10.0L, X = -1.0L;
    int Evaluations = 0;
    for (int Pass = 0; Pass < kPasses; ++Pass) {
        X = Lower;
        double P;
        do {
            X += Step;
            P = FDistUpperProb(DF1, DF2, double(X));
            if (++Evaluations > kMaxEvaluations) return -1.0;
        } while (P > 0.05);
        // The last point that still lay above 0.05, or the previous bound.
        Lower = X - Step;
        Step /= 10.0L;
    }
    return double(X);
}

}  // namespace tam32
