#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/Thresholds.h"

namespace tam32 {
namespace {

enum Method { Intermeans = 0, MinimumError = 1, Fixed = 2, Variance = 3, Entropy = 4, Criterion = 5 };

class ThresholdsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        ResetAnalysisState();
    }
    int Threshold(int MethodNo, int Condition) {
        ThresholdMethod = MethodNo;
        ThresholdCondition = Condition;
        return AutoThreshold();
    }
    void Spikes(std::initializer_list<std::pair<int, double>> Bins) {
        Histogram.fill(0.0);
        for (auto [Bin, Count] : Bins) Histogram[Bin] = Count;
    }
};

TEST_F(ThresholdsTest, TwoSpikesSplitHalfwayForEveryCondition) {
    Spikes({{50, 100}, {200, 100}});
    EXPECT_EQ(Threshold(Intermeans, 0), 126);
    EXPECT_EQ(Threshold(Intermeans, 1), 125);
    EXPECT_EQ(Threshold(Intermeans, 2), 125);
    EXPECT_EQ(Threshold(Intermeans, 3), 163);  // between the split and the peak above it
    EXPECT_EQ(Threshold(6, 1), 125);           // "Compare" and unknown methods run intermeans
    // Zero variance in each class, and too few bins for the criteria.
    for (int M : {MinimumError, Variance, Entropy, Criterion}) EXPECT_EQ(Threshold(M, 1), -1) << M;
}

TEST_F(ThresholdsTest, NoSplitOfASingleValueButFixedStands) {
    Spikes({{77, 1000}});
    for (int M : {Intermeans, MinimumError, Variance, Entropy, Criterion}) EXPECT_EQ(Threshold(M, 0), -1) << M;
    FixedThreshold = 33;
    EXPECT_EQ(Threshold(Fixed, 0), 33);
    Histogram.fill(0.5);  // counts of 0.5 or less are empty bins
    EXPECT_EQ(Threshold(Intermeans, 1), -1);
    Histogram.fill(0.0);
    EXPECT_EQ(Threshold(Intermeans, 1), -1);
}

TEST_F(ThresholdsTest, ConditionsGiveTheLastLowerOrFirstUpperValue) {
    Spikes({{10, 5}, {11, 5}, {12, 5}, {200, 5}, {201, 5}, {202, 5}});
    for (int M : {Intermeans, Variance, Entropy, Criterion}) {
        const int Below = Threshold(M, 1);
        EXPECT_EQ(Threshold(M, 0), Below + 1) << M;
        EXPECT_GE(Below, 12) << M;
        EXPECT_LT(Below, 200) << M;
    }
}

TEST_F(ThresholdsTest, CriteriaKeepTheFirstOfTiedCandidates) {
    // Empty bins between two groups make every split between them equal.
    Spikes({{3, 1}, {4, 2}, {5, 1}, {100, 1}, {101, 2}, {102, 1}});
    EXPECT_EQ(Threshold(Variance, 1), 5);
    EXPECT_EQ(Threshold(Entropy, 1), 5);
    EXPECT_EQ(Threshold(Criterion, 1), 5);
    // Three non-empty bins leave one candidate: the second bin.
    Spikes({{3, 1}, {9, 1}, {30, 1}});
    EXPECT_EQ(Threshold(Variance, 1), 9);
}

TEST_F(ThresholdsTest, DegenerateMinimumErrorFitsGiveNoThreshold) {
    // Equal class variances.
    Spikes({{10, 10}, {12, 10}, {100, 10}, {102, 10}});
    EXPECT_EQ(Threshold(MinimumError, 1), -1);
}

// Histograms made by a formula that an independent script reproduces exactly.
struct TMixture {
    double A1, M1, S1, A2, M2, S2;
    uint32_t Seed;
    int Otsu;                    // scikit-image threshold_otsu
    std::vector<int> Isodata;    // scikit-image threshold_isodata(return_all=True)
    int MaxEntropy;              // Octave graythresh 'maxentropy' (times 255)
    int MinError;                // Octave's 'minerror' iteration, started from the same median
    int KittlerIllingworth;      // the smallest J(t) of a sequential script over the same candidates
};

void FillMixture(const TMixture& P) {
    uint64_t State = P.Seed;
    for (int I = 0; I < 256; ++I) {
        State = (State * 1103515245 + 12345) % 2147483648;
        const double Z1 = (I - P.M1) / P.S1, Z2 = (I - P.M2) / P.S2;
        Histogram[I] = std::floor(P.A1 * std::exp(-Z1 * Z1 / 2) + P.A2 * std::exp(-Z2 * Z2 / 2)) + double((State >> 16) % 5);
    }
}

const TMixture kMixtures[] = {
    {400, 40, 12, 300, 180, 25, 1, 110, {110}, 153, 85, 86},
    {900, 70, 20, 200, 150, 10, 2, 104, {104, 105}, 177, 3, 122},
    {150, 30, 8, 150, 220, 8, 3, 122, {125}, 111, 136, 157},
    {500, 100, 30, 500, 160, 30, 4, 129, {129, 130}, 129, 130, 1},
    {50, 20, 5, 800, 200, 20, 5, 114, {114, 180, 181, 182, 183, 184}, 152, 253, 105},
    {300, 60, 15, 300, 90, 15, 6, 77, {76, 77, 78, 127, 128, 129, 130, 131, 132, 133}, 131, 56, 152},
    {700, 128, 40, 100, 30, 5, 7, 124, {123, 124, 125}, 88, 127, 253},
    {200, 10, 3, 200, 250, 3, 8, 129, {129}, 116, 22, 23},
};

TEST_F(ThresholdsTest, MethodsAgreeWithPublishedImplementations) {
    for (const TMixture& P : kMixtures) {
        SCOPED_TRACE(P.Seed);
        FillMixture(P);
        EXPECT_EQ(Threshold(Variance, 1), P.Otsu);
        EXPECT_NE(std::find(P.Isodata.begin(), P.Isodata.end(), Threshold(Intermeans, 1)), P.Isodata.end())
            << Threshold(Intermeans, 1);
        EXPECT_EQ(Threshold(Entropy, 1), P.MaxEntropy);
        EXPECT_EQ(Threshold(MinimumError, 1), P.MinError);
        EXPECT_EQ(Threshold(Criterion, 1), P.KittlerIllingworth);
    }
}

// Reports and the window name the method by ThresholdMethodNames[ThresholdMethod]:
// each name selects the method it names.
TEST_F(ThresholdsTest, EachMethodNameSelectsTheMethodItNames) {
    const TMixture& P = kMixtures[2];  // every method gives another threshold
    FillMixture(P);
    FixedThreshold = 33;
    const std::pair<const char*, int> Expected[] = {
        {"Intermeans", P.Isodata[0]}, {"MinimumError", P.MinError},   {"Fixed", 33},
        {"KL(Variance)", P.Otsu},     {"KL(Minimum)", P.MaxEntropy}, {"KL(Entropy)", P.KittlerIllingworth},
        {"Compare", P.Isodata[0]}};
    ASSERT_EQ(std::size(Expected), ThresholdMethodNames.size());
    for (const auto& [Name, Threshold] : Expected) {
        SCOPED_TRACE(Name);
        const auto Named = std::find(ThresholdMethodNames.begin(), ThresholdMethodNames.end(), QLatin1String(Name));
        ASSERT_NE(Named, ThresholdMethodNames.end());
        ThresholdMethod = int(Named - ThresholdMethodNames.begin());
        ThresholdCondition = 1;
        EXPECT_EQ(AutoThreshold(), Threshold);
    }
}

}  // namespace
}  // namespace tam32
