// The lens distortion correction: into the analysis image, a file or the
// window picture, and as the load of every analysis under DistortAuto.
#include <QDir>
#include <QFile>
#include <algorithm>

#include "analysis/AnalysisFixture.h"
#include "analysis/CorrectionPictures.h"
#include "analysis/geometry/DistortionCorrection.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

const QString kBeech = QStringLiteral(TAM32_SHARED_DATA_DIR "/beech-fullframe-d90-nikkor10.5.jpg");

class DistortionCorrectionTest : public AnalysisFixture {
protected:
    QString WriteNoise(const QString& Name, int W, int H) {
        const std::vector<TRgb> Pixels = NoisePixels(W, H, 20240621);
        return WriteImage(Name, W, H, [&](int X, int Y) { return Pixels[std::size_t(Y) * W + X]; });
    }
    TRgb Corrected(int X, int Y) const {
        int R, G, B;
        GetPixelRGB(X, Y, R, G, B);
        return {uint8_t(R), uint8_t(G), uint8_t(B)};
    }
    bool Shown(const char* Key) const {
        return std::count(Host.StatusTexts.begin(), Host.StatusTexts.end(), QLatin1String(Key)) > 0;
    }
};

// The reference is scipy.ndimage.map_coordinates(order=1, mode='grid-constant')
// of each channel at the source positions, then floor(v + 0.5), computed
// once for the 96 x 64 noise of seed 20240621 (no value lies nearer than
// 0.0002 to a half): of the pixels whose source position lies within the
// picture, the count and the 64-bit FNV-1a hash of their red, green and blue
// bytes in row order, and three of them.
TEST_F(DistortionCorrectionTest, FullImageModeMatchesTheReferenceInsideAndKeepsTheCorners) {
    const int W = 96, H = 64;
    const QString File = WriteNoise(QStringLiteral("noise.bmp"), W, H);
    const std::vector<TRgb> Source = NoisePixels(W, H, 20240621);
    DistortParameter = 50;
    CLDFullImage = true;
    ASSERT_FALSE(MakeDistortionCorrectedImage(File));
    EXPECT_EQ(AnalysisFileName, File);
    for (const auto& [X, Y] : {std::pair{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}}) {
        SCOPED_TRACE(testing::Message() << "corner " << X << "," << Y);
        EXPECT_TRUE(SameRgb(Corrected(X, Y), Source[std::size_t(Y) * W + X]));
    }
    const struct {
        int X, Y;
        TRgb Colour;
    } Samples[] = {{47, 31, {195, 173, 220}}, {10, 40, {134, 74, 117}}, {80, 5, {99, 194, 174}}};
    for (const auto& Sample : Samples) {
        SCOPED_TRACE(testing::Message() << "pixel " << Sample.X << "," << Sample.Y);
        EXPECT_TRUE(SameRgb(Corrected(Sample.X, Sample.Y), Sample.Colour));
    }
    const double Cx = (W - 1) / 2.0, Cy = (H - 1) / 2.0, K = (50 / 300.0) / (Cx * Cx + Cy * Cy), S = 1.0 - 50 / 300.0;
    uint64_t Hash = 0xcbf29ce484222325u;
    int Inside = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const double Dx = X - Cx, Dy = Y - Cy, F = (1.0 - (Dx * Dx + Dy * Dy) * K) / S;
            const double Sx = Dx * F + Cx, Sy = Dy * F + Cy;
            if (Sx < 0 || Sy < 0 || Sx > W - 1 || Sy > H - 1) continue;
            ++Inside;
            const TRgb C = Corrected(X, Y);
            for (uint8_t Byte : {C.R, C.G, C.B}) Hash = (Hash ^ Byte) * 0x100000001b3u;
        }
    EXPECT_EQ(Inside, 5120);
    EXPECT_EQ(Hash, 0x0b5f041ba1ed4facu);
}

