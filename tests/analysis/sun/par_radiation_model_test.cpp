// The sky weights and the clear-sky beam of the PAR estimate.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/sun/PARRadiationModel.h"
#include "analysis/sun/SolarPosition.h"

namespace tam32 {
namespace {

class PARRadiationModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        ResetAnalysisState();
    }
    // Bands below FirstClosed all gap, the rest all canopy.
    static void OpenBandsBelow(int FirstClosed) {
        for (int Band = 0; Band <= 90; ++Band) {
            ZenithCounts[0][Band] = 100.0 + Band;
            ZenithCounts[1][Band] = Band < FirstClosed ? 100.0 + Band : 0.0;
        }
    }
};

TEST_F(PARRadiationModelTest, OpenAndClosedSkiesAndUnseenBands) {
    for (const int Model : {0, 1}) {
        DifModel = Model;
        OpenBandsBelow(90);
        EXPECT_DOUBLE_EQ(IndirectSiteFactorSums().IndirectSiteFactor(), 1.0);
        OpenBandsBelow(0);
        EXPECT_DOUBLE_EQ(IndirectSiteFactorSums().IndirectSiteFactor(), 0.0);
        // A lens that sees only the upper sky: the unseen bands do not count, nor turn into NaN.
        OpenBandsBelow(90);
        for (int Band = 40; Band <= 90; ++Band) ZenithCounts[0][Band] = ZenithCounts[1][Band] = 0.0;
        EXPECT_DOUBLE_EQ(IndirectSiteFactorSums().IndirectSiteFactor(), 1.0);
    }
    for (int Band = 0; Band <= 90; ++Band) ZenithCounts[0][Band] = ZenithCounts[1][Band] = 0.0;
    const TSiteFactorSums Nothing = IndirectSiteFactorSums();
    EXPECT_EQ(Nothing.W, 0.0);
    EXPECT_EQ(Nothing.IndirectSiteFactor(), 0.0);
}

TEST_F(PARRadiationModelTest, ClearSkyBeam) {
    Tau = 0.6;
    AboveSea = 0.0;
    ASSERT_TRUE(SetSolarDate(2023, 1, 1));
    const TClearSkyBeam January;
    // Straight overhead at sea level the air mass is 1.
    const double OutsideJanuary = 6302.0 * (1.0 + 0.034 * std::cos(2.0 * std::numbers::pi / 365.0));
    EXPECT_NEAR(January.ClearSkyDirectRadiation(90.0), OutsideJanuary * 0.6, 1e-6);
    EXPECT_DOUBLE_EQ(January.ClearSkyDirectRadiation(0.0), 0.0);
    // Lower suns pass more air and fall more obliquely.
    EXPECT_LT(January.ClearSkyDirectRadiation(30.0), 0.5 * January.ClearSkyDirectRadiation(90.0));
    ASSERT_TRUE(SetSolarDate(2023, 7, 4));
    const double July = TClearSkyBeam().ClearSkyDirectRadiation(60.0);
    EXPECT_LT(July, January.ClearSkyDirectRadiation(60.0));  // the earth is farther from the sun
    AboveSea = 3000.0;  // thinner air above
    EXPECT_GT(TClearSkyBeam().ClearSkyDirectRadiation(60.0), July);
    Tau = 1.0;  // a fully transparent sky lets the outside flux through
    EXPECT_NEAR(TClearSkyBeam().ClearSkyDirectRadiation(90.0),
                6302.0 * (1.0 + 0.034 * std::cos(2.0 * std::numbers::pi * 185 / 365.0)), 1e-6);
}

}  // namespace
}  // namespace tam32
