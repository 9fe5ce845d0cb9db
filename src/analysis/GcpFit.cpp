#include "analysis/GcpFit.h"

#include <algorithm>
#include <cmath>

namespace tam32 {
namespace {

constexpr double kRankTolerance = 1e-9;
constexpr int kMaxSweeps = 60;

// The singular values of the matrix of Columns (one-sided Jacobi: pairs of
// columns are turned until all are orthogonal; their lengths are then the
// singular values).
std::vector<double> SingularValues(std::vector<std::vector<double>> Columns) {
    const std::size_t N = Columns.size();
    const auto Dot = [](const std::vector<double>& A, const std::vector<double>& B) {
        double Sum = 0.0;
        for (std::size_t I = 0; I < A.size(); ++I) Sum += A[I] * B[I];
        return Sum;
    };
    for (int Sweep = 0; Sweep < kMaxSweeps; ++Sweep) {
        bool Turned = false;
        for (std::size_t P = 0; P + 1 < N; ++P)
            for (std::size_t Q = P + 1; Q < N; ++Q) {
                std::vector<double>& A = Columns[P];
                std::vector<double>& B = Columns[Q];
                const double Alpha = Dot(A, A), Beta = Dot(B, B), Gamma = Dot(A, B);
                if (!(std::fabs(Gamma) > 1e-15 * std::sqrt(Alpha * Beta))) continue;
                Turned = true;
                const double Zeta = (Beta - Alpha) / (2.0 * Gamma);
                const double T = std::copysign(1.0, Zeta) / (std::fabs(Zeta) + std::hypot(1.0, Zeta));
                const double C = 1.0 / std::hypot(1.0, T), S = C * T;
                for (std::size_t I = 0; I < A.size(); ++I) {
                    const double Ai = A[I], Bi = B[I];
                    A[I] = C * Ai - S * Bi;
                    B[I] = S * Ai + C * Bi;
                }
            }
        if (!Turned) break;
    }
    std::vector<double> Values;
    for (const std::vector<double>& Column : Columns) Values.push_back(std::sqrt(Dot(Column, Column)));
    return Values;
}

// Coordinates moved to mean 0 and scaled to deviation 1 (all 0 when they
// do not vary).
std::vector<double> Standardised(const std::vector<double>& Values) {
    double Mean = 0.0;
    for (double V : Values) Mean += V;
    Mean /= double(Values.size());
    double Square = 0.0;
    for (double V : Values) Square += (V - Mean) * (V - Mean);
    const double Deviation = std::sqrt(Square / double(Values.size()));
    std::vector<double> Result;
    for (double V : Values) Result.push_back(Deviation > 0.0 ? (V - Mean) / Deviation : 0.0);
    return Result;
}

// The least-squares coefficients of the value that Of picks from each point.
std::optional<std::vector<double>> FitValue(const std::vector<TControlPoint>& Points, int Order,
                                            double TControlPoint::*Of) {
    const int N = GcpTermCount(Order);
    std::vector<long double> M(std::size_t(N * N), 0.0L), V(std::size_t(N), 0.0L);
    for (const TControlPoint& P : Points) {
        const TGcpTerms T = GcpTerms(P.X, P.Y, Order);
        for (int R = 0; R < N; ++R) {
            for (int C = 0; C < N; ++C) M[std::size_t(R * N + C)] += (long double)T[R] * T[C];
            V[std::size_t(R)] += (long double)T[R] * (P.*Of);
        }
    }
    std::vector<double> Coefficients(std::size_t(N), 0.0);
    if (SolveLinearSystem(N, M, Coefficients, V) != 0) return std::nullopt;
    if (!std::all_of(Coefficients.begin(), Coefficients.end(), [](double C) { return std::isfinite(C); }))
        return std::nullopt;
    return Coefficients;
}

}  // namespace

TGcpTerms GcpTerms(double X, double Y, int Order) {
    TGcpTerms Terms{};
    Terms[0] = 1.0;
    double PowerX = 1.0, PowerY = 1.0;
    for (int I = 1; I <= Order; ++I) {
        PowerX *= X;
        PowerY *= Y;
        Terms[std::size_t(2 * I - 1)] = PowerX;
        Terms[std::size_t(2 * I)] = PowerY;
    }
    return Terms;
}

double GcpValue(const TGcpTerms& Terms, const std::vector<double>& Coefficients) {
    double Sum = 0.0;
    for (std::size_t N = 0; N < Coefficients.size(); ++N) Sum += Terms[N] * Coefficients[N];
    return Sum;
}

int SolveLinearSystem(int N, const std::vector<long double>& A, std::vector<double>& X,
                      const std::vector<long double>& B) {
    if (N <= 0) return 0;  // nothing to solve
    const std::size_t Count = std::size_t(N);
    std::vector<long double> M(A), V(B);
    std::vector<std::size_t> Pivot(Count);
    std::vector<bool> Used(Count, false);
    const auto At = [&M, Count](std::size_t R, std::size_t C) -> long double& { return M[R * Count + C]; };
    for (std::size_t K = 0; K < Count; ++K) {
        long double Largest = 0.0L;
        std::size_t P = Count;
        for (std::size_t R = 0; R < Count; ++R)
            if (!Used[R] && std::fabs(At(R, K)) > Largest) {
                Largest = std::fabs(At(R, K));
                P = R;
            }
        if (P == Count) return -1;
        const long double Value = At(P, K);
        for (std::size_t J = K; J < Count; ++J) At(P, J) /= Value;
        V[P] /= Value;
        Used[P] = true;
        Pivot[K] = P;
        for (std::size_t R = 0; R < Count; ++R) {
            if (Used[R]) continue;
            const long double F = At(R, K);
            for (std::size_t J = K + 1; J < Count; ++J) At(R, J) -= At(P, J) * F;
            V[R] -= V[P] * F;
        }
    }
    for (std::size_t I = Count - 1; I-- > 0;)
        for (std::size_t J = I + 1; J < Count; ++J) V[Pivot[I]] -= V[Pivot[J]] * At(Pivot[I], J);
    for (std::size_t I = 0; I < Count; ++I) X[I] = double(V[Pivot[I]]);
    return 0;
}

bool DeterminesTerms(const std::vector<TControlPoint>& Points, int Order) {
    const int N = GcpTermCount(Order);
    if (Order < 1 || Order > kMaxFitOrder || Points.size() < std::size_t(N)) return false;
    std::vector<double> Xs, Ys;
    for (const TControlPoint& P : Points) {
        Xs.push_back(P.X);
        Ys.push_back(P.Y);
    }
    const std::vector<double> U = Standardised(Xs), W = Standardised(Ys);
    std::vector<std::vector<double>> Columns(static_cast<std::size_t>(N));
    for (std::size_t I = 0; I < Points.size(); ++I) {
        const TGcpTerms T = GcpTerms(U[I], W[I], Order);
        for (int C = 0; C < N; ++C) Columns[std::size_t(C)].push_back(T[std::size_t(C)]);
    }
    const std::vector<double> Values = SingularValues(std::move(Columns));
    const auto [Smallest, Largest] = std::minmax_element(Values.begin(), Values.end());
    return *Smallest > kRankTolerance * *Largest;
}

std::optional<TGcpCoefficients> FitGcp(const std::vector<TControlPoint>& Points, int Order) {
    if (!DeterminesTerms(Points, Order)) return std::nullopt;
    std::optional<std::vector<double>> Col = FitValue(Points, Order, &TControlPoint::Col);
    if (!Col) return std::nullopt;
    std::optional<std::vector<double>> Row = FitValue(Points, Order, &TControlPoint::Row);
    if (!Row) return std::nullopt;
    return TGcpCoefficients{std::move(*Col), std::move(*Row)};
}

}  // namespace tam32
