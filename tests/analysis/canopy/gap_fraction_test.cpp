#include <QImage>
#include <cmath>
#include <numbers>

#include "analysis/AnalysisFixture.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/geometry/TargetPixels.h"
#include "analysis/geometry/LensProjection.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

constexpr int kSize = 401;  // circle radius 200 centred on pixel (200, 200)

class GapFractionTest : public AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        CircleSet = true;
        CircleX = CircleY = 200;
        CircleR = 200;
        CircleCenterOffset = 0.0;
        BinarizeTarget = 2;
        ThresholdCondition = 0;
        ThresholdMethod = 2;
        FixedThreshold = 128;
    }
    bool Run(const QString& File, const TRect& Area = {0, 0, kSize - 1, kSize - 1}) {
        return GapFractionAnalysis(File, Picture, Area);
    }
    double Sum(int Row, bool Rings) {
        double S = 0;
        if (Rings)
            for (double V : RingCounts[Row]) S += V;
        else
            for (double V : ZenithCounts[Row]) S += V;
        return S;
    }
    TBitmap Picture;
};

TEST_F(GapFractionTest, AllSkyCountsEveryPixelAsGapAndTheSkyFactorIsTheViewedShare) {
    const QString White = WriteImage(QStringLiteral("white.bmp"), kSize, kSize, [](int, int) { return TRgb{255, 255, 255}; });
    for (int Lens = 0; Lens <= 6; ++Lens) {
        SCOPED_TRACE(Lens);
        LensType = Lens;
        ASSERT_FALSE(Run(White));
        for (int K = 0; K < 6; ++K) EXPECT_EQ(RingCounts[1][K], RingCounts[0][K]);
        for (int B = 0; B <= 90; ++B) EXPECT_EQ(ZenithCounts[1][B], ZenithCounts[0][B]);
        EXPECT_EQ(Sum(0, true), Sum(0, false));
        EXPECT_GT(RingCounts[0][5], 0.0);
        const double Horizon = std::min(90.0, RadiusToZenith(ZenithToRadius(90.0)));
        const double Expected = 100.0 * std::pow(std::sin(Horizon * std::numbers::pi / 180.0), 2);
        EXPECT_NEAR(SkyFactor, Expected, 0.5);
        EXPECT_EQ(Host.LastStatus(), QStringLiteral("MSG10"));
    }
}

TEST_F(GapFractionTest, AnEquidistantLensWithANarrowerViewCountsOnlyItsShare) {
    const QString White = WriteImage(QStringLiteral("white.bmp"), kSize, kSize, [](int, int) { return TRgb{255, 255, 255}; });
    LensType = 0;
    MaxViewAngle = 60.0;
    ASSERT_FALSE(Run(White));
    EXPECT_NEAR(SkyFactor, 75.0, 0.5);
}