TEST_F(DistortionCorrectionTest, BlankRemovedModeKeepsTheNearerEdgesMiddlesAndFillsOrBlackensTheCorners) {
    // Odd sizes put the middles of the edges on pixels.
    const int W = 97, H = 65;
    const QString Noise = WriteNoise(QStringLiteral("noise.bmp"), W, H);
    const std::vector<TRgb> Source = NoisePixels(W, H, 20240621);
    DistortParameter = 40;
    ASSERT_FALSE(MakeDistortionCorrectedImage(Noise));
    EXPECT_TRUE(SameRgb(Corrected(48, 0), Source[48]));
    EXPECT_TRUE(SameRgb(Corrected(48, H - 1), Source[std::size_t(H - 1) * W + 48]));
    FreeAnalysisImage();

    const QString Grey = WriteImage(QStringLiteral("grey.bmp"), W, H, [](int, int) { return TRgb{200, 200, 200}; });
    for (const double Parameter : {40.0, -40.0}) {
        SCOPED_TRACE(Parameter);
        DistortParameter = Parameter;
        ASSERT_FALSE(MakeDistortionCorrectedImage(Grey));
        // A positive parameter reads the corners from within the source, a
        // negative one from beyond its frame.
        EXPECT_EQ(GetPixelChannel(0, 0, 0), Parameter > 0 ? 200 : 0);
        EXPECT_EQ(GetPixelChannel(1, W - 1, H - 1), Parameter > 0 ? 200 : 0);
        FreeAnalysisImage();
    }
}

TEST_F(DistortionCorrectionTest, RefusesWhatHasNoCorrectionAndLeavesNoImage) {
    const QString Noise = WriteNoise(QStringLiteral("noise.bmp"), 96, 64);
    const QString Dot = WriteImage(QStringLiteral("dot.bmp"), 1, 1, [](int, int) { return TRgb{9, 9, 9}; });
    const struct {
        QString File;
        double Parameter;
        bool Full;
        bool Loads;
        const char* Why;
    } Cases[] = {
        {Noise, 0.0, true, false, "no parameter: nothing is loaded"},
        {Noise, -0.09, true, false, "below a tenth"},
        {Dot, 50.0, true, true, "a single pixel has no corner distance"},
        {Noise, 300.0, true, true, "s = 0 in full-image mode"},
        {Noise, 1000.0, false, true, "s < 0 with blanks removed"},
        {Folder.filePath(QStringLiteral("absent.bmp")), 50.0, true, true, "no file"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Why);
        Host.StatusTexts.clear();
        DistortParameter = Case.Parameter;
        CLDFullImage = Case.Full;
        EXPECT_TRUE(MakeDistortionCorrectedImage(Case.File));
        EXPECT_EQ(AnalysisImage, nullptr);
        EXPECT_FALSE(Shown("MSG9"));
        const QString Out = Folder.filePath(QStringLiteral("out.bmp"));
        EXPECT_TRUE(MakeCLDFile(Case.File, Out));
        EXPECT_FALSE(QFile::exists(Out));
    }
}

TEST_F(DistortionCorrectionTest, AnyPictureComesOutIn24BitsAtItsOwnSize) {
    QImage Grey(33, 21, QImage::Format_Grayscale8);
    Grey.fill(77);
    const QString File = Folder.filePath(QStringLiteral("grey8.bmp"));
    ASSERT_TRUE(Grey.save(File, "BMP"));
    DistortParameter = -25;
    ASSERT_FALSE(MakeDistortionCorrectedImage(File));
    EXPECT_EQ(AnalysisImage->GetPixelFormat(), pxPf24Bit);
    EXPECT_EQ(AnalysisImage->Width(), 33);
    EXPECT_EQ(AnalysisImage->Height(), 21);
    EXPECT_TRUE(Shown("MSG10"));
}

