// The least-squares polynomial from world coordinates of control points to
// the photograph.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/GcpFit.h"

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
        const std::optional<TGcpCoefficients> Fit = FitGcp(Case.Points, Case.Order);
        ASSERT_TRUE(Fit);
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
        Check(Fit->Col, Case.Col, &TControlPoint::Col);
        Check(Fit->Row, Case.Row, &TControlPoint::Row);
    }
}

}  // namespace
}  // namespace tam32
