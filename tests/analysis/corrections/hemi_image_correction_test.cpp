// The north-up and slope-corrected hemispherical photograph written to a file.
#include <QDir>
#include <QFile>
#include <cmath>
#include <numbers>

#include "analysis/AnalysisFixture.h"
#include "analysis/CorrectionPictures.h"
#include "analysis/corrections/HemiImageCorrection.h"
#include "analysis/geometry/LensProjection.h"

namespace tam32::test {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
const QString kCoolpix = QStringLiteral(TAM32_SHARED_DATA_DIR "/fisheye-coolpix5700-fce9.jpg");

class HemiImageCorrectionTest : public AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        Out = Folder.filePath(QStringLiteral("corrected.bmp"));
    }
    QImage Written() const { return QImage(Out).convertToFormat(QImage::Format_RGB888); }

    QString Out;
};

TEST_F(HemiImageCorrectionTest, NorthUpWithoutSlopeCopiesTheCircleAndBlackensTheRest) {
    const std::vector<TRgb> Noise = NoisePixels(80, 80, 4711);
    const QString File =
        WriteImage(QStringLiteral("sky.bmp"), 80, 80, [&](int X, int Y) { return Noise[std::size_t(Y) * 80 + X]; });
    // About the middle the zeniths come by distance from a table; a large
    // circle about a corner, whose table would hold more distances than the
    // picture has pixels, takes them pixel by pixel. The same either way.
    for (const auto& [Centre, Radius] : {std::pair{40, 30}, {2, 60}}) {
        SCOPED_TRACE(Centre);
        SetEquidistantCircle(Centre, Centre, Radius);
        ASSERT_TRUE(CorrectHemiImageFile(File, Out));
        EXPECT_EQ(AnalysisImage, nullptr);
        EXPECT_EQ(Host.LastStatus(), QStringLiteral("MSG10"));
        const QImage Same = Written();
        for (int Y = 0; Y < 80; ++Y)
            for (int X = 0; X < 80; ++X)
                ASSERT_TRUE(SameRgb(PixelOf(Same, X, Y), InCircle(X, Y) ? Noise[std::size_t(Y) * 80 + X] : TRgb{}))
                    << X << "," << Y;
    }
    // Turned by 90 degrees counter-clockwise about the circle's centre, each
    // pixel reads a whole source pixel: scipy's map_coordinates(order=1) at
    // those positions gives exactly the turned source (checked once).
    SetEquidistantCircle(40, 40, 30);
    NorthForAnalysis = 90.0;
    ASSERT_TRUE(CorrectHemiImageFile(File, Out));
    const QImage Turned = Written();
    ASSERT_EQ(Turned.size(), QSize(80, 80));
    for (int Y = 0; Y < 80; ++Y)
        for (int X = 0; X < 80; ++X) {
            const TRgb Source = InCircle(X, Y) ? Noise[std::size_t(X) * 80 + (81 - Y)] : TRgb{};
            ASSERT_TRUE(SameRgb(PixelOf(Turned, X, Y), Source)) << X << "," << Y;
        }
}

TEST_F(HemiImageCorrectionTest, SlopedGroundReadsEachRayAtTheRadiusOfTheZenithFromItsNormal) {
    // Red and green hold the column and row, so the colour of each output
    // pixel tells (to the nearest whole pixel) where it was read.
    const QString File = WriteImage(QStringLiteral("grid.bmp"), 200, 200, [](int X, int Y) {
        return TRgb{uint8_t(X), uint8_t(Y), 255};
    });
    const struct {
        double Inclination, Azimuth, North;
    } Slopes[] = {{20.0, 180.0, 0.0}, {15.0, 90.0, 30.0}};
    for (const auto& Slope : Slopes) {
        SCOPED_TRACE(testing::Message() << Slope.Inclination << " toward " << Slope.Azimuth << ", north "
                                        << Slope.North);
        SetEquidistantCircle(100, 100, 80);
        SlopeCorrection = true;
        SlopeInclination = Slope.Inclination;
        SlopeAzimuth = Slope.Azimuth;
        NorthForAnalysis = Slope.North;
        ASSERT_TRUE(CorrectHemiImageFile(File, Out));
        const QImage Image = Written();
        const double I = Slope.Inclination * kDeg, A = Slope.Azimuth * kDeg;
        int Checked = 0;
        for (int Y = 0; Y < 200; ++Y)
            for (int X = 0; X < 200; ++X) {
                if (!InCircle(X, Y)) continue;
                // z' = arccos(cos z cos I + sin z sin I cos(phi - A)), phi from north.
                const double Dx = X - CircleCentreX(), Dy = Y - CircleCentreY();
                const double Z = 90.0 * std::sqrt(Dx * Dx + Dy * Dy) / CircleRadius() * kDeg;
                const double Phi = (PixelAzimuth(X, Y) - Slope.North) * kDeg;
                const double SlopeZenith =
                    std::acos(std::cos(Z) * std::cos(I) + std::sin(Z) * std::sin(I) * std::cos(Phi - A));
                const TRgb Read = PixelOf(Image, X, Y);
                SCOPED_TRACE(testing::Message() << X << "," << Y);
                if (SlopeZenith > 90.0 * kDeg) {
                    ASSERT_TRUE(SameRgb(Read, TRgb{}));  // below the sloped ground's horizon
                    continue;
                }
                ASSERT_EQ(Read.B, 255);
                const double Radius = std::hypot(Read.R - 100.5, Read.G - 100.5);
                ASSERT_NEAR(Radius, CircleRadius() * SlopeZenith / (90.0 * kDeg), 0.75);
                ++Checked;
            }
        EXPECT_GT(Checked, 15000);
    }
}

