// The panorama for basal-area counts.
#include <QFile>

#include "analysis/AnalysisFixture.h"
#include "analysis/CorrectionPictures.h"
#include "analysis/corrections/BasalAreaPanorama.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

const QString kCoolpix = QStringLiteral(TAM32_SHARED_DATA_DIR "/fisheye-coolpix5700-fce9.jpg");
constexpr int kBottomRow = 1256;

using BasalAreaPanoramaTest = AnalysisFixture;

TEST_F(BasalAreaPanoramaTest, AHorizonOf500PixelsGives3143ColumnsAndABandOfItsValues) {
    // Pixel (1000, 500), due right of the centre at the horizon, is orange.
    const QString File = WriteImage(QStringLiteral("sky.bmp"), 1002, 1002, [](int X, int Y) {
        return X == 1000 && Y == 500 ? TRgb{200, 120, 40} : TRgb{uint8_t(X / 4), uint8_t(Y / 4), 90};
    });
    SetEquidistantCircle(500, 500, 500);
    TBitmap Image;
    ASSERT_FALSE(BAMeasurement(File, Image));
    EXPECT_EQ(AnalysisImage, nullptr);
    ASSERT_EQ(Image.Width(), 3143);
    ASSERT_EQ(Image.Height(), 1257);
    const QImage Panorama = Image.Image();
    // The horizon is drawn over row 500: column 0's sample shows through its dots.
    EXPECT_TRUE(SameRgb(PixelOf(Panorama, 0, kBottomRow - 200), TRgb{255, 0, 0}));
    EXPECT_TRUE(SameRgb(PixelOf(Panorama, 0, kBottomRow - 120), TRgb{0, 255, 0}));
    EXPECT_TRUE(SameRgb(PixelOf(Panorama, 0, kBottomRow - 40), TRgb{0, 0, 255}));
    // Row 1000 (90 degrees below the horizon) is sampled: beyond the
    // photograph, black. Below it each column is white but for at most
    // three pure dots.
    for (int X = 0; X < Panorama.width(); ++X) {
        SCOPED_TRACE(X);
        ASSERT_TRUE(SameRgb(PixelOf(Panorama, X, 1000), TRgb{}));
        int Dots = 0;
        for (int Y = 1001; Y <= kBottomRow; ++Y) {
            const TRgb C = PixelOf(Panorama, X, Y);
            if (SameRgb(C, {255, 255, 255})) continue;
            ++Dots;
            ASSERT_TRUE(SameRgb(C, {255, 0, 0}) || SameRgb(C, {0, 255, 0}) || SameRgb(C, {0, 0, 255}));
        }
        ASSERT_GE(Dots, 1);
        ASSERT_LE(Dots, 3);
    }
    // Half way up, a quarter turn round: zenith 45 at 89.95 degrees, read at
    // (500.2, 250.0001), where the picture holds (125, 62, 90).
    EXPECT_TRUE(SameRgb(PixelOf(Panorama, 785, 250), TRgb{125, 62, 90}));
}

TEST_F(BasalAreaPanoramaTest, ACircleWithoutAUsableHorizonIsRefusedWithTheWindowUnchanged) {
    const QString File = WriteImage(QStringLiteral("sky.bmp"), 50, 50, [](int, int) { return TRgb{9, 9, 9}; });
    const struct {
        int Lens;
        double ViewAngle;
        bool Circle;
        const char* Message;
        const char* Why;
    } Cases[] = {
        {0, 90.0, false, "ERR10", "no circle"},
        {7, 90.0, true, "ERR10", "the normal lens reaches no horizon"},
        {0, 10.0, true, "ERR10", "nine radii to the horizon: 56550 columns"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Why);
        SetEquidistantCircle(25, 25, 1000);
        CircleSet = Case.Circle;
        LensType = Case.Lens;
        MaxViewAngle = Case.ViewAngle;
        TBitmap Image;
        Image.SetImage(QImage(4, 4, QImage::Format_BGR888));
        const QImage Before = Image.Image();
        EXPECT_TRUE(BAMeasurement(File, Image));
        EXPECT_EQ(Host.LastStatus(), QLatin1String(Case.Message));
        EXPECT_EQ(Image.Image(), Before);
    }
    SetEquidistantCircle(25, 25, 20);
    TBitmap Image;
    EXPECT_TRUE(BAMeasurement(Folder.filePath(QStringLiteral("absent.bmp")), Image));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
    EXPECT_TRUE(Image.Empty());
}

TEST_F(BasalAreaPanoramaTest, TheCoolpixPhotographUnrollsInto4752Columns) {
    if (!QFile::exists(kCoolpix)) GTEST_SKIP() << "shared photographs not present: " << kCoolpix.toStdString();
    const TPlugins Plugins;
    SetEquidistantCircle(1276, 980, 756);
    TBitmap Image;
    ASSERT_FALSE(BAMeasurement(kCoolpix, Image));
    EXPECT_EQ(Image.Width(), 4752);
    EXPECT_EQ(Image.Height(), 1257);
}

}  // namespace
}  // namespace tam32::test
