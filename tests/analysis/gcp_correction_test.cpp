// The control-point correction of a photograph into a new BMP file.
#include <QImage>

#include "AnalysisFixture.h"
#include "CorrectionPictures.h"
#include "analysis/GcpCorrection.h"

namespace tam32::test {
namespace {

class GcpCorrectionTest : public AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        Noise = NoisePixels(kW, kH, 21);
        Source = WriteImage(QStringLiteral("noise.bmp"), kW, kH,
                            [this](int X, int Y) { return Noise[std::size_t(Y) * kW + X]; });
    }
    QString Out() const { return Folder.filePath(QStringLiteral("out.bmp")); }

    static constexpr int kW = 40, kH = 30;
    std::vector<TRgb> Noise;
    QString Source;
};

TEST_F(GcpCorrectionTest, WorldCoordinatesOfTheSourcesPixelsGiveItUpsideDown) {
    const TGcpModel Identity{{0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}, kW, kH, 1.0, 0.0, 0.0, true};
    ASSERT_TRUE(GcpCorrectImageFile(Source, Out(), Identity));
    const QImage Written(Out());
    ASSERT_EQ(Written.size(), QSize(kW, kH));
    for (int Y = 0; Y < kH; ++Y)
        for (int X = 0; X < kW; ++X)
            ASSERT_TRUE(SameRgb(PixelOf(Written, X, Y), Noise[std::size_t(kH - 1 - Y) * kW + X])) << X << "," << Y;
}

// The reference is scipy.ndimage.map_coordinates(order=1) of each channel at
// the source positions, then floor(v + 0.5), computed once (no value lies
// nearer than 3e-5 to a half, no position nearer than 0.008 to the edge):
// of the output pixels whose source position lies within the photograph,
// the count and the 64-bit FNV-1a hash of their red, green and blue bytes in
// the written file's row order, and one of them.
TEST_F(GcpCorrectionTest, AnAffineFitEqualsTheReferenceResamplingInsideThePhotograph) {
    const TGcpModel Affine{{2.31, 0.8137, 0.1523}, {-1.694, -0.0971, 0.9034}, 50, 36, 0.7368, -5.13, 3.27, true};
    ASSERT_TRUE(GcpCorrectImageFile(Source, Out(), Affine));
    const QImage Written(Out());
    ASSERT_EQ(Written.size(), QSize(50, 36));
    uint64_t Hash = 0xcbf29ce484222325u;
    int Inside = 0;
    for (int Y = 0; Y < 36; ++Y) {
        const double WorldY = (35 - Y) * Affine.PixelSize + Affine.Y0;
        for (int X = 0; X < 50; ++X) {
            const double WorldX = X * Affine.PixelSize + Affine.X0;
            const double Col = 2.31 + 0.8137 * WorldX + 0.1523 * WorldY,
                         Row = -1.694 - 0.0971 * WorldX + 0.9034 * WorldY;
            if (Col < 0 || Row < 0 || Col > kW - 1 || Row > kH - 1) continue;
            ++Inside;
            const TRgb C = PixelOf(Written, X, Y);
            for (uint8_t Byte : {C.R, C.G, C.B}) Hash = (Hash ^ Byte) * 0x100000001b3u;
        }
    }
    EXPECT_EQ(Inside, 1731);
    EXPECT_EQ(Hash, 0x7db9a439fcbc6ff4u);
    EXPECT_TRUE(SameRgb(PixelOf(Written, 10, 10), {96, 196, 131}));
}

}  // namespace
}  // namespace tam32::test
