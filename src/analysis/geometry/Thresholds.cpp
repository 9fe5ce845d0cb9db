#include "analysis/geometry/Thresholds.h"

#include <cmath>

#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"

namespace tam32 {
namespace {

constexpr int kMaxIterations = 200;

// What every method needs to know of the histogram.
struct THistogramSummary {
    double N = 0.0;  // sum of all counts
    int Lo = 0, Hi = 0;  // lowest and highest non-empty bins
    int Median = 0;      // start value of the iterative methods, within 1..254
};

bool NonEmpty(int I) { return Histogram[I] > 0.5; }

// Weight, mean and (for the minimum-error method) variance of bins First..Last.
struct TClassMoments {
    double W = 0.0, Mean = 0.0, Variance = 0.0;
};

TClassMoments Moments(int First, int Last) {
    TClassMoments M;
    double S1 = 0.0, S2 = 0.0;
    for (int I = First; I <= Last; ++I) {
        M.W += Histogram[I];
        S1 += I * Histogram[I];
        S2 += double(I) * I * Histogram[I];
    }
    if (M.W != 0.0) {
        M.Mean = S1 / M.W;
        M.Variance = S2 / M.W - M.Mean * M.Mean;
    }
    return M;
}

int ThresholdIntermeans(const THistogramSummary& S) {
    int T = S.Median;
    for (int Iteration = 1;; ++Iteration) {
        const int Prev = T;
        const TClassMoments C1 = Moments(0, T), C2 = Moments(T + 1, 255);
        if (C1.W == 0.0 || C2.W == 0.0) return -1;
        T = static_cast<int>((C1.Mean + C2.Mean) / 2.0);
        if (T < S.Lo) T = S.Lo;
        if (T >= S.Hi) T = S.Hi - 1;
        if (T == 0) T = 1;
        if (Iteration > kMaxIterations) return -1;
        if (T == Prev) break;
    }
    int Peak = T + 1;
    for (int J = T + 2; J <= 254; ++J)
        if (Histogram[J] > Histogram[Peak]) Peak = J;
    switch (ThresholdCondition) {
        case 0: return T + 1;
        case 3: return (Peak + T + 1) / 2;
        default: return T;
    }
}

int ThresholdMinimumError(const THistogramSummary& S) {
    int T = S.Median;
    for (int Iteration = 1;; ++Iteration) {
        const int Prev = T;
        TClassMoments C1 = Moments(0, T), C2 = Moments(T + 1, 255);
        if (C1.W == 0.0 || C2.W == 0.0) return -1;
        const double V1 = C1.Variance, V2 = C2.Variance;
        if (V1 == 0.0 || V2 == 0.0 || V1 == V2) return -1;
        const double P1 = C1.W / S.N, P2 = C2.W / S.N;
        const double A = 1.0 / V1 - 1.0 / V2;
        const double B = C1.Mean / V1 - C2.Mean / V2;
        const double C = std::log10(V1 * P2 * P2 / (V2 * P1 * P1)) + C1.Mean * C1.Mean / V1 - C2.Mean * C2.Mean / V2;
        const double D = std::max(B * B - A * C, 0.0);
        const double Next = (std::sqrt(D) + B) / A;
        // A degenerate fit, or one below bin 0 (whose lower class would be
        // empty next time), gives no threshold rather than an undefined conversion.
        if (!std::isfinite(Next) || Next <= -1.0) return -1;
        T = Next >= S.Hi ? S.Hi - 1 : static_cast<int>(Next);
        if (T == 0) T = 1;
        if (T >= S.Hi) T = S.Hi - 1;
        if (Iteration > kMaxIterations) return -1;
        if (T == Prev) break;
    }
    return ThresholdCondition == 0 ? T + 1 : T;
}

// Mode 0 the largest between-class variance, 1 the largest entropy sum, 2 the
// smallest minimum-error criterion; the first of equal values wins.
int ThresholdKL(const THistogramSummary& S, int Mode) {
    double P[256] = {};
    for (int I = S.Lo; I <= S.Hi; ++I) P[I] = Histogram[I] / S.N;
    int A = S.Lo + 1;
    while (A <= S.Hi && !NonEmpty(A)) ++A;
    int B = S.Hi - 1;
    while (B >= S.Lo && !NonEmpty(B)) --B;
    --B;
    while (B >= S.Lo && !NonEmpty(B)) --B;
    // Two non-empty bins leave nothing to split into classes of two bins each.
    if (A >= S.Hi || B < S.Lo) return -1;

    int Best = A;
    double BestValue = 0.0;
    for (int T = A; T <= B; ++T) {
        double W1 = 0.0, W2 = 0.0, M1 = 0.0, M2 = 0.0;
        for (int I = S.Lo; I <= T; ++I) {
            W1 += P[I];
            M1 += I * P[I];
        }
        for (int I = T + 1; I <= S.Hi; ++I) {
            W2 += P[I];
            M2 += I * P[I];
        }
        M1 /= W1;
        M2 /= W2;
        double Value;
        if (Mode == 0) {
            Value = (M1 - M2) * (M1 - M2) * W1 * W2;
        } else if (Mode == 1) {
            double E = 0.0;
            for (int I = S.Lo; I <= T; ++I)
                if (P[I] > 0.0) E -= P[I] / W1 * std::log(P[I] / W1);
            for (int I = T + 1; I <= S.Hi; ++I)
                if (P[I] > 0.0) E -= P[I] / W2 * std::log(P[I] / W2);
            Value = E;
        } else {
            double V1 = 0.0, V2 = 0.0;
            for (int I = S.Lo; I <= T; ++I) V1 += (I - M1) * (I - M1) * P[I];
            for (int I = T + 1; I <= S.Hi; ++I) V2 += (I - M2) * (I - M2) * P[I];
            V1 /= W1;
            V2 /= W2;
            Value = W1 * std::log(std::sqrt(V1) / W1) + W2 * std::log(std::sqrt(V2) / W2);
        }
        if (T == A) {
            BestValue = Value;
        } else if ((Mode == 2 && Value < BestValue && T < S.Hi - 1) || (Mode != 2 && Value > BestValue)) {
            Best = T;
            BestValue = Value;
        }
    }
    return ThresholdCondition == 0 ? Best + 1 : Best;
}

}  // namespace

int AutoThreshold() {
    if (ThresholdMethod == 2) return FixedThreshold;
    THistogramSummary S;
    int Bins = 0;
    for (int I = 0; I <= 255; ++I) {
        S.N += Histogram[I];
        if (NonEmpty(I)) {
            if (Bins == 0) S.Lo = I;
            S.Hi = I;
            ++Bins;
        }
    }
    if (S.N < 2.0 || Bins < 2) return -1;
    double Running = 0.0;
    int M = 0;
    while (M < 255 && Running + Histogram[M] < S.N / 2.0) Running += Histogram[M++];
    S.Median = M == 0 ? 1 : (M == 255 ? 254 : M);
    switch (ThresholdMethod) {
        case 1: return ThresholdMinimumError(S);
        case 3: return ThresholdKL(S, 0);
        case 4: return ThresholdKL(S, 1);
        case 5: return ThresholdKL(S, 2);
        default: return ThresholdIntermeans(S);
    }
}

}  // namespace tam32
