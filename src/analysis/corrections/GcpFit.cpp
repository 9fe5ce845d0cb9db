#include "analysis/corrections/GcpFit.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

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

// The mean and the deviation of Values; the deviation is 0 when they do
// not vary.
std::pair<double, double> CentreAndScale(const std::vector<double>& Values) {
    double Mean = 0.0;
    for (double V : Values) Mean += V;
    Mean /= double(Values.size());
    double Square = 0.0;
    for (double V : Values) Square += (V - Mean) * (V - Mean);
    return {Mean, std::sqrt(Square / double(Values.size()))};
}

// The points' centre and scale, the coefficients not yet fitted.
TGcpFit Standardisation(const std::vector<TControlPoint>& Points) {
    std::vector<double> Xs, Ys;
    for (const TControlPoint& P : Points) {
        Xs.push_back(P.X);
        Ys.push_back(P.Y);
    }
    TGcpFit Fit;
    std::tie(Fit.CentreX, Fit.ScaleX) = CentreAndScale(Xs);
    std::tie(Fit.CentreY, Fit.ScaleY) = CentreAndScale(Ys);
    return Fit;
}

// The terms of each point in the coordinates of Scaling (all 0 along a
// coordinate that does not vary).
std::vector<TGcpTerms> StandardTerms(const std::vector<TControlPoint>& Points, const TGcpFit& Scaling, int Order) {
    std::vector<TGcpTerms> Terms;
    for (const TControlPoint& P : Points)
        Terms.push_back(GcpTerms(Scaling.ScaleX > 0.0 ? Scaling.U(P.X) : 0.0,
                                 Scaling.ScaleY > 0.0 ? Scaling.V(P.Y) : 0.0, Order));
    return Terms;
}

// The least-squares coefficients of the value that Of picks from each point,
// for the terms of each point.
std::optional<std::vector<double>> FitValue(const std::vector<TControlPoint>& Points,
                                            const std::vector<TGcpTerms>& Terms, int Order,
                                            double TControlPoint::*Of) {
    const int N = GcpTermCount(Order);
    std::vector<long double> M(std::size_t(N * N), 0.0L), V(std::size_t(N), 0.0L);
    for (std::size_t I = 0; I < Points.size(); ++I) {
        const TGcpTerms& T = Terms[I];
        for (int R = 0; R < N; ++R) {
            for (int C = 0; C < N; ++C) M[std::size_t(R * N + C)] += (long double)T[R] * T[C];
            V[std::size_t(R)] += (long double)T[R] * (Points[I].*Of);
        }
    }
    std::vector<double> Coefficients(std::size_t(N), 0.0);
    if (SolveLinearSystem(N, M, Coefficients, V) != 0) return std::nullopt;
    if (!std::all_of(Coefficients.begin(), Coefficients.end(), [](double C) { return std::isfinite(C); }))
        return std::nullopt;
    return Coefficients;
}

// Coefficients of the powers U^1..U^k (every other entry from First) as
// coefficients of X^0..X^k, U = (X - Centre) / Scale, by the binomial theorem.
std::vector<long double> WorldPowers(const std::vector<double>& Centred, std::size_t First, double Centre,
                                     double Scale) {
    std::vector<long double> Powers(Centred.size() / 2 + 1, 0.0L);
    long double ScalePower = 1.0L;
    for (std::size_t I = 1, N = First; N < Centred.size(); ++I, N += 2) {
        ScalePower *= Scale;
        // (X - Centre)^I = sum over J of C(I, J) X^J (-Centre)^(I - J).
        long double Binomial = 1.0L;
        for (std::size_t J = 0; J <= I; ++J) {
            if (J > 0) Binomial = Binomial * (long double)(I - J + 1) / (long double)J;
            Powers[J] += Centred[N] / ScalePower * Binomial * std::pow(-(long double)Centre, (long double)(I - J));
        }
    }
    return Powers;
}

std::vector<double> WorldCoefficientsOf(const std::vector<double>& Centred, const TGcpFit& Fit) {
    const std::vector<long double> OfX = WorldPowers(Centred, 1, Fit.CentreX, Fit.ScaleX);
    const std::vector<long double> OfY = WorldPowers(Centred, 2, Fit.CentreY, Fit.ScaleY);
    std::vector<double> World(Centred.size());
    World[0] = double(Centred[0] + OfX[0] + OfY[0]);
    for (std::size_t I = 1; I < OfX.size(); ++I) {
        World[2 * I - 1] = double(OfX[I]);
        World[2 * I] = double(OfY[I]);
    }
    return World;
}

// Whether the N terms of the points are of full rank.
bool OfFullRank(const std::vector<TGcpTerms>& Terms, int N) {
    std::vector<std::vector<double>> Columns(static_cast<std::size_t>(N));
    for (const TGcpTerms& T : Terms)
        for (int C = 0; C < N; ++C) Columns[std::size_t(C)].push_back(T[std::size_t(C)]);
    const std::vector<double> Values = SingularValues(std::move(Columns));
    const auto [Smallest, Largest] = std::minmax_element(Values.begin(), Values.end());
    return *Smallest > kRankTolerance * *Largest;
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

std::optional<TGcpFit> FitGcp(const std::vector<TControlPoint>& Points, int Order) {
    const int N = GcpTermCount(Order);
    if (Order < 1 || Order > kMaxFitOrder || Points.size() < std::size_t(N)) return std::nullopt;
    TGcpFit Fit = Standardisation(Points);
    const std::vector<TGcpTerms> Terms = StandardTerms(Points, Fit, Order);
    if (!OfFullRank(Terms, N)) return std::nullopt;
    std::optional<std::vector<double>> Col = FitValue(Points, Terms, Order, &TControlPoint::Col);
    if (!Col) return std::nullopt;
    std::optional<std::vector<double>> Row = FitValue(Points, Terms, Order, &TControlPoint::Row);
    if (!Row) return std::nullopt;
    Fit.Centred = {std::move(*Col), std::move(*Row)};
    return Fit;
}

TGcpCoefficients WorldCoefficients(const TGcpFit& Fit) {
    return {WorldCoefficientsOf(Fit.Centred.Col, Fit), WorldCoefficientsOf(Fit.Centred.Row, Fit)};
}

}  // namespace tam32
