#include "analysis/FDistribution.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace tam32 {

double FDistUpperProb(int DF1, int DF2, double F) {
    if (DF1 < 1 || DF2 < 1) return std::numeric_limits<double>::quiet_NaN();
    if (!(F > 0.0)) return 1.0;
    const int M = DF1, N = DF2;
    // An odd numerator with an even denominator: the swapped pair is the even case.
    if (M % 2 != 0 && N % 2 == 0) return double(1.0L - FDistUpperProb(N, M, double(1.0L / F)));
    const long double X = 1.0L / (1.0L + M * static_cast<long double>(F) / N), Y = 1.0L - X;
    if (M % 2 == 0) {
        long double Term = std::pow(X, N / 2.0L), Sum = Term;
        for (int I = 2; I < M; I += 2) {
            Term = Term * (N + I - 2) * Y / I;
            Sum += Term;
        }
        return double(Sum);
    }
    // Both odd.
    long double A = std::atan(std::sqrt(N / (M * static_cast<long double>(F)))), Term = std::sqrt(X * Y);
    for (int I = 3; I <= M; I += 2) {
        A += Term;
        Term = Term * (I - 1) * Y / I;
    }
    Term = M * Term;
    for (int I = 3; I <= N; I += 2) {
        A -= Term;
        Term = Term * (M + I - 2) * X / I;
    }
    return double(2.0L * A / std::numbers::pi_v<long double>);
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
