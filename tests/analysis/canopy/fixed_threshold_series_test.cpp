// Compare's series over every fixed threshold gives, threshold by
// threshold, exactly what a gap fraction run of its own publishes.
#include <cstdint>
#include <vector>

#include "analysis/AnalysisFixture.h"
#include "analysis/canopy/FixedThresholdSeries.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/core/RunSeries.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

constexpr int kSize = 121;

// Everything a run publishes that a batch row or a report reads.
struct TPublished {
    std::vector<double> Values;
    int32_t Threshold = 0;
    bool operator==(const TPublished&) const = default;
};

TPublished Published() {
    TPublished P;
    const auto Add = [&P](const auto& Rows) {
        for (const auto& Row : Rows) P.Values.insert(P.Values.end(), std::begin(Row), std::end(Row));
    };
    Add(RingCounts);
    Add(RingColorSums);
    Add(ZenithCounts);
    Add(ZenithColorSums);
    Add(ZenithColorMax);
    P.Values.push_back(SkyFactor);
    P.Threshold = LastThreshold;
    return P;
}

class FixedThresholdSeriesTest : public AnalysisFixture {};

// Whatever way the run finds its zeniths (from the table of distances, or
// per pixel under a slope), with or without the azimuth mask, on each
// channel and under each condition, and with the geometry kept across runs
// and cases while one series of runs stays open.
TEST_F(FixedThresholdSeriesTest, EveryThresholdPublishesWhatItsOwnRunPublishes) {
    const QString Noisy = WriteImage(QStringLiteral("noise.bmp"), kSize, kSize, [](int X, int Y) {
        const uint32_t H = uint32_t(X) * 2654435761u ^ uint32_t(Y) * 40503u;
        return TRgb{uint8_t(H >> 8), uint8_t(H >> 16), uint8_t((H >> 24) / 2 + (X + Y) / 3)};
    });
    struct TCase {
        const char* Name;
        int Target, Condition;
        double Offset;
        bool Slope, Mask;
        int R;
        TRect Box;
    };
    const TRect Whole{0, 0, kSize - 1, kSize - 1};
    const TCase Cases[] = {
        {"blue, at least", 2, 0, 0.0, false, false, 60, Whole},
        {"red, at most, centred on a corner, masked", 0, 1, 0.5, false, true, 60, Whole},
        {"green, equal, sloped", 1, 2, 0.0, true, false, 55, {4, 9, 100, 117}},
        {"blue, the gap estimate's at least, sloped and masked", 2, 3, 0.5, true, true, 60, Whole},
        {"blue, a box beside the centre", 2, 0, 0.0, false, false, 60, {70, 2, 118, 50}},
    };
    const TRunSeries Series;
    TBitmap Picture;
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        CircleSet = true;
        CircleX = CircleY = 60;
        CircleR = Case.R;
        CircleCenterOffset = Case.Offset;
        SlopeCorrection = Case.Slope;
        SlopeInclination = 14.0;
        SlopeAzimuth = 80.0;
        AzimuthMaskUse = Case.Mask;
        AzimuthMaskFrom = 30.0;
        AzimuthMaskTo = 140.0;
        NorthForAnalysis = 20.0;
        BinarizeTarget = Case.Target;
        ThresholdCondition = Case.Condition;
        ThresholdMethod = 2;
        ASSERT_TRUE(TFixedThresholdSeries::Applies());
        FixedThreshold = 0;
        TFixedThresholdSeries Thresholds;
        ASSERT_FALSE(Thresholds.Count(Noisy, Case.Box));
        for (int T = 0; T <= 255; ++T) {
            FixedThreshold = T;
            ASSERT_FALSE(GapFractionAnalysis(Noisy, Picture, Case.Box));
            const TPublished Run = Published();
            ResetAnalysisState();
            Thresholds.Publish(T);
            ASSERT_EQ(Published(), Run) << "threshold " << T;
        }
    }
}

// As a run of its own, a box that holds no pixel of the circle says so.
TEST_F(FixedThresholdSeriesTest, ABoxOutsideTheCircleHoldsNoPixel) {
    const QString White = WriteImage(QStringLiteral("white.bmp"), kSize, kSize, [](int, int) {
        return TRgb{255, 255, 255};
    });
    CircleSet = true;
    CircleX = CircleY = 60;
    CircleR = 40;
    BinarizeTarget = 2;
    ThresholdMethod = 2;
    TFixedThresholdSeries Thresholds;
    EXPECT_TRUE(Thresholds.Count(White, {0, 0, 10, 10}));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR31"));
}

}  // namespace
}  // namespace tam32::test