TEST_F(GapFractionTest, HalfTheSkyBelowFortyFiveDegreesGivesHalfTheSkyFactor) {
    LensType = 0;
    const QString Half = WriteDisc(QStringLiteral("half.bmp"), kSize, kSize, 200.5, 200.5, 100.0, {255, 255, 255});
    ASSERT_FALSE(Run(Half));
    EXPECT_NEAR(SkyFactor, 50.0, 0.5);
    EXPECT_EQ(RingCounts[1][0], RingCounts[0][0]);
    EXPECT_EQ(RingCounts[1][4], 0.0);
    EXPECT_GT(ZenithCounts[1][44], 0.0);
    EXPECT_EQ(ZenithCounts[1][46], 0.0);
    EXPECT_EQ(ZenithColorMax[2][10], 255.0);
    EXPECT_EQ(ZenithColorMax[2][60], 0.0);
    // Gap white, canopy in the circle black, outside the circle as made (black).
    ASSERT_EQ(Picture.Width(), kSize);
    const QImage& Gap = Picture.Image();
    EXPECT_EQ(Gap.pixel(200, 200), qRgb(255, 255, 255));
    EXPECT_EQ(Gap.pixel(200, 350), qRgb(0, 0, 0));
    EXPECT_EQ(Gap.pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(GapFractionTest, AllCanopyHasNoGapAndABlackPicture) {
    const QString Black = WriteImage(QStringLiteral("black.bmp"), kSize, kSize, [](int, int) { return TRgb{10, 20, 30}; });
    ASSERT_FALSE(Run(Black));
    EXPECT_EQ(Sum(1, true), 0.0);
    EXPECT_GT(Sum(0, true), 0.0);
    EXPECT_EQ(SkyFactor, 0.0);
    EXPECT_EQ(RingColorSums[0][0], 10.0 * RingCounts[0][0]);
    EXPECT_EQ(ZenithColorSums[2][30], 30.0 * ZenithCounts[0][30]);
    EXPECT_EQ(Picture.Image().pixel(200, 200), qRgb(0, 0, 0));
}

TEST_F(GapFractionTest, EveryRowReportsItsProgress) {
    const QString Black = WriteImage(QStringLiteral("black.bmp"), kSize, kSize, [](int, int) { return TRgb{}; });
    ASSERT_FALSE(Run(Black, {0, 10, kSize - 1, 12}));
    ASSERT_EQ(Host.StatusTexts.size(), 4u);
    EXPECT_EQ(Host.StatusTexts[0], QStringLiteral("10 Line Finished!"));
    EXPECT_EQ(Host.StatusTexts[2], QStringLiteral("12 Line Finished!"));
}

TEST_F(GapFractionTest, RefusesWithoutCircleOrAreaOrImageAndKeepsTheSettings) {
    const QString White = WriteImage(QStringLiteral("white.bmp"), kSize, kSize, [](int, int) { return TRgb{255, 255, 255}; });
    CircleSet = false;
    EXPECT_TRUE(Run(White));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR10"));
    CircleSet = true;
    CircleR = 0;
    EXPECT_TRUE(Run(White));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR10"));
    CircleR = 200;

    ThresholdMethod = 0;  // automatic: needs pixels
    EXPECT_TRUE(Run(White, {0, 0, 20, 20}));  // a corner the circle does not reach
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR31"));
    EXPECT_TRUE(Run(White, {1000, 1000, 2000, 2000}));  // beyond the image
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR31"));
    EXPECT_EQ(ThresholdMethod, 0);
    EXPECT_EQ(FixedThreshold, 128);
    EXPECT_FALSE(SettingsOverridden);
    EXPECT_EQ(AnalysisImage, nullptr);

    EXPECT_TRUE(Run(Folder.filePath(QStringLiteral("missing.bmp"))));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
}

// Targets that need no histogram of the area (RGB with the fixed thresholds,
// colour search in absolute mode) fail like the others when the area holds
// no pixel, and nothing of the run is published.
TEST_F(GapFractionTest, AnAreaWithoutPixelsFailsForEveryTargetAndPublishesNothing) {
    const QString White = WriteImage(QStringLiteral("white.bmp"), kSize, kSize, [](int, int) { return TRgb{255, 255, 255}; });
    struct TCase {
        const char* Name;
        int Target, Method;
        bool Percent, MaskAll;
    };
    const TCase Cases[] = {
        {"blue, fixed", 2, 2, true, false},          {"blue, automatic", 2, 0, true, false},
        {"RGB, fixed", 5, 2, true, false},           {"RGB, automatic", 5, 0, true, false},
        {"colour search, absolute", 4, 2, false, false}, {"colour search, percent", 4, 2, true, false},
        {"RGB, fixed, every azimuth left out", 5, 2, true, true},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        BinarizeTarget = Case.Target;
        ThresholdMethod = Case.Method;
        ColorSearchPercent = Case.Percent;
        AzimuthMaskUse = Case.MaskAll;
        AzimuthMaskFrom = 0.0;
        AzimuthMaskTo = 360.0;
        KeepAnalysisImage = true;
        SkyFactor = 42.0;
        RingCounts[0][3] = 7.0;
        ZenithCounts[0][40] = 7.0;
        ZenithColorMax[2][40] = 7.0;
        QImage Before(3, 3, QImage::Format_BGR888);
        Before.fill(Qt::red);
        Picture.SetImage(Before);
        // A corner that the circle does not reach, or the whole circle under the mask.
        EXPECT_TRUE(Run(White, Case.MaskAll ? TRect{0, 0, kSize - 1, kSize - 1} : TRect{0, 0, 20, 20}));
        EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR31"));
        EXPECT_EQ(SkyFactor, 42.0);
        EXPECT_EQ(RingCounts[0][3], 7.0);
        EXPECT_EQ(ZenithCounts[0][40], 7.0);
        EXPECT_EQ(ZenithColorMax[2][40], 7.0);
        EXPECT_EQ(Picture.Image(), Before);
        EXPECT_EQ(AnalysisImage, nullptr);
        EXPECT_EQ(BinarizeTarget, Case.Target);
    }
}

TEST_F(GapFractionTest, AnAreaLargerThanTheImageIsClipped) {
    const QString White = WriteImage(QStringLiteral("white.bmp"), kSize, kSize, [](int, int) { return TRgb{255, 255, 255}; });
    LensType = 0;
    ASSERT_FALSE(Run(White, {-500, -500, 4000, 4000}));
    const double Whole = Sum(0, true);
    ASSERT_FALSE(Run(White));
    EXPECT_EQ(Sum(0, true), Whole);
}

TEST_F(GapFractionTest, AFixedRunKeepsTheZenithModelSetting) {
    const QString White = WriteImage(QStringLiteral("white.bmp"), kSize, kSize, [](int, int) { return TRgb{255, 255, 255}; });
    ZenithThresholdType = 3;
    ASSERT_FALSE(Run(White));
    EXPECT_EQ(ZenithThresholdType, 3);
    EXPECT_EQ(RingCounts[1][2], RingCounts[0][2]);
    EXPECT_EQ(LastThreshold, 128);
}

TEST_F(GapFractionTest, AnAutomaticThresholdIsUsedForTheRunOnly) {
    // Dark canopy below 45 degrees of zenith distance, bright sky above it.
    LensType = 0;
    const QString Half = WriteDisc(QStringLiteral("half.bmp"), kSize, kSize, 200.5, 200.5, 100.0, {200, 200, 200});
    ThresholdMethod = 0;
    FixedThreshold = 7;
    ASSERT_FALSE(Run(Half));
    EXPECT_EQ(FixedThreshold, 7);
    EXPECT_EQ(ThresholdMethod, 0);
    EXPECT_GT(LastThreshold, 0);
    EXPECT_LE(LastThreshold, 200);
    EXPECT_NEAR(SkyFactor, 50.0, 0.5);
}

TEST_F(GapFractionTest, KeepingTheImageLeavesItAndTheRunsSettingsForTheCaller) {
    ThresholdMethod = 0;
    FixedThreshold = 3;
    KeepAnalysisImage = true;
    const QString Half = WriteDisc(QStringLiteral("half.bmp"), kSize, kSize, 200.5, 200.5, 100.0, {200, 200, 200});
    ASSERT_FALSE(Run(Half));
    EXPECT_NE(AnalysisImage, nullptr);
    EXPECT_TRUE(SettingsOverridden);
    EXPECT_NE(FixedThreshold, 3);
    RestoreThresholdSettings();
    FreeAnalysisImage();
    EXPECT_EQ(FixedThreshold, 3);
}

TEST_F(GapFractionTest, TheAzimuthMaskLeavesOutItsSector) {
    const QString White = WriteImage(QStringLiteral("white.bmp"), kSize, kSize, [](int, int) { return TRgb{255, 255, 255}; });
    LensType = 0;
    ASSERT_FALSE(Run(White));
    const double Whole = Sum(0, true);
    AzimuthMaskUse = true;
    AzimuthMaskFrom = 0.0;
    AzimuthMaskTo = 90.0;
    ASSERT_FALSE(Run(White));
    EXPECT_NEAR(Sum(0, true) / Whole, 0.75, 0.01);
    EXPECT_NEAR(SkyFactor, 75.0, 0.6);
    // Left-out pixels and rows outside the box stay black in the gap picture.
    const QImage& Gap = Picture.Image();
    EXPECT_EQ(Gap.pixel(300, 150), qRgb(0, 0, 0));  // north-east, within the mask
    EXPECT_EQ(Gap.pixel(100, 300), qRgb(255, 255, 255));
    ASSERT_FALSE(Run(White, {0, 50, kSize - 1, 300}));
    EXPECT_EQ(Picture.Image().pixel(200, 20), qRgb(0, 0, 0));
    EXPECT_EQ(Picture.Image().pixel(200, 350), qRgb(0, 0, 0));
    EXPECT_EQ(Picture.Image().pixel(300, 250), qRgb(255, 255, 255));
}

// Every count of a run equals a recount of the image pixel by pixel through
// the public area, zenith and target tests, whichever way the run computed
// its zeniths (once per distance, or per pixel under a slope), wherever the
// box lies from the centre, which may be far outside the picture.
TEST_F(GapFractionTest, CountsEqualAPixelByPixelRecount) {
    const auto Noise = [](int X, int Y) {
        const uint32_t H = uint32_t(X) * 2654435761u ^ uint32_t(Y) * 40503u;
        return TRgb{uint8_t(H >> 8), uint8_t(H >> 16), uint8_t((H >> 24) / 2 + (X + Y) / 7)};
    };
    struct TCase {
        const char* Name;
        double Offset;
        bool Slope, Mask;
        int Lens;
        int X, Y, R, Size;
        TRect Box;
        int Method;  // a zenith line needs several degrees of zenith in the box
    };
    const TRect Most{5, 3, kSize - 2, kSize - 9};
    const TCase Cases[] = {
        {"centred", 0.0, false, false, 5, 200, 200, 200, kSize, Most, 0},
        {"centred on a corner, masked", 0.5, false, true, 2, 200, 200, 200, kSize, Most, 0},
        {"sloped", 0.0, true, false, 0, 200, 200, 200, kSize, Most, 0},
        {"sloped and masked", 0.5, true, true, 6, 200, 200, 200, kSize, Most, 0},
        {"box up left of the centre", 0.5, false, false, 0, 200, 200, 200, kSize, {10, 20, 150, 199}, 0},
        {"box from the column after the centre", 0.0, false, true, 2, 200, 200, 200, kSize, {201, 60, 400, 390}, 0},
        {"centre 20000 px to the right", 0.0, false, false, 0, 20000, 100, 20000, 200, {0, 0, 199, 199}, 2},
        {"centre far down left, odd diameter", 0.5, false, false, 2, -15000, 30000, 33497, 200, {0, 0, 199, 199}, 2},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const QString Noisy = WriteImage(QStringLiteral("noise.bmp"), Case.Size, Case.Size, Noise);
        CircleX = Case.X;
        CircleY = Case.Y;
        CircleR = Case.R;
        CircleCenterOffset = Case.Offset;
        LensType = Case.Lens;
        SlopeCorrection = Case.Slope;
        SlopeInclination = 12.0;
        SlopeAzimuth = 30.0;
        NorthForAnalysis = 75.0;
        AzimuthMaskUse = Case.Mask;
        AzimuthMaskFrom = 100.0;
        AzimuthMaskTo = 170.0;
        ThresholdMethod = Case.Method;
        ZenithThresholdType = 1;
        KeepAnalysisImage = true;
        const TRect& Box = Case.Box;
        ASSERT_FALSE(Run(Noisy, Box));
        double Rings[2][6] = {}, Bands[2][91] = {}, Sky = 0.0;
        for (int Y = Box.Top; Y <= Box.Bottom; ++Y)
            for (int X = Box.Left; X <= Box.Right; ++X) {
                if (!InAnalysisArea(X, Y)) continue;
                const double Zenith = PixelZenith(X, Y);
                const int Band = int(std::min(Zenith, 90.0));
                const bool Gap = IsTargetPixel(true, X, Y);
                Rings[0][ZenithRing(Zenith)] += 1;
                Rings[1][ZenithRing(Zenith)] += Gap;
                Bands[0][Band] += 1;
                Bands[1][Band] += Gap;
                const double Radius = std::hypot(X - CircleCentreX(), Y - CircleCentreY());
                if (Gap) Sky += 100.0 * SkyWeight(Radius, Zenith);
            }
        RestoreThresholdSettings();
        FreeAnalysisImage();
        for (int K = 0; K < 6; ++K) {
            EXPECT_EQ(RingCounts[0][K], Rings[0][K]) << K;
            EXPECT_EQ(RingCounts[1][K], Rings[1][K]) << K;
        }
        for (int B = 0; B <= 90; ++B) {
            EXPECT_EQ(ZenithCounts[0][B], Bands[0][B]) << B;
            EXPECT_EQ(ZenithCounts[1][B], Bands[1][B]) << B;
        }
        EXPECT_GT(Sum(1, true), 0.0);
        EXPECT_LT(Sum(1, true), Sum(0, true));
        EXPECT_NEAR(SkyFactor, Sky, 1e-9 * Sky);
    }
}

}  // namespace
}  // namespace tam32::test
