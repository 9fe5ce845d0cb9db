#include "analysis/colour/DiscriminantAnalysis.h"

#include <QString>
#include <array>
#include <cmath>
#include <numeric>
#include <optional>

#include "analysis/colour/FDistribution.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/Messages.h"
#include "platform/DelphiFormat.h"

namespace tam32 {
namespace {

constexpr int P = 3;  // red, green, blue
constexpr int kMaxSteps = 64;
// A candidate whose within-group variance, after the variables already in,
// is at most this share of its own carries nothing of its own.
constexpr double kVarianceTolerance = 1e-12;

using TVector = std::array<double, P>;
using TSquare = std::array<TVector, P>;

struct TSamples {
    std::vector<int> Sizes;
    std::vector<TVector> X;
};

std::optional<TSamples> Loaded;

// What the results table shows and the classifier variables take.
struct TResult {
    int Groups = 0, Entered = 0;
    std::array<int, P> Order{};
    TVector PartialF{};
    TClassCoefficients Coefficients;
    TTermFlags TermUsed{};
    double Lambda = 0.0, RaoF = 0.0;

    bool Finite() const {
        bool Ok = std::isfinite(Lambda) && std::isfinite(RaoF);
        for (double F : PartialF) Ok = Ok && std::isfinite(F);
        for (const std::vector<double>& Term : Coefficients)
            for (double C : Term) Ok = Ok && std::isfinite(C);
        return Ok;
    }
};

// The selection on the sums of squares and products: W within groups, T
// total, and the augmented matrix A = [S M; M' 0] of the pooled covariance
// S = W / (N - g) and the group means M. Sweeping a variable into the model
// and out again restores all three.
class TStepwise {
public:
    explicit TStepwise(const TSamples& Samples);
    std::optional<TResult> Run();

private:
    void StepwiseSelect();
    double FindEntryCandidate();
    double FindRemovalCandidate();
    void EnterVariable();
    void RemoveVariable();
    void SweepMatrices(int K);
    TResult Result() const;

