#include <cmath>
#include <limits>

#include "analysis/CorrectionPictures.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/Binarize.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "analysis/geometry/TargetPixels.h"

namespace tam32::test {
namespace {

class TargetPixelsTest : public AnalysisFixture {
protected:
    // Loads a one-row image of the given pixels.
    void Load(std::vector<TRgb> Pixels) {
        const QString File = WriteImage(QStringLiteral("row.bmp"), int(Pixels.size()), 1,
                                        [&](int X, int) { return Pixels[X]; });
        ASSERT_FALSE(OpenAnalysisImage(File));
    }
    void Circle(int X, int Y, int R) {
        SetEquidistantCircle(X, Y, R);
        HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    }
};

TEST_F(TargetPixelsTest, WithoutACircleEveryPixelIsInTheArea) {
    EXPECT_TRUE(InAnalysisArea(-5, 100000));
}

TEST_F(TargetPixelsTest, TheCircleIncludesItsEdgeAndTheMaskItsBounds) {
    Circle(100, 100, 100);
    EXPECT_TRUE(InAnalysisArea(200, 100));
    EXPECT_FALSE(InAnalysisArea(201, 100));
    HorizonRadius2 = 99.5 * 99.5 + 0.5 * 0.5;  // corner of (200, 100) exactly on the edge
    EXPECT_TRUE(InAnalysisArea(200, 100));
    HorizonRadius2 = std::nextafter(HorizonRadius2, 0.0);
    EXPECT_FALSE(InAnalysisArea(200, 100));
    HorizonRadius2 = 100.0 * 100.0;
    AzimuthMaskUse = true;
    AzimuthMaskFrom = 0.0;
    AzimuthMaskTo = 360.0;
    EXPECT_FALSE(InAnalysisArea(150, 100));
    EXPECT_FALSE(InAnalysisArea(100, 150));
    // A sector across north (up, north angle 90): only azimuths strictly between 10 and 350 stay.
    NorthForAnalysis = 90.0;
    AzimuthMaskFrom = 350.0;
    AzimuthMaskTo = 10.0;
    AzimuthMaskAscending = false;
    EXPECT_FALSE(InAnalysisArea(100, 50));   // north
    EXPECT_TRUE(InAnalysisArea(100, 150));   // south
    EXPECT_TRUE(InAnalysisArea(150, 100));
}

TEST_F(TargetPixelsTest, RowSpansMatchThePixelTestExactly) {
    for (const double Offset : {0.0, 0.5}) {
        Circle(60, 50, 37);
        CircleCenterOffset = Offset;
        HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
        const TRect Area{3, 0, 90, 120};
        for (int Y = -2; Y <= 110; ++Y) {
            const TColumnSpan Span = CircleRowSpan(Y, Area);
            for (int X = Area.Left; X <= Area.Right; ++X)
                EXPECT_EQ(X >= Span.First && X <= Span.Last, InAnalysisArea(X, Y)) << X << "," << Y << " " << Offset;
        }
    }
}

TEST_F(TargetPixelsTest, ABoundlessCircleSpansTheWholeArea) {
    Circle(60, 50, 37);
    HorizonRadius2 = std::numeric_limits<double>::infinity();
    const TColumnSpan Span = CircleRowSpan(10, {3, 0, 90, 120});
    EXPECT_EQ(Span.First, 3);
    EXPECT_EQ(Span.Last, 90);
    HorizonRadius2 = std::numeric_limits<double>::quiet_NaN();
    EXPECT_GT(CircleRowSpan(10, {3, 0, 90, 120}).First, CircleRowSpan(10, {3, 0, 90, 120}).Last);
}

TEST_F(TargetPixelsTest, ChannelTargetsCompareByTheCondition) {
    Load({{10, 200, 30}, {200, 20, 30}});
    FixedThreshold = 100;
    BinarizeTarget = 0;
    ThresholdCondition = 0;
    EXPECT_FALSE(IsTargetPixel(false, 0, 0));
    EXPECT_TRUE(IsTargetPixel(false, 1, 0));
    ThresholdCondition = 1;
    EXPECT_TRUE(IsTargetPixel(false, 0, 0));
    BinarizeTarget = 1;
    FixedThreshold = 200;
    ThresholdCondition = 2;
    EXPECT_TRUE(IsTargetPixel(false, 0, 0));
    ThresholdCondition = 7;
    EXPECT_FALSE(IsTargetPixel(false, 0, 0));
    // Nothing outside the image is target.
    ThresholdCondition = 1;
    EXPECT_FALSE(IsTargetPixel(false, -1, 0));
    EXPECT_FALSE(IsTargetPixel(false, 2, 0));
    EXPECT_FALSE(IsTargetPixel(false, 0, 1));
}

TEST_F(TargetPixelsTest, AllChannelsTargetNeedsEachChannel) {
    Load({{10, 200, 30}, {10, 20, 30}});
    BinarizeTarget = 5;
    ThresholdCondition = 1;
    SetRGBThresholds(50, 50, 50);
    EXPECT_FALSE(IsTargetPixel(false, 0, 0));
    EXPECT_TRUE(IsTargetPixel(false, 1, 0));
    int R, G, B;
    GetRGBThresholds(R, G, B);
    EXPECT_EQ(R + G + B, 150);
}

TEST_F(TargetPixelsTest, ColourSearchToleratesAbsoluteOrPercentDifferences) {
    Load({{100, 150, 240}, {100, 150, 241}, {0, 50, 0}});
    BinarizeTarget = 4;
    ColorSearchValue1 = 100;
    ColorSearchValue2 = 150;
    ColorSearchValue3 = 200;
    ColorSearchPercent = false;
    EXPECT_TRUE(IsTargetPixel(false, 0, 0));
    EXPECT_FALSE(IsTargetPixel(false, 1, 0));
    // Percent of each channel's span in the area: red 101, green 101, blue 242.
    ColorSearchPercent = true;
    ASSERT_FALSE(PrepareClassification(false, {0, 0, 2, 0}));
    EXPECT_EQ(ChannelSpanR, 101);
    EXPECT_EQ(ChannelSpanB, 242);
    ColorSearchToleranceB = 17;  // 41 / 242 = 16.9 %
    EXPECT_TRUE(IsTargetPixel(false, 1, 0));
    ColorSearchToleranceB = 16;
    EXPECT_FALSE(IsTargetPixel(false, 1, 0));
}

TEST_F(TargetPixelsTest, PreparationFindsAThresholdOrFails) {
    Load({{10, 0, 10}, {10, 0, 10}, {200, 0, 200}, {200, 0, 200}});
    ThresholdMethod = 0;
    ASSERT_FALSE(PrepareClassification(false, {0, 0, 3, 0}));
    EXPECT_EQ(FixedThreshold, 105);  // condition "<=": the last value of the lower class
    EXPECT_TRUE(PrepareClassification(false, {10, 0, 20, 0}));  // no pixel there
    BinarizeTarget = 1;  // one green value: no threshold
    EXPECT_TRUE(PrepareClassification(false, {0, 0, 3, 0}));
    BinarizeTarget = 5;
    EXPECT_TRUE(PrepareClassification(false, {0, 0, 3, 0}));  // green again
    ThresholdMethod = 2;  // the stored thresholds stand
    EXPECT_FALSE(PrepareClassification(false, {0, 0, 3, 0}));
    BinarizeTarget = 3;  // no classifier
    EXPECT_TRUE(PrepareClassification(false, {0, 0, 3, 0}));
}

TEST_F(TargetPixelsTest, AllChannelsThresholdsComeFromEachChannel) {
    Load({{10, 20, 30}, {10, 20, 30}, {200, 100, 250}, {200, 100, 250}});
    BinarizeTarget = 5;
    ThresholdMethod = 0;
    ZenithThresholdType = 1;  // the per-channel test has no zenith line: it must not stop the run
    ASSERT_FALSE(PrepareClassification(true, {0, 0, 3, 0}));
    EXPECT_EQ(RGBThresholdR, 105);
    EXPECT_EQ(RGBThresholdG, 60);
    EXPECT_EQ(RGBThresholdB, 140);
}

TEST_F(TargetPixelsTest, TheZenithLineFollowsPerDegreeThresholds) {
    // Threshold t(z) = 50 + 100 g(z) at every degree, found from two-spike histograms.
    ZenithThresholdType = 2;
    ThresholdMethod = 0;
    ThresholdCondition = 1;
    for (auto& Row : ZenithHistogram) Row.fill(0);
    for (int Z = 0; Z <= 90; ++Z) {
        const int T = int(std::lround(50 + 100 * ZenithWeighting(Z)));
        ZenithHistogram[Z][T - 20] = 10;
        ZenithHistogram[Z][T + 20] = 10;
    }
    ASSERT_FALSE(DetermineThreshold(true));
    EXPECT_NEAR(ZenithThresholdSlope, 100.0, 0.6);
    EXPECT_NEAR(ZenithThresholdIntercept, 50.0, 0.6);
    for (auto& Row : ZenithHistogram) Row.fill(0);
    EXPECT_TRUE(DetermineThreshold(true));
    // The Fixed method fits no line.
    ThresholdMethod = 2;
    EXPECT_FALSE(ZenithLineInUse(true));
}

TEST_F(TargetPixelsTest, ShrinkingKeepsOnlyTargetTwoPixelsInFromItsEdge) {
    // A 9 x 7 block shrinks to 5 x 3; a 3 x 3 block disappears; the image
    // border counts as target.
    const QString File = WriteImage(QStringLiteral("blocks.bmp"), 40, 20, [](int X, int Y) {
        const bool Big = X >= 5 && X < 14 && Y >= 5 && Y < 12;
        const bool Small = X >= 20 && X < 23 && Y >= 5 && Y < 8;
        const bool Edge = X >= 30 && Y < 6;
        return Big || Small || Edge ? TRgb{0, 0, 250} : TRgb{0, 0, 5};
    });
    ShrinkBeforeAnalysis = true;
    ThresholdMethod = 2;
    ThresholdCondition = 0;
    FixedThreshold = 128;
    ASSERT_FALSE(OpenAnalysisImage(File));
    EXPECT_EQ(ThresholdCondition, 2);
    EXPECT_EQ(FixedThreshold, 255);
    int Count = 0;
    for (int Y = 0; Y < 20; ++Y)
        for (int X = 0; X < 40; ++X) {
            const bool Kept = IsTargetPixel(false, X, Y);
            Count += Kept;
            if (Kept) {
                EXPECT_TRUE((X >= 7 && X < 12 && Y >= 7 && Y < 10) || (X >= 32 && Y < 4)) << X << "," << Y;
            }
        }
    EXPECT_EQ(Count, 15 + 8 * 4);
    EXPECT_EQ(GetPixelChannel(1, 8, 8), 255);
    EXPECT_EQ(GetPixelChannel(0, 0, 0), 0);
    RestoreThresholdSettings();
    EXPECT_EQ(ThresholdCondition, 0);
    EXPECT_EQ(FixedThreshold, 128);
}

}  // namespace
}  // namespace tam32::test