TEST_F(DistortionCorrectionTest, TheFileAndTheViewHoldTheCorrectedPicture) {
    const QString Noise = WriteNoise(QStringLiteral("noise.bmp"), 40, 30);
    DistortParameter = 30;
    const QString Out = Folder.filePath(QStringLiteral("corrected.bmp"));
    ASSERT_FALSE(MakeCLDFile(Noise, Out));
    EXPECT_EQ(AnalysisImage, nullptr);
    TBitmap View;
    ASSERT_FALSE(ViewCLDImage(Noise, View));
    EXPECT_EQ(AnalysisImage, nullptr);
    const QImage Written(Out);
    ASSERT_EQ(Written.size(), QSize(40, 30));
    EXPECT_EQ(Written.convertToFormat(QImage::Format_RGB888), View.Image().convertToFormat(QImage::Format_RGB888));
    EXPECT_NE(Written, QImage(Noise).convertToFormat(Written.format()));

    // A file that cannot be put in place (a folder has its name) is a
    // failure that says why and leaves no half-written file behind; a failed
    // view leaves the picture as it was.
    ASSERT_TRUE(QDir(Folder.path()).mkdir(QStringLiteral("taken")));
    EXPECT_TRUE(MakeCLDFile(Noise, Folder.filePath(QStringLiteral("taken"))));
    EXPECT_EQ(AnalysisImage, nullptr);
    EXPECT_EQ(Host.Messages.size(), 1u);
    EXPECT_TRUE(QDir(Folder.path()).entryList({QStringLiteral("taken.*")}).isEmpty());
    const QImage Before = View.Image();
    DistortParameter = 0;
    EXPECT_TRUE(ViewCLDImage(Noise, View));
    EXPECT_EQ(View.Image(), Before);
}

TEST_F(DistortionCorrectionTest, DistortAutoCorrectsEveryAnalysisImageAboveOneTenth) {
    const QString Noise = WriteNoise(QStringLiteral("noise.bmp"), 96, 64);
    DistortAuto = true;
    for (const double Parameter : {0.1, 0.11, -0.11}) {
        SCOPED_TRACE(Parameter);
        Host.StatusTexts.clear();
        DistortParameter = Parameter;
        ASSERT_FALSE(OpenAnalysisImage(Noise));
        EXPECT_EQ(Shown("MSG9"), Parameter != 0.1);
        RestoreThresholdSettings();
        FreeAnalysisImage();
    }
    // A correction that fails is the analysis's failure, with the settings
    // as they were and no image.
    const QString Dot = WriteImage(QStringLiteral("dot.bmp"), 1, 1, [](int, int) { return TRgb{}; });
    FixedThreshold = 42;
    EXPECT_TRUE(OpenAnalysisImage(Dot));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR13"));
    EXPECT_EQ(AnalysisImage, nullptr);
    EXPECT_FALSE(SettingsOverridden);
    EXPECT_EQ(FixedThreshold, 42);
}

TEST_F(DistortionCorrectionTest, TheFullFrameBeechPhotographKeepsItsCornersEitherWay) {
    if (!QFile::exists(kBeech)) GTEST_SKIP() << "shared photographs not present: " << kBeech.toStdString();
    const TPlugins Plugins;
    ASSERT_FALSE(LoadAnalysisImage(kBeech));
    const int W = AnalysisImage->Width(), H = AnalysisImage->Height();
    const std::pair<int, int> Corners[] = {{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}};
    std::vector<TRgb> Plain;
    for (const auto& [X, Y] : Corners) Plain.push_back(Corrected(X, Y));
    FreeAnalysisImage();
    CLDFullImage = true;
    for (const double Parameter : {20.0, -20.0}) {
        SCOPED_TRACE(Parameter);
        DistortParameter = Parameter;
        ASSERT_FALSE(MakeDistortionCorrectedImage(kBeech));
        for (std::size_t I = 0; I < std::size(Corners); ++I)
            EXPECT_TRUE(SameRgb(Corrected(Corners[I].first, Corners[I].second), Plain[I]));
        FreeAnalysisImage();
    }
}

}  // namespace
}  // namespace tam32::test