    int G, N;
    std::vector<std::vector<double>> A;
    TSquare W{}, T{}, W0{};
    std::array<int, P> Order{0, 1, 2};
    int E = 0, Chosen = 0;
    double FIn, FOut;
    double DetW = 1.0, DetT = 1.0;
};

TStepwise::TStepwise(const TSamples& Samples) : G(int(Samples.Sizes.size())), N(int(Samples.X.size())) {
    // Sums about the first sample keep the products small.
    const TVector& Shift = Samples.X.front();
    std::vector<TVector> Means(std::size_t(G), TVector{});
    std::size_t I = 0;
    for (int K = 0; K < G; ++K) {
        const int Size = Samples.Sizes[std::size_t(K)];
        TVector Sum{};
        TSquare Products{};
        for (int S = 0; S < Size; ++S, ++I) {
            TVector D;
            for (int J = 0; J < P; ++J) D[J] = Samples.X[I][J] - Shift[J];
            for (int J = 0; J < P; ++J) {
                Sum[J] += D[J];
                for (int L = J; L < P; ++L) Products[J][L] += D[J] * D[L];
            }
        }
        TVector& M = Means[std::size_t(K)];
        for (int J = 0; J < P; ++J) M[J] = Sum[J] / Size + Shift[J];
        // A group's scatter about its own mean; none for a single sample.
        for (int J = 0; J < P; ++J)
            for (int L = J; L < P; ++L) W[J][L] += Products[J][L] - Size * (M[J] - Shift[J]) * (M[L] - Shift[L]);
    }
    TVector Grand{};
    for (int K = 0; K < G; ++K)
        for (int J = 0; J < P; ++J) Grand[J] += Samples.Sizes[std::size_t(K)] * Means[std::size_t(K)][J] / N;
    for (int J = 0; J < P; ++J)
        for (int L = J; L < P; ++L) {
            double Between = 0.0;
            for (int K = 0; K < G; ++K) {
                const TVector& M = Means[std::size_t(K)];
                Between += Samples.Sizes[std::size_t(K)] * (M[J] - Grand[J]) * (M[L] - Grand[L]);
            }
            T[J][L] = Between + W[J][L];
            T[L][J] = T[J][L];
            W[L][J] = W[J][L];
        }
    W0 = W;
    const std::size_t Q = std::size_t(P + G);
    A.assign(Q, std::vector<double>(Q, 0.0));
    for (int J = 0; J < P; ++J) {
        for (int L = 0; L < P; ++L) A[J][L] = W[J][L] / (N - G);
        for (int K = 0; K < G; ++K) A[J][std::size_t(P + K)] = A[std::size_t(P + K)][J] = Means[std::size_t(K)][J];
    }
    FIn = FOut = FCritical05(G - 1, N - P - G);
}

double TStepwise::FindEntryCandidate() {
    double F = -1e20;
    for (int Position = E; Position < P; ++Position) {
        const int V = Order[Position];
        if (!(W0[V][V] > 0.0) || W[V][V] <= kVarianceTolerance * W0[V][V]) continue;
        const double L = W[V][V] / T[V][V], R = (1.0 - L) / L;
        if (R > F) {
            F = R;
            Chosen = V;
        }
    }
    return F * (N - G - E) / (G - 1);
}

double TStepwise::FindRemovalCandidate() {
    double F = 1e20;
    for (int Position = 0; Position < E; ++Position) {
        const int V = Order[Position];
        const double L = T[V][V] / W[V][V], R = (1.0 - L) / L;
        if (R < F) {
            F = R;
            Chosen = V;
        }
    }
    return F * (N - G - E + 1) / (G - 1);
}

void TStepwise::EnterVariable() {
    // The remaining candidates keep their order behind it.
    int Position = E;
    while (Order[Position] != Chosen) ++Position;
    for (; Position > E; --Position) Order[Position] = Order[Position - 1];
    Order[E++] = Chosen;
    SweepMatrices(Chosen);
}

void TStepwise::RemoveVariable() {
    int Position = 0;
    while (Order[Position] != Chosen) ++Position;
    for (; Position < E - 1; ++Position) Order[Position] = Order[Position + 1];
    Order[--E] = Chosen;
    SweepMatrices(Chosen);
}

void TStepwise::SweepMatrices(int K) {
    const auto Sweep = [K](auto& M, std::size_t Size) {
        const double D = M[K][K];
        for (std::size_t I = 0; I < Size; ++I)
            for (std::size_t J = 0; J < Size; ++J)
                if (int(I) != K && int(J) != K) M[I][J] -= M[I][K] * M[K][J] / D;
        for (std::size_t I = 0; I < Size; ++I)
            if (int(I) != K) {
                M[K][I] /= D;
                M[I][K] = -M[I][K] / D;
            }
        M[K][K] = 1.0 / D;
    };
    Sweep(A, A.size());
    // The pivots multiply to the determinants of the variables in the model.
    DetT *= T[K][K];
    DetW *= W[K][K];
    Sweep(T, P);
    Sweep(W, P);
}

void TStepwise::StepwiseSelect() {
    int Steps = 0;
    // An F exactly at the threshold would enter and leave for ever.
    while (FindEntryCandidate() >= FIn) {
        if (Steps++ == kMaxSteps) return;
        EnterVariable();
        while (FindRemovalCandidate() <= FOut) {
            if (Steps++ == kMaxSteps) return;
            RemoveVariable();
        }
    }
}

TResult TStepwise::Result() const {
    TResult R;
    R.Groups = G;
    R.Entered = E;
    R.Order = Order;
    for (std::vector<double>& Term : R.Coefficients) Term.assign(std::size_t(G) + 1, 0.0);
    R.TermUsed[0] = true;
    for (int I = 0; I < E; ++I) {
        const int V = Order[I];
        const double L = T[V][V] / W[V][V];
        R.PartialF[I] = (1.0 - L) / L * (N - G - E + 1) / (G - 1);
        R.TermUsed[V + 1] = true;
        for (int K = 0; K < G; ++K) R.Coefficients[V + 1][std::size_t(K) + 1] = A[V][std::size_t(P + K)];
    }
    for (int K = 0; K < G; ++K)
        R.Coefficients[0][std::size_t(K) + 1] = A[std::size_t(P + K)][std::size_t(P + K)] / 2.0;
    // Rao's F approximation of lambda.
    R.Lambda = DetW / DetT;
    const double H = G - 1, M = N - 1 - (E + G) / 2.0;
    const double S = H * H + E * E == 5 ? 1.0 : std::sqrt((E * E * H * H - 4.0) / (H * H + E * E - 5.0));
    const double Y = std::pow(R.Lambda, 1.0 / S);
    R.RaoF = (M * S + 1.0 - E * H / 2.0) / (E * H) * (1.0 - Y) / Y;
    return R;
}

std::optional<TResult> TStepwise::Run() {
    StepwiseSelect();
    if (E == 0) return std::nullopt;
    TResult R = Result();
    if (!R.Finite()) return std::nullopt;
    return R;
}

void ShowDiscriminantResults(const TResult& R) {
    const int G = R.Groups;
    TEngineHost& Host = EngineHost();
    const auto Cell = [&Host](int Col, int Row, const QString& Text) {
        Host.SetResultGridCell(TResultGrid::Classification, Col, Row, Text);
    };
    Host.ShowResultPage(TResultPage::Classification);
    Host.SetResultGridRowCount(TResultGrid::Classification, G + 5);
    for (int Row = 0; Row <= G + 4; ++Row)
        for (int Col = 0; Col <= 5; ++Col) Cell(Col, Row, QString());
    Cell(0, 0, QStringLiteral("Groups"));
    for (int K = 1; K <= G; ++K) Cell(0, K, QStringLiteral("Group%1").arg(K));
    Cell(0, G + 2, QStringLiteral("Par F"));
    Cell(0, G + 3, QStringLiteral("Lambda"));
    Cell(0, G + 4, QStringLiteral("F"));
    static const char* const kNames[] = {"Red", "Green", "Blue"};
    const auto Number = [](double Value) { return Format(QStringLiteral("%6.3f"), {Value}); };
    for (int I = 0; I < R.Entered; ++I) {
        const int V = R.Order[I];
        Cell(I + 1, 0, QLatin1String(kNames[V]));
        Cell(I + 1, G + 2, Format(QStringLiteral("%5.3f"), {R.PartialF[I]}));
        for (int K = 1; K <= G; ++K) Cell(I + 1, K, Number(R.Coefficients[V + 1][std::size_t(K)]));
    }
    Cell(R.Entered + 1, 0, QStringLiteral("Const"));
    for (int K = 1; K <= G; ++K) Cell(R.Entered + 1, K, Number(R.Coefficients[0][std::size_t(K)]));
    Cell(1, G + 3, Number(R.Lambda));
    Cell(1, G + 4, Number(R.RaoF));
}

bool Refuse() {
    ShowErrorMessage(QStringLiteral("ERR16"));
    return true;
}

}  // namespace

bool LoadDiscriminantSamples(const std::vector<int>& GroupSizes, const std::vector<uint8_t>& Red,
                             const std::vector<uint8_t>& Green, const std::vector<uint8_t>& Blue) {
    const int Groups = int(GroupSizes.size());
    if (Groups < 2 || Groups > kMaxLastGroup + 1) return Refuse();
    int64_t Count = 0;
    for (int Size : GroupSizes) {
        if (Size < 1) return Refuse();
        Count += Size;
    }
    if (Count < Groups + P + 1 || std::size_t(Count) != Red.size() || Red.size() != Green.size() ||
        Red.size() != Blue.size())
        return Refuse();
    TSamples Samples{GroupSizes, std::vector<TVector>(Red.size())};
    for (std::size_t I = 0; I < Red.size(); ++I) Samples.X[I] = {double(Red[I]), double(Green[I]), double(Blue[I])};
    Loaded = std::move(Samples);
    return false;
}

bool RunDiscriminantAnalysis() {
    if (!Loaded) return Refuse();
    const TSamples Samples = std::move(*Loaded);
    Loaded.reset();
    const std::optional<TResult> R = TStepwise(Samples).Run();
    if (!R) return Refuse();
    ShowDiscriminantResults(*R);
    DiscCoefficients = R->Coefficients;
    DiscTermUsed = R->TermUsed;
    DiscLambda = R->Lambda;
    DiscRaoF = R->RaoF;
    return false;
}

}  // namespace tam32
