// The leaf area index methods on canopies of known index and leaf angles.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "SyntheticCanopy.h"
#include "analysis/canopy/CanopyTransmittance.h"
#include "analysis/canopy/EllipsoidalFit.h"
#include "analysis/canopy/FiveRingLAI.h"

using namespace tam32;

namespace {

TEllipsoidalFit BandFit(int From, int To) {
    std::vector<TFitDirection> Dirs;
    for (int Band = From; Band <= To; ++Band)
        Dirs.push_back({std::tan((Band + 0.5) * std::numbers::pi / 180), BandTransmittance(Band, NCType)});
    return FitEllipsoidal(Dirs);
}

double FiveRingIndex() {
    double Sum = 0;
    for (int Ring = 0; Ring < 5; ++Ring) Sum += FiveRingTerm(Ring, RingTransmittance(Ring, NCType));
    return 2 * Sum;
}

struct Canopy {
    double LAI, VH;
};

class KnownCanopy : public testing::TestWithParam<Canopy> {
protected:
    void SetUp() override {
        ResetSettingsToDefaults(QDate(2020, 6, 1));
        test::MakeSyntheticCanopy(GetParam().LAI, GetParam().VH);
    }
};

}  // namespace

TEST(EllipsoidalExtinction, ReachesTheLimitsOfHorizontalAndSphericalLeaves) {
    // Very flat ellipsoids: every direction has the coefficient of horizontal leaves, 1.
    EXPECT_NEAR(EllipsoidalExtinction(0.0, 1000.0), 1.0, 0.01);
    EXPECT_NEAR(EllipsoidalExtinction(2.0, 1000.0), 1.0, 0.01);
    // A sphere: 1/(2 cos θ), within the approximation's 1 %.
    const double Tan60 = std::tan(std::numbers::pi / 3);
    EXPECT_NEAR(EllipsoidalExtinction(Tan60, 1.0), 1.0, 0.01);
    EXPECT_NEAR(EllipsoidalExtinction(0.0, 1.0), 0.5, 0.005);
}

TEST(EllipsoidalFit, OpenSkyGivesPositiveZero) {
    const TEllipsoidalFit Fit = FitEllipsoidal({{0.2, 1.0}, {0.8, 1.0}, {1.5, 1.0}});
    ASSERT_TRUE(Fit.Valid());
    EXPECT_EQ(Fit.LAI, 0.0);
    EXPECT_FALSE(std::signbit(Fit.LAI));
}

TEST(EllipsoidalFit, BisectionBracketsFollowTheFirstTrialAtOne) {
    // An optimum below 1 ends in 0..1 and one above 1 in 1..20.
    const double Tan[] = {0.1, 0.5, 1.0, 2.0};
    for (double VH : {0.4, 4.0}) {
        std::vector<TFitDirection> Dirs;
        for (double T : Tan) Dirs.push_back({T, std::exp(-2.0 * EllipsoidalExtinction(T, VH))});
        const TEllipsoidalFit Fit = FitEllipsoidal(Dirs);
        EXPECT_NEAR(Fit.VH, VH, 0.02);
        EXPECT_NEAR(Fit.LAI, 2.0, 0.02);
        EXPECT_NEAR(Fit.MLA, 90 * (0.1 + 0.9 * std::exp(-0.5 * Fit.VH)), 1e-9);
    }
}

TEST_P(KnownCanopy, BandFitRecoversIndexAndAxisRatio) {
    const TEllipsoidalFit Fit = BandFit(0, 74);
    EXPECT_NEAR(Fit.LAI, GetParam().LAI, 0.02);
    EXPECT_NEAR(Fit.VH, GetParam().VH, 0.02);
}

TEST_P(KnownCanopy, FiveRingIndexIsWithinItsApproximation) {
    // Ring means of the gap fraction and weights made for spherical leaves:
    // a few percent for spherical leaves, more for flat or erect ones.
    const double Tolerance = GetParam().VH == 1.0 ? 0.04 : 0.07;
    EXPECT_NEAR(FiveRingIndex(), GetParam().LAI, Tolerance * GetParam().LAI);
}

INSTANTIATE_TEST_SUITE_P(SphericalAndEllipsoidal, KnownCanopy,
                         testing::Values(Canopy{1.0, 1.0}, Canopy{3.0, 1.0}, Canopy{5.0, 1.0}, Canopy{3.0, 0.5},
                                         Canopy{3.0, 3.0}, Canopy{2.0, 2.0}));

TEST(CanopyCover, WeightsBandsBySolidAngle) {
    ResetSettingsToDefaults(QDate(2020, 6, 1));
    double Sum = 0;
    for (int Band = 0; Band < 90; ++Band) Sum += BandWeight(Band);
    EXPECT_NEAR(Sum, 1.0, 1e-12);
    // Band 0..44 closed, 45..89 open: cover is the weight of the first half, 1 - sin 45°.
    for (int Band = 0; Band < 90; ++Band) test::SetBandCounts(Band, 100, Band < 45 ? 0 : 100);
    EXPECT_NEAR(*CanopyCover(0, 89, NCTypeBinarization), 100 * (1 - std::sqrt(0.5)), 1e-9);
}

TEST(CanopyCover, AveragesOnlyOverBandsWithPixels) {
    ResetSettingsToDefaults(QDate(2020, 6, 1));
    for (int Band = 10; Band < 90; ++Band) test::SetBandCounts(Band, 100, 0);
    EXPECT_DOUBLE_EQ(*CanopyCover(0, 89, NCTypeBinarization), 100.0);
    EXPECT_DOUBLE_EQ(*CanopyCover(0, 74, NCTypeBinarization), 100.0);
    EXPECT_FALSE(CanopyCover(0, 9, NCTypeBinarization).has_value());
    EXPECT_FALSE(CanopyCover(20, 10, NCTypeBinarization).has_value());
    EXPECT_EQ(BandTransmittance(0, NCTypeBinarization), 0.0);
    EXPECT_EQ(BandChannelRatio(1, 0), 0.0);
}

