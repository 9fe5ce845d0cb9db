#pragma once
// The polynomial that takes world coordinates of ground control points to
// the photograph: the source column and the source row, each as
//   c0 + c1 U + c2 V + c3 U² + c4 V² + ... + c(2k-1) U^k + c(2k) V^k
// of order k = 1..3 (no cross terms), fitted by least squares through the
// normal equations. U and V are the world X and Y centred on the points'
// mean and scaled by their deviation: in map coordinates (500,000 m east
// over an extent of 50 m) the powers of X itself agree in their leading
// digits, and the normal equations built of them lose the fit.
#include <array>
#include <optional>
#include <vector>

namespace tam32 {

constexpr int kMaxFitOrder = 3;
constexpr int kMaxGcpTerms = 2 * kMaxFitOrder + 1;

using TGcpTerms = std::array<double, kMaxGcpTerms>;

constexpr int GcpTermCount(int Order) { return 2 * Order + 1; }

// [1, X, Y, X², Y², ..., X^Order, Y^Order], the rest 0. The powers are
// repeated products, so negative coordinates have them too.
TGcpTerms GcpTerms(double X, double Y, int Order);
// The sum of Terms[n] Coefficients[n] over the coefficients.
double GcpValue(const TGcpTerms& Terms, const std::vector<double>& Coefficients);

// Solves the N x N system A X = B (A row by row) by elimination: each
// column takes as its pivot the first free row of the largest magnitude
// and clears that column in the other free rows; back substitution follows
// the pivot rows. 0 when solved; -1, X untouched, when a column has no
// entry other than exactly 0 among the free rows.
int SolveLinearSystem(int N, const std::vector<long double>& A, std::vector<double>& X,
                      const std::vector<long double>& B);

// A control point: its world position and where it lies in the photograph.
struct TControlPoint {
    double X, Y, Col, Row;
};

struct TGcpCoefficients {
    std::vector<double> Col, Row;  // 2 Order + 1 each
};

// A fit: the coefficients of the terms in U = (X - CentreX) / ScaleX and
// V = (Y - CentreY) / ScaleY. A centre of 0 and a scale of 1 make them the
// coefficients of X and Y themselves.
struct TGcpFit {
    TGcpCoefficients Centred;
    double CentreX = 0.0, CentreY = 0.0, ScaleX = 1.0, ScaleY = 1.0;

    int Order() const { return int(Centred.Col.size() / 2); }
    double U(double X) const { return (X - CentreX) / ScaleX; }
    double V(double Y) const { return (Y - CentreY) / ScaleY; }
    // The source column and row of world (X, Y).
    double ColAt(double X, double Y) const { return GcpValue(GcpTerms(U(X), V(Y), Order()), Centred.Col); }
    double RowAt(double X, double Y) const { return GcpValue(GcpTerms(U(X), V(Y), Order()), Centred.Row); }
};

// The least-squares fit of the column and the row, solved in the centred
// and scaled coordinates (X - mean) / sd and (Y - mean) / sd, which span
// the same functions whatever the coordinates' size; nullopt when the
// points do not determine the 2 Order + 1 terms (fewer points than terms,
// or terms not of full rank: a singular value below 1e-9 of the largest
// counts as 0), a solve meets a zero pivot, or a coefficient is no finite
// number.
std::optional<TGcpFit> FitGcp(const std::vector<TControlPoint>& Points, int Order);

// The coefficients of the terms [1, X, Y, ..., X^k, Y^k] of the world
// coordinates themselves, expanded in extended precision: for showing. At
// map scale they lose digits to cancellation, so nothing computes with them.
TGcpCoefficients WorldCoefficients(const TGcpFit& Fit);

}  // namespace tam32
