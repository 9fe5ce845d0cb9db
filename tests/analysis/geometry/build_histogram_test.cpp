// The histograms of the analysis area and the azimuth mask's row runs, each
// checked against a plain recount through the public per-pixel tests.
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/AnalysisFixture.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "platform/Rounding.h"

namespace tam32::test {
namespace {

constexpr int kSize = 201;  // circle radius 100 centred on pixel (100, 100)

class BuildHistogramTest : public AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        CircleSet = true;
        CircleX = CircleY = CircleR = 100;
        NorthForAnalysis = 75.0;
        AzimuthMaskFrom = 100.0;
        AzimuthMaskTo = 170.0;
        SlopeInclination = 12.0;
        SlopeAzimuth = 30.0;
    }
    void LoadNoise() {
        const QString Noise = WriteImage(QStringLiteral("noise.bmp"), kSize, kSize, [](int X, int Y) {
            const uint32_t H = uint32_t(X) * 2654435761u ^ uint32_t(Y) * 40503u;
            return TRgb{uint8_t(H >> 8), uint8_t(H >> 16), uint8_t((H >> 24) / 2 + (X + Y) / 7)};
        });
        ASSERT_FALSE(OpenAnalysisImage(Noise));
    }
};

struct TRecount {
    std::array<double, 768> RGB{};
    std::array<double, 256> Channel{};
    std::vector<std::array<int32_t, 256>> Zenith = std::vector<std::array<int32_t, 256>>(91);
    bool Empty = true;
};

TRecount Recount(const TRect& Area) {
    TRecount Counts;
    HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    for (int Y = Area.Top; Y <= Area.Bottom; ++Y)
        for (int X = Area.Left; X <= Area.Right; ++X) {
            if (!InAnalysisArea(X, Y)) continue;
            Counts.Empty = false;
            for (int C = 0; C < 3; ++C) Counts.RGB[256 * C + GetPixelChannel(C, X, Y)] += 1;
            const int V = GetPixelChannel(BinarizeTarget, X, Y);
            Counts.Channel[V] += 1;
            Counts.Zenith.at(std::size_t(Round(PixelZenith(X, Y))))[std::size_t(V)] += 1;
        }
    return Counts;
}

TEST_F(BuildHistogramTest, EveryModeCountsWhatAPixelByPixelRecountFinds) {
    LoadNoise();
    struct TCase {
        double Offset;
        bool Slope, Mask;
        int Lens;
        TRect Area;
    };
    const TRect Whole{0, 0, kSize - 1, kSize - 1}, Part{5, 3, kSize - 2, 140};
    for (const TCase Case : {TCase{0.0, false, false, 5, Whole}, TCase{0.5, false, true, 2, Part},
                             TCase{0.0, true, false, 0, Part}, TCase{0.5, true, true, 6, Whole},
                             TCase{0.25, false, true, 1, Whole}}) {
        SCOPED_TRACE(testing::Message() << "offset " << Case.Offset << " slope " << Case.Slope << " mask " << Case.Mask
                                        << " lens " << Case.Lens);
        CircleCenterOffset = Case.Offset;
        LensType = Case.Lens;
        SlopeCorrection = Case.Slope;
        AzimuthMaskUse = Case.Mask;
        const TRecount Expected = Recount(Case.Area);
        ASSERT_FALSE(Expected.Empty);

        ASSERT_FALSE(BuildHistogram(0, Case.Area));
        for (int I = 0; I < 768; ++I) ASSERT_EQ(RGBHistogram[I], Expected.RGB[I]) << I;
        ASSERT_FALSE(BuildHistogram(1, Case.Area));
        for (int I = 0; I < 256; ++I) ASSERT_EQ(Histogram[I], Expected.Channel[I]) << I;
        for (auto& Row : ZenithHistogram) Row.fill(1);  // counts add to what it held
        ASSERT_FALSE(BuildHistogram(2, Case.Area));
        for (int Z = 0; Z <= 90; ++Z)
            for (int V = 0; V < 256; ++V) ASSERT_EQ(ZenithHistogram[Z][V], Expected.Zenith[Z][V] + 1) << Z << " " << V;
    }
}

TEST_F(BuildHistogramTest, AnAreaWithoutCirclePixelsCountsNothing) {
    LoadNoise();
    Histogram[7] = 3.0;
    EXPECT_TRUE(BuildHistogram(1, {0, 0, 10, 10}));  // a corner outside the circle
    EXPECT_EQ(Histogram[7], 0.0);
    EXPECT_TRUE(BuildHistogram(1, {500, 500, 600, 600}));  // beyond the image
}

// A run between the lines takes the answer of its first pixel; the lines
// through the centre along both bounds, north and the +x axis are where the
// answer may change, so every pixel must agree with its own test.
TEST_F(BuildHistogramTest, MaskRunsKeepExactlyThePixelsTheMaskKeeps) {
    AzimuthMaskUse = true;
    struct TSector {
        double From, To;
    };
    const TSector Sectors[] = {{100, 170}, {0, 360}, {350, 10}, {0, 0}, {90, 270}, {180, 180.0000001}, {-10, 45}};
    const double Norths[] = {0, 90, 180, 270, 33.3, -45, 400};
    const TRect Area{-3, -2, kSize + 3, kSize + 2};
    for (const double Offset : {0.0, 0.5, 0.3})
        for (const double North : Norths)
            for (const TSector Sector : Sectors) {
                SCOPED_TRACE(testing::Message() << "offset " << Offset << " north " << North << " sector "
                                                << Sector.From << ".." << Sector.To);
                CircleCenterOffset = Offset;
                NorthForAnalysis = North;
                AzimuthMaskFrom = Sector.From;
                AzimuthMaskTo = Sector.To;
                AzimuthMaskAscending = Sector.From < Sector.To;
                TAzimuthMaskRuns Mask;
                for (int Y = Area.Top; Y <= Area.Bottom; ++Y) {
                    std::vector<bool> Kept(std::size_t(Area.Right - Area.Left + 1), false);
                    for (const TColumnSpan& Run : Mask.Kept(Y, {Area.Left, Area.Right}))
                        for (int X = Run.First; X <= Run.Last; ++X) Kept[std::size_t(X - Area.Left)] = true;
                    for (int X = Area.Left; X <= Area.Right; ++X)
                        ASSERT_EQ(Kept[std::size_t(X - Area.Left)], KeptByAzimuthMask(X, Y)) << X << "," << Y;
                }
            }
}

}  // namespace
}  // namespace tam32::test
