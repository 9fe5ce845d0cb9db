// The least-squares polynomial from world coordinates of control points to
// the photograph.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/corrections/GcpFit.h"

namespace tam32 {
namespace {

// The references are numpy.linalg.lstsq of the same design matrix, computed
// once for points drawn at random (two decimals) about an affine and a
// second-order mapping, their columns and rows rounded to whole pixels.
TEST(GcpFitTest, CoefficientsEqualTheReferenceLeastSquares) {
    const struct {
        const char* Name;
        int Order;
        std::vector<TControlPoint> Points;
        std::vector<double> Col, Row;
    } Cases[] = {
        {"affine",
         1,
         {{-77.22, 104.52, -131.0, 64.0},
          {77.47, 81.1, 64.0, 89.0},
          {37.76, 58.19, 25.0, 57.0},
          {-11.61, -13.88, -5.0, -23.0},
          {85.15, -77.18, 136.0, -51.0},
          {54.72, -63.73, 94.0, -48.0},
          {97.56, -1.37, 121.0, 21.0}},
         {3.186800745171334, 1.1997855757783427, -0.39757026439018284},
         {-6.970512074368547, 0.29900901180952455, 0.9002400106659787}},
        {"second order",
         2,
         {{19.65, 10.83, 97.0, 32.0},
          {24.51, 12.04, 108.0, 35.0},
          {28.99, 11.11, 119.0, 35.0},
          {-0.26, -29.17, 17.0, -19.0},
          {-15.93, 28.8, 18.0, 79.0},
          {18.84, 35.24, 84.0, 75.0},
          {-0.57, 16.56, 52.0, 46.0},
          {-0.38, 26.17, 49.0, 63.0},
          {13.19, -4.75, 75.0, 9.0}},
         {50.193865035840396, 2.0244008954340558, 0.5222215607834201, 0.008272780647109457, -0.02059853415446411},
         {19.676030521780017, -0.5006598107691319, 1.4915581401749562, 0.014782095709085868, 0.005609445191644691}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const std::optional<TGcpFit> Fit = FitGcp(Case.Points, Case.Order);
        ASSERT_TRUE(Fit);
        const TGcpCoefficients World = WorldCoefficients(*Fit);
        // Each coefficient matters in proportion to its largest term.
        const auto Check = [&](const std::vector<double>& Got, const std::vector<double>& Expected,
                               double TControlPoint::*Of) {
            ASSERT_EQ(Got.size(), Expected.size());
            double Largest = 1.0;
            for (const TControlPoint& P : Case.Points) Largest = std::max(Largest, std::fabs(P.*Of));
            for (std::size_t N = 0; N < Got.size(); ++N) {
                double Term = 0.0;
                for (const TControlPoint& P : Case.Points)
                    Term = std::max(Term, std::fabs(GcpTerms(P.X, P.Y, Case.Order)[N]));
                EXPECT_NEAR(Got[N] * Term, Expected[N] * Term, 1e-9 * Largest) << "coefficient " << N;
            }
        };
        Check(World.Col, Case.Col, &TControlPoint::Col);
        Check(World.Row, Case.Row, &TControlPoint::Row);
    }
}

// The least-squares values of the terms of Points at Where: a Householder QR
// of the design in long double, in coordinates centred on the points' mean
// (any centre spans the same polynomials) and scaled by their extent.
std::vector<long double> ReferenceFit(const std::vector<TControlPoint>& Points, int Order,
                                      double TControlPoint::*Of, const std::vector<std::pair<double, double>>& Where) {
    const std::size_t Rows = Points.size(), Terms = std::size_t(GcpTermCount(Order));
    long double MeanX = 0.0L, MeanY = 0.0L;
    for (const TControlPoint& P : Points) {
        MeanX += P.X;
        MeanY += P.Y;
    }
    MeanX /= Rows;
    MeanY /= Rows;
    long double Extent = 0.0L;
    for (const TControlPoint& P : Points) Extent = std::max({Extent, std::fabs(P.X - MeanX), std::fabs(P.Y - MeanY)});
    const auto TermsAt = [&](double X, double Y) {
        std::vector<long double> T(Terms, 1.0L);
        long double PowerU = 1.0L, PowerV = 1.0L;
        for (int I = 1; I <= Order; ++I) {
            PowerU *= (X - MeanX) / Extent;
            PowerV *= (Y - MeanY) / Extent;
            T[std::size_t(2 * I - 1)] = PowerU;
            T[std::size_t(2 * I)] = PowerV;
        }
        return T;
    };
    std::vector<std::vector<long double>> A;
    std::vector<long double> B;
    for (const TControlPoint& P : Points) {
        A.push_back(TermsAt(P.X, P.Y));
        B.push_back(P.*Of);
    }
    for (std::size_t K = 0; K < Terms; ++K) {
        long double Norm = 0.0L;
        for (std::size_t R = K; R < Rows; ++R) Norm += A[R][K] * A[R][K];
        Norm = std::sqrt(Norm);
        std::vector<long double> V(Rows, 0.0L);
        for (std::size_t R = K; R < Rows; ++R) V[R] = A[R][K];
        V[K] += A[K][K] < 0 ? -Norm : Norm;
        long double VV = 0.0L;
        for (std::size_t R = K; R < Rows; ++R) VV += V[R] * V[R];
        const auto Reflect = [&](auto&& At) {
            long double Dot = 0.0L;
            for (std::size_t R = K; R < Rows; ++R) Dot += V[R] * At(R);
            for (std::size_t R = K; R < Rows; ++R) At(R) -= 2.0L * Dot / VV * V[R];
        };
        for (std::size_t C = K; C < Terms; ++C) Reflect([&](std::size_t R) -> long double& { return A[R][C]; });
        Reflect([&](std::size_t R) -> long double& { return B[R]; });
    }
    std::vector<long double> Beta(Terms);
    for (std::size_t K = Terms; K-- > 0;) {
        long double Sum = B[K];
        for (std::size_t C = K + 1; C < Terms; ++C) Sum -= A[K][C] * Beta[C];
        Beta[K] = Sum / A[K][K];
    }
    std::vector<long double> Values;
    for (const auto& [X, Y] : Where) {
        const std::vector<long double> T = TermsAt(X, Y);
        long double Sum = 0.0L;
        for (std::size_t C = 0; C < Terms; ++C) Sum += T[C] * Beta[C];
        Values.push_back(Sum);
    }
    return Values;
}

// Map coordinates (metres east and north of a grid's origin) over a small
// extent: the fitted column and row, at the points and over their extent,
// are those of the least-squares fit within 1e-9 of the largest picture
// coordinate.
TEST(GcpFitTest, MapCoordinatesFitAsTheLeastSquaresFit) {
    const struct {
        const char* Name;
        int Order;
        double East, North, Span;
    } Cases[] = {
        {"order 2, 50 m at 500,000 / 4,000,000", 2, 500000.0, 4000000.0, 50.0},
        {"order 3, 50 m at 500,000 / 4,000,000", 3, 500000.0, 4000000.0, 50.0},
        {"order 2, 10 m at 10^7", 2, 9999990.0, 9999990.0, 10.0},
        {"order 3, 10 m at 10^7", 3, 9999990.0, 9999990.0, 10.0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        // Points spread over the extent, picked at whole pixels off a smooth
        // mapping of a 4000 x 3000 photograph (linear congruential draws).
        uint32_t State = 7;
        const auto Draw = [&State] {
            State = State * 1103515245u + 12345u;
            return double((State >> 8) & 0xFFFF) / 65535.0;
        };
        std::vector<TControlPoint> Points;
        for (int I = 0; I < 16; ++I) {
            const double U = Draw(), V = Draw();
            const double Col = 200.0 + 3400.0 * U + 300.0 * U * U - 150.0 * V * V + 40.0 * U * U * U;
            const double Row = 2800.0 - 2500.0 * V + 200.0 * U * U + 120.0 * V * V * V;
            Points.push_back({Case.East + Case.Span * U, Case.North + Case.Span * V, std::nearbyint(Col + 4.0 * Draw()),
                              std::nearbyint(Row + 4.0 * Draw())});
        }
        std::vector<std::pair<double, double>> Where;
        for (const TControlPoint& P : Points) Where.emplace_back(P.X, P.Y);
        for (int I = 0; I <= 10; ++I)
            for (int J = 0; J <= 10; ++J) Where.emplace_back(Case.East + Case.Span * I / 10, Case.North + Case.Span * J / 10);
        const std::optional<TGcpFit> Fit = FitGcp(Points, Case.Order);
        ASSERT_TRUE(Fit);
        const std::vector<long double> Cols = ReferenceFit(Points, Case.Order, &TControlPoint::Col, Where);
        const std::vector<long double> Rows = ReferenceFit(Points, Case.Order, &TControlPoint::Row, Where);
        double Largest = 0.0;
        for (const TControlPoint& P : Points) Largest = std::max({Largest, P.Col, P.Row});
        for (std::size_t I = 0; I < Where.size(); ++I) {
            const auto [X, Y] = Where[I];
            EXPECT_NEAR(Fit->ColAt(X, Y), double(Cols[I]), 1e-9 * Largest) << "column at " << X << ", " << Y;
            EXPECT_NEAR(Fit->RowAt(X, Y), double(Rows[I]), 1e-9 * Largest) << "row at " << X << ", " << Y;
        }
    }
}

}  // namespace
}  // namespace tam32
