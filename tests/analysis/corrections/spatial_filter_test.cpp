// The spatial filter of a photograph into a new BMP file.
#include <QFile>
#include <QImage>

#include "analysis/AnalysisFixture.h"
#include "analysis/CorrectionPictures.h"
#include "analysis/corrections/FilterKernel.h"
#include "analysis/corrections/SpatialFilter.h"

namespace tam32::test {
namespace {

class SpatialFilterTest : public AnalysisFixture {
protected:
    void Define(int Size, std::vector<int32_t> Weights, int32_t Divisor) {
        StoreFilterKernel({Size, std::move(Weights), Divisor});
    }
    QString Out() const { return Folder.filePath(QStringLiteral("out.bmp")); }
};

// The references are scipy.ndimage.correlate(channel, K, mode='constant',
// cval=0) on whole numbers (K the weights as the kernel file lists them, row
// by row), divided by the divisor, numpy.round (halves to even) and clipped
// to 0..255, computed once for the noise of CorrectionPictures.h: the 64-bit
// FNV-1a hash of the red, green and blue bytes in row order, and one pixel.
TEST_F(SpatialFilterTest, ChannelsEqualTheReferenceCorrelationRoundedAndClipped) {
    const struct {
        const char* Name;
        int W, H;
        uint32_t Seed;
        int Size;
        std::vector<int32_t> Weights;
        int32_t Divisor;
        uint64_t Hash;
        int X, Y;
        TRgb Pixel;
    } Cases[] = {
        {"3x3 binomial", 17, 11, 11, 3, {1, 2, 1, 2, 4, 2, 1, 2, 1}, 16, 0x387d097a67b49eedu, 8, 5, {164, 148, 114}},
        {"5x5 of mixed signs",
         15,
         12,
         12,
         5,
         {3, -1, 0, 2, 5, -3, 1, 4, 0, -2, 2, 2, -1, 3, 1, 0, -3, 5, 1, 4, 1, 0, -2, 2, -1},
         7,
         0x557973f6684be5cfu,
         14,
         11,
         {76, 116, 95}},
        {"negative weights", 13, 9, 13, 3, {0, -1, 0, -1, 4, -1, 0, -1, 0}, 1, 0x59cdd04f32b80ba7u, 0, 0, {0, 0, 97}},
        {"a negative divisor",
         13,
         9,
         14,
         3,
         {-1, -2, -1, 0, 0, 0, 1, 2, 1},
         -4,
         0x094e5651e6d6fbaeu,
         12,
         8,
         {46, 61, 67}},
        {"sums beyond a float's integers",
         12,
         10,
         15,
         3,
         {100000, -3, 7, 0, 250000, 0, 1, -1, 2},
         350003,
         0x4f4522b8a157e428u,
         11,
         9,
         {115, 80, 166}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const std::vector<TRgb> Noise = NoisePixels(Case.W, Case.H, Case.Seed);
        const QString File = WriteImage(QStringLiteral("noise.bmp"), Case.W, Case.H,
                                        [&](int X, int Y) { return Noise[std::size_t(Y) * Case.W + X]; });
        Define(Case.Size, Case.Weights, Case.Divisor);
        ASSERT_FALSE(FilterImageFile(File, Out()));
        const QImage Filtered(Out());
        ASSERT_EQ(Filtered.size(), QSize(Case.W, Case.H));
        uint64_t Hash = 0xcbf29ce484222325u;
        for (int Y = 0; Y < Case.H; ++Y)
            for (int X = 0; X < Case.W; ++X) {
                const TRgb C = PixelOf(Filtered, X, Y);
                for (uint8_t Byte : {C.R, C.G, C.B}) Hash = (Hash ^ Byte) * 0x100000001b3u;
            }
        EXPECT_EQ(Hash, Case.Hash);
        EXPECT_TRUE(SameRgb(PixelOf(Filtered, Case.X, Case.Y), Case.Pixel));
    }
}

TEST_F(SpatialFilterTest, BordersCountOnlyThePixelsInsideAndHalvesGoToEven) {
    const QString Grey = WriteImage(QStringLiteral("grey.bmp"), 6, 5, [](int, int) { return TRgb{90, 90, 90}; });
    Define(3, std::vector<int32_t>(9, 1), 9);
    ASSERT_FALSE(FilterImageFile(Grey, Out()));
    const QImage Mean(Out());
    EXPECT_EQ(qRed(Mean.pixel(0, 0)), 40);  // 4 x 90 / 9
    EXPECT_EQ(qRed(Mean.pixel(3, 0)), 60);  // 6 x 90 / 9
    EXPECT_EQ(qRed(Mean.pixel(3, 2)), 90);
    // 5 / 2 and 7 / 2.
    const QString Pair = WriteImage(QStringLiteral("pair.bmp"), 2, 1, [](int X, int) {
        const uint8_t V = X == 0 ? 5 : 7;
        return TRgb{V, V, V};
    });
    Define(1, {1}, 2);
    ASSERT_FALSE(FilterImageFile(Pair, Out()));
    const QImage Halves(Out());
    EXPECT_EQ(qRed(Halves.pixel(0, 0)), 2);
    EXPECT_EQ(qRed(Halves.pixel(1, 0)), 4);
}

TEST_F(SpatialFilterTest, WritesNothingWithoutAKernelOrWithADivisorOfZero) {
    const QString Grey = WriteImage(QStringLiteral("grey.bmp"), 4, 4, [](int, int) { return TRgb{90, 90, 90}; });
    EXPECT_TRUE(FilterImageFile(Grey, Out()));
    EXPECT_TRUE(Host.StatusTexts.empty());
    Define(3, std::vector<int32_t>(9, 1), 0);
    EXPECT_TRUE(FilterImageFile(Grey, Out()));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR22"));
    EXPECT_FALSE(QFile::exists(Out()));
    EXPECT_EQ(AnalysisImage, nullptr);
}

}  // namespace
}  // namespace tam32::test
