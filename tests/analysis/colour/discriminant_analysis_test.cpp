// The stepwise discriminant analysis against base R, its results table and
// the sample sets it refuses.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "analysis/AnalysisFixture.h"
#include "analysis/colour/DiscriminantAnalysis.h"
#include "analysis/core/Classifier.h"

namespace tam32 {
namespace {

struct TSample {
    int Group, R, G, B;
};

// Three groups of 25 about (40, 120, 30), (150, 180, 230) and (90, 60, 140).
const std::vector<TSample> kThreeGroups = {
    {1, 20, 117, 37},   {1, 55, 123, 27},   {1, 31, 125, 35},   {1, 20, 108, 21},   {1, 43, 113, 38},
    {1, 28, 108, 17},   {1, 25, 103, 31},   {1, 40, 122, 29},   {1, 51, 118, 43},   {1, 26, 115, 32},
    {1, 21, 120, 27},   {1, 59, 119, 50},   {1, 43, 120, 33},   {1, 38, 117, 50},   {1, 51, 117, 29},
    {1, 29, 118, 24},   {1, 26, 121, 35},   {1, 49, 122, 11},   {1, 60, 139, 35},   {1, 32, 108, 28},
    {1, 20, 107, 15},   {1, 20, 104, 19},   {1, 24, 119, 49},   {1, 40, 123, 16},   {1, 33, 111, 10},
    {2, 131, 172, 232}, {2, 141, 175, 240}, {2, 148, 175, 230}, {2, 132, 168, 218}, {2, 133, 180, 213},
    {2, 153, 173, 238}, {2, 157, 176, 213}, {2, 159, 176, 227}, {2, 162, 180, 212}, {2, 166, 182, 215},
    {2, 136, 179, 241}, {2, 168, 186, 245}, {2, 156, 188, 237}, {2, 161, 192, 220}, {2, 166, 183, 229},
    {2, 160, 182, 214}, {2, 130, 170, 243}, {2, 134, 163, 249}, {2, 130, 172, 224}, {2, 132, 172, 247},
    {2, 165, 184, 216}, {2, 137, 168, 220}, {2, 159, 177, 226}, {2, 152, 179, 240}, {2, 152, 179, 213},
    {3, 85, 53, 160},   {3, 70, 54, 133},   {3, 74, 58, 132},   {3, 77, 57, 129},   {3, 88, 63, 148},
    {3, 85, 58, 124},   {3, 72, 50, 130},   {3, 71, 41, 151},   {3, 108, 72, 127},  {3, 91, 53, 120},
    {3, 94, 55, 156},   {3, 73, 42, 148},   {3, 98, 70, 149},   {3, 102, 58, 122},  {3, 84, 67, 122},
    {3, 84, 47, 149},   {3, 99, 57, 128},   {3, 85, 53, 156},   {3, 86, 58, 132},   {3, 104, 67, 144},
    {3, 72, 41, 146},   {3, 90, 57, 156},   {3, 78, 48, 133},   {3, 93, 59, 149},   {3, 78, 61, 122},
};

// Loads samples given in group order; True when refused.
bool Load(const std::vector<TSample>& Samples) {
    std::vector<int> Sizes;
    std::vector<uint8_t> R, G, B;
    for (const TSample& S : Samples) {
        if (Sizes.size() < std::size_t(S.Group)) Sizes.resize(std::size_t(S.Group), 0);
        ++Sizes[std::size_t(S.Group) - 1];
        R.push_back(uint8_t(S.R));
        G.push_back(uint8_t(S.G));
        B.push_back(uint8_t(S.B));
    }
    return LoadDiscriminantSamples(Sizes, R, G, B);
}

class DiscriminantAnalysisTest : public test::AnalysisFixture {
protected:
    QString Cell(int Col, int Row) const {
        const auto It = Host.GridCells.find({TResultGrid::Classification, Col, Row});
        return It == Host.GridCells.end() ? QString() : It->second;
    }
    void ExpectRelative(double Actual, double Expected) const { EXPECT_NEAR(Actual, Expected, 1e-9 * std::fabs(Expected)); }
    void ExpectNoNumberFailures() const {
        for (const auto& [Key, Text] : Host.GridCells) {
            EXPECT_FALSE(Text.contains(QLatin1String("nan"), Qt::CaseInsensitive)) << Text.toStdString();
            EXPECT_FALSE(Text.contains(QLatin1String("inf"), Qt::CaseInsensitive)) << Text.toStdString();
        }
    }
};

// Computed once with base R 4.2.2: W the within-group sums of squares and
// products, S = W / (N - g), M the group means; the selection by the partial
// F of det(W)/det(T) against qf(0.95, g - 1, N - 3 - g); then
// solve(S[sel, sel], M[sel, ]), -0.5 * colSums(M[sel, ] * coef), det(W)/det(T)
// of the selected variables and Rao's F of that lambda.
TEST_F(DiscriminantAnalysisTest, MatchesBaseRForThreeSeparatedGroups) {
    ASSERT_FALSE(Load(kThreeGroups));
    ASSERT_FALSE(RunDiscriminantAnalysis());
    const double Red[] = {-1.01350021049466599, -0.52960510710657438, 0.24507037952576602};
    const double Green[] = {3.13454921482891935, 3.85162395561838888, 0.83641357078117717};
    const double Blue[] = {0.33671982226748476, 1.71650074302206579, 0.97967706259947063};
    const double Constant[] = {-169.94110523757760, -497.67803971240892, -101.80797934114594};
    for (int K = 1; K <= 3; ++K) {
        SCOPED_TRACE(K);
        ExpectRelative(DiscCoefficients[1][K], Red[K - 1]);
        ExpectRelative(DiscCoefficients[2][K], Green[K - 1]);
        ExpectRelative(DiscCoefficients[3][K], Blue[K - 1]);
        ExpectRelative(DiscCoefficients[0][K], Constant[K - 1]);
    }
    EXPECT_EQ(DiscCoefficients[0][0], 0.0);
    ExpectRelative(DiscLambda, 0.00028493451328754071);
    ExpectRelative(DiscRaoF, 1358.9728689631929);
    EXPECT_EQ(DiscTermUsed, (TTermFlags{{true, true, true, true}}));

    // Columns in the order of entry: blue, green, red, then the constants.
    EXPECT_EQ(Host.GridRowCounts[TResultGrid::Classification], 8);
    const struct {
        int Col, Row;
        const char* Text;
    } Cells[] = {{0, 0, "Groups"}, {1, 0, "Blue"},    {2, 0, "Green"},    {3, 0, "Red"},     {4, 0, "Const"},
                 {0, 1, "Group1"}, {0, 3, "Group3"},  {0, 4, ""},         {0, 5, "Par F"},   {0, 6, "Lambda"},
                 {0, 7, "F"},      {1, 1, " 0.337"},  {3, 1, "-1.014"},   {4, 2, "-497.678"}, {1, 5, "115.714"},
                 {3, 5, "37.819"}, {1, 6, " 0.000"},  {1, 7, "1358.973"}, {5, 1, ""}};
    for (const auto& C : Cells) {
        SCOPED_TRACE(testing::Message() << C.Col << ", " << C.Row);
        EXPECT_EQ(Cell(C.Col, C.Row), QString::fromUtf8(C.Text));
    }
    EXPECT_EQ(Host.Pages.back(), TResultPage::Classification);
}

// R as above, with the single sample's scatter taken as none.
TEST_F(DiscriminantAnalysisTest, AOneSampleGroupAddsNoScatter) {
    ASSERT_FALSE(Load({{1, 200, 30, 40},
                       {2, 20, 100, 60}, {2, 25, 110, 66}, {2, 30, 95, 58}, {2, 22, 104, 70}, {2, 28, 99, 61},
                       {3, 90, 160, 150}, {3, 96, 170, 140}, {3, 85, 150, 158}, {3, 99, 166, 149}, {3, 92, 158, 144}}));
    ASSERT_FALSE(RunDiscriminantAnalysis());
    ExpectRelative(DiscCoefficients[1][1], 16.1632756537134838);
    ExpectRelative(DiscCoefficients[2][2], 2.3163766926701941);
    ExpectRelative(DiscCoefficients[3][3], 9.6007462427837780);
    ExpectRelative(DiscCoefficients[0][1], -1746.90996040683967);
    ExpectRelative(DiscLambda, 1.7777416007728289e-05);
    ExpectRelative(DiscRaoF, 472.34647542209518);
    EXPECT_EQ(Cell(1, 0), QStringLiteral("Red"));
    EXPECT_EQ(Cell(2, 0), QStringLiteral("Blue"));
    EXPECT_EQ(Cell(3, 0), QStringLiteral("Green"));
    // Partial F in a field of 5: no blank before a value below 10.
    EXPECT_EQ(Cell(3, 5), QStringLiteral("5.949"));
}

TEST_F(DiscriminantAnalysisTest, VariablesWithoutAShareOfTheirOwnNeverEnter) {
    // Groups that differ in red only; green is red again and blue is 255
    // throughout: red enters first (also on equal terms with green), and
    // the others have nothing left to give.
    std::vector<TSample> Samples;
    for (int I = 0; I < 8; ++I) {
        const int Low = 40 + I * 3 % 11, High = 190 + I * 5 % 13;
        Samples.push_back({1, Low, Low, 255});
        Samples.push_back({2, High, High, 255});
    }
    std::stable_sort(Samples.begin(), Samples.end(), [](const TSample& A, const TSample& B) { return A.Group < B.Group; });
    ASSERT_FALSE(Load(Samples));
    ASSERT_FALSE(RunDiscriminantAnalysis());
    EXPECT_EQ(DiscTermUsed, (TTermFlags{{true, true, false, false}}));
    EXPECT_EQ(Cell(1, 0), QStringLiteral("Red"));
    EXPECT_EQ(Cell(2, 0), QStringLiteral("Const"));
    for (int K = 1; K <= 2; ++K) {
        EXPECT_EQ(DiscCoefficients[2][K], 0.0);
        EXPECT_EQ(DiscCoefficients[3][K], 0.0);
        EXPECT_TRUE(std::isfinite(DiscCoefficients[1][K]) && std::isfinite(DiscCoefficients[0][K]));
    }
    ExpectNoNumberFailures();
}

TEST_F(DiscriminantAnalysisTest, RefusedSampleSetsChangeNothing) {
    const std::vector<TSample> Same = {{1, 10, 20, 30}, {1, 12, 21, 33}, {1, 14, 25, 31}, {1, 11, 22, 35},
                                       {2, 13, 23, 32}, {2, 11, 19, 30}, {2, 12, 24, 34}, {2, 14, 20, 31}};
    std::vector<TSample> Grey;
    for (int I = 0; I < 8; ++I) Grey.push_back({1 + I / 4, 128, 128, 128});
    const struct {
        const char* Name;
        std::vector<int> Sizes;
        std::vector<TSample> Samples;  // used when Sizes is empty
    } Cases[] = {
        {"one group", {6}, {}},
        {"22 groups", std::vector<int>(22, 2), {}},
        {"an empty group", {5, 0, 5}, {}},
        {"fewer samples than groups + 4", {3, 2}, {}},
        {"no group differs", {}, Same},
        {"grey samples", {}, Grey},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        ASSERT_FALSE(Load(kThreeGroups));
        ASSERT_FALSE(RunDiscriminantAnalysis());
        const TClassCoefficients Before = DiscCoefficients;
        Host.GridCells.clear();
        Host.StatusTexts.clear();
        bool Refused;
        if (!C.Sizes.empty()) {
            int N = 0;
            for (int Size : C.Sizes) N += Size;
            const std::vector<uint8_t> Colour(std::size_t(N), 100);
            Refused = LoadDiscriminantSamples(C.Sizes, Colour, Colour, Colour) || RunDiscriminantAnalysis();
        } else {
            Refused = Load(C.Samples) || RunDiscriminantAnalysis();
        }
        EXPECT_TRUE(Refused);
        EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR16"));
        EXPECT_TRUE(Host.GridCells.empty());
        EXPECT_EQ(DiscCoefficients, Before);
        EXPECT_EQ(DiscTermUsed, (TTermFlags{{true, true, true, true}}));
    }
}

TEST_F(DiscriminantAnalysisTest, AnAnalysisNeedsSamplesLoadedForIt) {
    EXPECT_TRUE(RunDiscriminantAnalysis());
    ASSERT_FALSE(Load(kThreeGroups));
    ASSERT_FALSE(RunDiscriminantAnalysis());
    EXPECT_TRUE(RunDiscriminantAnalysis());  // the samples went with the first run
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR16"));
}

}  // namespace
}  // namespace tam32
