#include <gtest/gtest.h>

#include <tuple>

#include "analysis/AnalysisState.h"
#include "analysis/GlobalSettings.h"
#include "platform/Exceptions.h"

using namespace tam32;

// The values that hold at start-up without a settings file.
TEST(GlobalSettingsTest, DefaultsAreTheBuiltInValues) {
    ResetSettingsToDefaults(QDate(2024, 2, 29));
    EXPECT_EQ(BinarizeTarget, 2);      // blue channel
    EXPECT_EQ(ThresholdCondition, 1);  // "<="
    EXPECT_EQ(ThresholdMethod, 0);     // Intermeans
    EXPECT_EQ(LensType, 5);
    EXPECT_EQ(MaxViewAngle, 90.0);
    EXPECT_EQ(NCStart, 0);
    EXPECT_EQ(NCEnd, 74);
    EXPECT_EQ(std::make_tuple(LatitudeH, LatitudeM, LatitudeS), std::make_tuple(35, 38, 59));
    EXPECT_EQ(std::make_tuple(LongitudeH, LongitudeM, LongitudeS), std::make_tuple(139, 45, 0));
    EXPECT_EQ(PARRatio, 0.51);
    EXPECT_EQ(std::make_tuple(TargetYear, TargetMonth, TargetDay), std::make_tuple(2024, 2, 29));
    EXPECT_EQ(MaxLabelledArea, -1);  // no upper limit
    EXPECT_EQ(ColorSearchValue1, -1);
    EXPECT_TRUE(AzimuthMaskAscending);
    EXPECT_TRUE(DrawResults);
    EXPECT_FALSE(KeepAnalysisImage);
}

TEST(GlobalSettingsTest, ResetUndoesEveryKindOfChange) {
    ResetSettingsToDefaults(QDate(2020, 1, 1));
    BinarizeTarget = 5;
    CircleSet = true;
    CircleR = 400;
    LabelTraceVectorFolder = "/tmp/out/";
    GapImageFile1 = "a.bmp";
    RecognizedGroups[20] = true;
    RingUse[4] = false;
    RGBHistogram[767] = 3;
    ZenithCounts[1][90] = 7;
    ZenithColorMax[2][45] = 255;
    FilterKernel = {{1, 2, 1}, {2, 4, 2}, {1, 2, 1}};
    FilterDefined = true;
    GapEstimateMode = true;
    DrawResults = false;
    KeepAnalysisImage = true;
    ZenithHistogram[90][255] = 9;
    SepColorSums[3][2] = 1.5;
    Histogram[255] = 4;

    ResetSettingsToDefaults(QDate(2021, 12, 31));
    EXPECT_EQ(BinarizeTarget, 2);
    EXPECT_FALSE(CircleSet);
    EXPECT_EQ(CircleR, 0);
    EXPECT_TRUE(LabelTraceVectorFolder.isEmpty());
    EXPECT_TRUE(GapImageFile1.isEmpty());
    EXPECT_FALSE(RecognizedGroups[20]);
    EXPECT_TRUE(RingUse[4]);
    EXPECT_EQ(RGBHistogram[767], 0.0);
    EXPECT_EQ(ZenithCounts[1][90], 0.0);
    EXPECT_EQ(ZenithColorMax[2][45], 0.0);
    EXPECT_TRUE(FilterKernel.empty());
    EXPECT_FALSE(FilterDefined);
    EXPECT_FALSE(GapEstimateMode);
    EXPECT_TRUE(DrawResults);
    EXPECT_FALSE(KeepAnalysisImage);
    EXPECT_EQ(ZenithHistogram[90][255], 0);
    EXPECT_EQ(SepColorSums[3][2], 0.0);
    EXPECT_EQ(Histogram[255], 0.0);
    EXPECT_EQ(TargetYear, 2021);
    EXPECT_EQ(TargetMonth, 12);
    EXPECT_EQ(TargetDay, 31);
}

TEST(GlobalSettingsTest, TheTargetDateIsTodayUnlessGiven) {
    const QDate Before = QDate::currentDate();
    ResetSettingsToDefaults();
    const QDate After = QDate::currentDate();
    const QDate Target(TargetYear, TargetMonth, TargetDay);
    EXPECT_TRUE(Target == Before || Target == After);
}

TEST(GlobalSettingsTest, NameListsFollowTheirIndexes) {
    EXPECT_EQ(ThresholdMethodNames[0], "Intermeans");
    EXPECT_EQ(ThresholdMethodNames[2], "Fixed");
    EXPECT_EQ(ThresholdMethodNames[3], "KL(Variance)");
    EXPECT_EQ(ThresholdMethodNames[6], "Compare");
    EXPECT_EQ(DNRatioNames[0], "Red DN Ratio");
    EXPECT_EQ(DNRatioNames[2], "Blue DN Ratio");
}

TEST(GlobalSettingsTest, IndexesOutsideTheArraysRaiseRangeErrors) {
    EXPECT_THROW(RecognizedGroups[21], ERangeError);
    EXPECT_THROW(RecognizedGroups[-1], ERangeError);
    EXPECT_THROW(RGBHistogram[768], ERangeError);
    EXPECT_THROW(RingCounts[2][0], ERangeError);
    EXPECT_THROW(RingCounts[1][6], ERangeError);
    EXPECT_THROW(ZenithCounts[0][91], ERangeError);
    EXPECT_THROW(ZenithHistogram[91][0], ERangeError);
    EXPECT_THROW(ZenithHistogram[0][256], ERangeError);
    EXPECT_THROW(Histogram[-1], ERangeError);
    const auto& Sums = SepColorSums;
    EXPECT_THROW(Sums[4][0], ERangeError);
    EXPECT_NO_THROW(Sums[3][2]);
}
