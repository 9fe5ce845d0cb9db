#include <gtest/gtest.h>

#include <cmath>

#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/LensProjection.h"

namespace tam32 {
namespace {

class LensProjectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        CircleSet = true;
        CircleX = CircleY = CircleR = 100;
        CircleCenterOffset = 0.0;
    }
};

TEST_F(LensProjectionTest, DirectionAngleCountsCounterClockwiseFromRightWithUpPositive) {
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 0, 1, 0), 0.0);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 0, 0, -1), 90.0);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 0, -1, 0), 180.0);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 0, 0, 1), 270.0);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 0, 0, 0), 270.0);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 0, 1, 1), 315.0);
    EXPECT_DOUBLE_EQ(DirectionAngle(0, 0, -1, -1), 135.0);
}

TEST_F(LensProjectionTest, CentreLiesMidPixelOrOnItsCornerByTheOffset) {
    EXPECT_DOUBLE_EQ(CircleCentreX(), 100.5);
    EXPECT_DOUBLE_EQ(CircleRadius(), 100.0);
    CircleCenterOffset = 0.5;
    EXPECT_DOUBLE_EQ(CircleCentreY(), 100.0);
    EXPECT_DOUBLE_EQ(CircleRadius(), 100.5);
}

TEST_F(LensProjectionTest, EquidistantZenithGrowsWithRadiusAndStopsAtTheViewAngle) {
    LensType = 0;
    EXPECT_DOUBLE_EQ(PixelZenith(100.5, 100.5), 0.0);
    EXPECT_DOUBLE_EQ(PixelZenith(150.5, 100.5), 45.0);
    EXPECT_DOUBLE_EQ(PixelZenith(200.5, 100.5), 90.0);
    EXPECT_DOUBLE_EQ(PixelZenith(250.5, 100.5), 90.0);
    EXPECT_DOUBLE_EQ(ZenithToRadius(90.0), 100.0);
}

TEST_F(LensProjectionTest, EveryModelReachesTheCircleEdgeNearTheHorizon) {
    // Zenith at the circle's edge for models 1..6, and the radius of zenith 90.
    const double EdgeZenith[] = {90.0, 89.970, 90.0, 89.680, 89.680, 92.880, 89.975};
    const double HorizonRadius[] = {100.0, 100.0, 100.0, 100.281, 100.0, 97.352, 99.996};
    for (int Lens = 0; Lens <= 6; ++Lens) {
        LensType = Lens;
        SCOPED_TRACE(Lens);
        EXPECT_NEAR(RadiusToZenith(100.0), EdgeZenith[Lens], 0.002);
        EXPECT_NEAR(ZenithToRadius(90.0), HorizonRadius[Lens], 0.002);
        EXPECT_LE(ZenithToRadius(90.0), Lens == 3 ? 100.29 : 100.0);
    }
}

TEST_F(LensProjectionTest, ForwardAndInverseModelsAgree) {
    // The calibrations were fitted separately: each pair agrees to its own accuracy.
    const double Tolerance[] = {1e-9, 0.031, 1e-9, 1e-9, 0.33, 0.0015, 1.3, 1e-9};
    for (int Lens = 0; Lens <= 7; ++Lens) {
        LensType = Lens;
        SCOPED_TRACE(Lens);
        for (double Zenith = 1.0; Zenith < 89.0; Zenith += 4.0)
            EXPECT_NEAR(RadiusToZenith(ZenithToRadius(Zenith)), Zenith, Tolerance[Lens]) << Zenith;
    }
}

TEST_F(LensProjectionTest, PointsFarOutsideTheCircleStillGetAFiniteZenith) {
    for (int Lens = 0; Lens <= 7; ++Lens) {
        LensType = Lens;
        EXPECT_TRUE(std::isfinite(PixelZenith(1000.0, -900.0))) << Lens;
        EXPECT_TRUE(std::isfinite(ZenithSlopePerPixel(150.0))) << Lens;
    }
    LensType = 7;
    EXPECT_TRUE(std::isfinite(ZenithToRadius(90.0)));
}

TEST_F(LensProjectionTest, NormalLensUsesTheHalfDiagonalAndFocalLength) {
    LensType = 7;
    MaxViewAngle = 21.5;  // tan(zenith) times the half diagonal
    const double HalfDiagonal = std::hypot(101.0, 101.0);
    EXPECT_NEAR(ZenithToRadius(45.0), HalfDiagonal, 1e-9);
    EXPECT_NEAR(RadiusToZenith(HalfDiagonal), 45.0, 1e-9);
}

TEST_F(LensProjectionTest, RingsAreFifteenDegreesWithTheLastOneOpenToTheOutside) {
    EXPECT_EQ(ZenithRing(14.99), 0);
    EXPECT_EQ(ZenithRing(15.0), 1);
    EXPECT_EQ(ZenithRing(74.9), 4);
    EXPECT_EQ(ZenithRing(75.0), 5);
    EXPECT_EQ(ZenithRing(90.0), 5);
    EXPECT_EQ(ZenithRing(120.0), 5);
    LensType = 0;
    EXPECT_EQ(ZenithRingIndex(300, 100), 5);  // outside the circle
    EXPECT_EQ(ZenithRingIndex(130, 100), 1);  // 29.5 px out: about 26.6 degrees
}

TEST_F(LensProjectionTest, SlopeCorrectionMeasuresFromTheGroundNormal) {
    LensType = 0;
    SlopeCorrection = true;
    SlopeInclination = 0.0;
    EXPECT_NEAR(PixelZenith(150.5, 100.5), 45.0, 1e-12);
    SlopeInclination = 20.0;
    SlopeAzimuth = 0.0;  // the slope's azimuth is north, which is up on this image
    NorthForAnalysis = 90.0;
    EXPECT_NEAR(PixelZenith(100.5, 100.5), 20.0, 1e-9);
    EXPECT_NEAR(PixelZenith(100.5, 78.27777777777777), 0.0, 1e-6);  // 20 degrees toward north
    EXPECT_NEAR(PixelZenith(100.5, 122.72222222222223), 40.0, 1e-6);
}

}  // namespace
}  // namespace tam32
