// The control-point correction of a photograph into a new BMP file.
#include <QImage>

#include "analysis/AnalysisFixture.h"
#include "analysis/CorrectionPictures.h"
#include "analysis/corrections/GcpCorrection.h"
#include "analysis/corrections/GcpFit.h"

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
    const TGcpModel Identity{{{{0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}}, kW, kH, 1.0, 0.0, 0.0, true};
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
    const TGcpModel Affine{{{{2.31, 0.8137, 0.1523}, {-1.694, -0.0971, 0.9034}}}, 50, 36, 0.7368, -5.13, 3.27, true};
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

// Map coordinates over a 50 m extent at 500,000 m east and 4,000,000 m
// north, fitted from points on an exact second-order mapping: each output
// pixel reads the source where the mapping puts its world position. The
// source's red is its column and its green its row, which the bilinear
// sampler gives back rounded.
TEST_F(GcpCorrectionTest, MapCoordinatesReadTheSourceWhereTheirFitPutsThem) {
    const QString Gradient = WriteImage(QStringLiteral("gradient.bmp"), 200, 150, [](int X, int Y) {
        return TRgb{uint8_t(X), uint8_t(Y), 0};
    });
    constexpr double East = 500000.0, North = 4000000.0, Span = 50.0;
    const auto Col = [](long double U, long double) { return 10.0L + 170.0L * U + 15.0L * U * U; };
    const auto Row = [](long double U, long double V) { return 140.0L - 120.0L * V + 8.0L * V * V - 5.0L * U * U; };
    std::vector<TControlPoint> Points;
    for (int I = 0; I <= 4; ++I)
        for (int J = 0; J <= 4; ++J) {
            const long double U = I / 4.0L, V = J / 4.0L;
            Points.push_back({double(East + Span * U), double(North + Span * V), double(Col(U, V)), double(Row(U, V))});
        }
    const std::optional<TGcpFit> Fit = FitGcp(Points, 2);
    ASSERT_TRUE(Fit);
    const TGcpModel Model{*Fit, 60, 60, Span / 60, East, North, true};
    ASSERT_TRUE(GcpCorrectImageFile(Gradient, Out(), Model));
    const QImage Written(Out());
    ASSERT_EQ(Written.size(), QSize(60, 60));
    for (int Y = 0; Y < 60; ++Y)
        for (int X = 0; X < 60; ++X) {
            const long double U = X / 60.0L, V = (59 - Y) / 60.0L;
            const long double C = Col(U, V), R = Row(U, V);
            // A position within a millionth of a half could round either way.
            if (std::fabs(C - std::floor(C) - 0.5L) < 1e-6L || std::fabs(R - std::floor(R) - 0.5L) < 1e-6L) continue;
            const TRgb Pixel = PixelOf(Written, X, Y);
            ASSERT_EQ(Pixel.R, int(std::floor(C + 0.5L))) << X << "," << Y;
            ASSERT_EQ(Pixel.G, int(std::floor(R + 0.5L))) << X << "," << Y;
        }
}

}  // namespace
}  // namespace tam32::test