TEST_F(HemiImageCorrectionTest, TheLeftOutAzimuthSectorStaysBlack) {
    const QString File = WriteImage(QStringLiteral("grey.bmp"), 80, 80, [](int, int) { return TRgb{150, 150, 150}; });
    SetEquidistantCircle(40, 40, 30);
    AzimuthMaskUse = true;
    AzimuthMaskFrom = 0.0;
    AzimuthMaskTo = 90.0;
    ASSERT_TRUE(CorrectHemiImageFile(File, Out));
    const QImage Image = Written();
    EXPECT_TRUE(SameRgb(PixelOf(Image, 55, 25), TRgb{}));  // 45 degrees: left out
    EXPECT_TRUE(SameRgb(PixelOf(Image, 25, 55), TRgb{150, 150, 150}));
}

TEST_F(HemiImageCorrectionTest, WritesNothingWithoutACircleASourceOrAPlaceToWrite) {
    const QString File = WriteImage(QStringLiteral("grey.bmp"), 40, 40, [](int, int) { return TRgb{150, 150, 150}; });
    ASSERT_TRUE(QDir(Folder.path()).mkdir(QStringLiteral("taken")));
    const struct {
        QString Source, Destination;
        bool Circle;
        const char* Why;
    } Cases[] = {
        {File, Out, false, "no circle"},
        {Folder.filePath(QStringLiteral("absent.bmp")), Out, true, "no source"},
        {File, Folder.filePath(QStringLiteral("taken")), true, "a folder where the file should go"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Why);
        SetEquidistantCircle(20, 20, 15);
        CircleSet = Case.Circle;
        EXPECT_FALSE(CorrectHemiImageFile(Case.Source, Case.Destination));
        EXPECT_EQ(AnalysisImage, nullptr);
        EXPECT_FALSE(QFile::exists(Out));
        EXPECT_TRUE(QDir(Folder.path()).entryList({QStringLiteral("taken.*")}).isEmpty());
    }
}

TEST_F(HemiImageCorrectionTest, TheCoolpixPhotographTurnedToNorthIsBlackOutsideItsCircle) {
    if (!QFile::exists(kCoolpix)) GTEST_SKIP() << "shared photographs not present: " << kCoolpix.toStdString();
    const TPlugins Plugins;
    SetEquidistantCircle(1276, 980, 756);
    NorthForAnalysis = 90.0;
    ASSERT_TRUE(CorrectHemiImageFile(kCoolpix, Out));
    const QImage Image = Written();
    ASSERT_EQ(Image.size(), QSize(2560, 1920));
    int Lit = 0;
    for (int Y = 0; Y < Image.height(); ++Y) {
        const uint8_t* Row = Image.constScanLine(Y);
        for (int X = 0; X < Image.width(); ++X) {
            const bool Black = Row[3 * X] == 0 && Row[3 * X + 1] == 0 && Row[3 * X + 2] == 0;
            if (!InCircle(X, Y)) {
                ASSERT_TRUE(Black) << X << "," << Y;
            }
            Lit += !Black;
        }
    }
    EXPECT_GT(Lit, 500000);  // the sky and the lit canopy inside
}

}  // namespace
}  // namespace tam32::test
