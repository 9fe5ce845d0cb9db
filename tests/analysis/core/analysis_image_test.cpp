#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <functional>

#include "analysis/AnalysisFixture.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/colour/ClassifiedImage.h"
#include "analysis/colour/ColourAnalyses.h"
#include "analysis/colour/DiscriminantTraining.h"
#include "analysis/core/RunSeries.h"
#include "analysis/corrections/BasalAreaPanorama.h"
#include "analysis/geometry/AreaHistogram.h"
#include "analysis/geometry/CircleDetection.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "analysis/objects/Labelling.h"
#include "analysis/objects/SkeletonLength.h"
#include "analysis/sun/PAREstimate.h"
#include "platform/Bitmap.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

namespace tam32::test {
namespace {

using AnalysisImageTest = AnalysisFixture;

TEST_F(AnalysisImageTest, ChannelZeroIsRedOfTheStoredBlueGreenRedBytes) {
    const QString File = WriteImage(QStringLiteral("one.bmp"), 1, 1, [](int, int) { return TRgb{30, 20, 10}; });
    ASSERT_FALSE(OpenAnalysisImage(File));
    EXPECT_EQ(GetPixelChannel(0, 0, 0), 30);
    EXPECT_EQ(GetPixelChannel(1, 0, 0), 20);
    EXPECT_EQ(GetPixelChannel(2, 0, 0), 10);
    int R, G, B;
    GetPixelRGB(0, 0, R, G, B);
    EXPECT_EQ(R * 10000 + G * 100 + B, 302010);
    EXPECT_EQ(AnalysisFileName, File);
    EXPECT_THROW(GetPixelChannel(0, 1, 0), ERangeError);
    EXPECT_THROW(GetPixelChannel(0, 0, -1), ERangeError);
    EXPECT_THROW(GetPixelChannel(3, 0, 0), ERangeError);
}

TEST_F(AnalysisImageTest, WideImagesAreReadToTheirLastColumn) {
    const QString File = WriteImage(QStringLiteral("wide.bmp"), 12000, 2, [](int X, int) {
        return TRgb{uint8_t(X % 251), 0, 0};
    });
    ASSERT_FALSE(OpenAnalysisImage(File));
    EXPECT_EQ(GetPixelChannel(0, 11999, 1), 11999 % 251);
}

TEST_F(AnalysisImageTest, TheRunsThresholdSurvivesOnlyAsLastThreshold) {
    const QString File = WriteImage(QStringLiteral("one.bmp"), 1, 1, [](int, int) { return TRgb{}; });
    FixedThreshold = 0;
    ASSERT_FALSE(OpenAnalysisImage(File));
    EXPECT_TRUE(SettingsOverridden);
    FixedThreshold = 117;
    BinarizeTarget = 0;
    ThresholdMethod = 5;
    ThresholdCondition = 2;
    RestoreThresholdSettings();
    FreeAnalysisImage();
    EXPECT_EQ(FixedThreshold, 0);
    EXPECT_EQ(LastThreshold, 117);
    EXPECT_EQ(BinarizeTarget, 2);
    EXPECT_EQ(ThresholdMethod, 0);
    EXPECT_EQ(ThresholdCondition, 1);
    EXPECT_FALSE(SettingsOverridden);
    FreeAnalysisImage();  // a second release is harmless
}

TEST_F(AnalysisImageTest, AnUndecodableFileFailsWithEveryThingAsBefore) {
    const QString Bad = Folder.filePath(QStringLiteral("broken.bmp"));
    QFile File(Bad);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("BM this is no bitmap at all");
    File.close();
    FixedThreshold = 42;
    ThresholdMethod = 3;
    EXPECT_TRUE(OpenAnalysisImage(Bad));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
    EXPECT_EQ(Host.Messages.size(), 1u);  // the decoder's own report
    EXPECT_EQ(AnalysisImage, nullptr);
    EXPECT_FALSE(SettingsOverridden);
    EXPECT_EQ(FixedThreshold, 42);
    EXPECT_EQ(ThresholdMethod, 3);
    EXPECT_TRUE(OpenAnalysisImage(Folder.filePath(QStringLiteral("absent.jpg"))));
    EXPECT_EQ(AnalysisImage, nullptr);
}

// "ERR14" once, from the loading, whichever analysis asked for the image.
TEST_F(AnalysisImageTest, AnImageThatDoesNotLoadIsReportedOnce) {
    const QString Missing = Folder.filePath(QStringLiteral("missing.bmp"));
    const TRect Area{0, 0, 9, 9};
    TBitmap Picture;
    const struct {
        const char* Name;
        std::function<bool()> Run;
    } Routines[] = {
        {"area histogram", [&] { return CalcAreaHistogram(Missing, Area); }},
        {"gap fraction", [&] { return GapFractionAnalysis(Missing, Picture, Area); }},
        {"PAR estimate", [&] { return PAREstimate(Missing, Picture, Area); }},
        {"labelling", [&] { return LabellAnalysis(Missing, Picture, Area); }},
        {"skeleton", [&] { return TopoAnalysis(Missing, Picture, Area); }},
        {"class statistics", [&] { return SepColorAnalysis(Missing, Picture, Area); }},
        {"colour search", [&] { return SearchColors(Missing, Picture, Area); }},
        {"line profile", [&] { return ColorLineProfile(Missing, {0, 0}, {5, 5}); }},
        {"classified image", [&] { return ViewClassifiedImage(Missing, Picture, Area); }},
        {"circle detection", [&] { return DetectCircleArea(Missing); }},
        {"panorama", [&] { return BAMeasurement(Missing, Picture); }},
        {"training", [&] { return TrainDiscriminant(Missing, {}); }},
    };
    for (const auto& Routine : Routines) {
        SCOPED_TRACE(Routine.Name);
        CircleSet = true;
        CircleX = CircleY = 5;
        CircleR = 5;
        ClassifyDone = true;
        Host.StatusTexts.clear();
        EXPECT_TRUE(Routine.Run());
        EXPECT_EQ(std::count(Host.StatusTexts.begin(), Host.StatusTexts.end(), QStringLiteral("ERR14")), 1);
        EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
    }
}

// A JPEG whose frame header is made to declare Width × Height.
QByteArray WithDeclaredSize(QByteArray Jpeg, int Width, int Height) {
    const qsizetype frame = Jpeg.indexOf("\xFF\xC0");
    Jpeg[frame + 5] = char(Height >> 8);
    Jpeg[frame + 6] = char(Height);
    Jpeg[frame + 7] = char(Width >> 8);
    Jpeg[frame + 8] = char(Width);
    return Jpeg;
}

TEST_F(AnalysisImageTest, APictureThatCannotBeReadIsReportedByNameAndReasonInTheInterfaceLanguage) {
    const TPlugins Plugins;
    QImage Photo(64, 64, QImage::Format_Grayscale8);
    for (int Y = 0; Y < 64; ++Y)
        for (int X = 0; X < 64; ++X) Photo.scanLine(Y)[X] = uchar(X * 3 + Y);
    QByteArray Jpeg;
    QBuffer Buffer(&Jpeg);
    ASSERT_TRUE(Buffer.open(QIODevice::WriteOnly) && Photo.save(&Buffer, "JPG"));
    // Cut in half; declaring 30000 × 24000 pixels (beyond the 2 GB of a 24-bit
    // picture) with data enough for them; text.
    const struct {
        const char* Name;
        QByteArray Bytes;
        const char* English;
        const char* Japanese;
    } Cases[] = {
        {"cut.jpg", Jpeg.left(Jpeg.size() / 2), " ends early or is damaged.", " は途中で切れているか壊れています"},
        {"huge.jpg", WithDeclaredSize(Jpeg, 30000, 24000) + QByteArray(1'500'000, '\0'), " is too large.",
         " は大きすぎて読み込めません"},
        {"notes.jpg", "no picture at all", " is not a picture this program reads.",
         " はこのプログラムで読める画像ではありません"},
    };
    for (const char* Locale : {"EN", "JP"}) {
        const QString Messages = Folder.filePath(QStringLiteral("Tam32.msg"));
        QFile::remove(Messages);
        ASSERT_TRUE(QFile::copy(ProgramFolder() + QStringLiteral("/Tam32.msg"), Messages));
        TIniFile(Messages).WriteString(QStringLiteral("LOCALE"), QStringLiteral("LOCALE"), QLatin1String(Locale));
        for (const auto& Case : Cases) {
            SCOPED_TRACE(std::string(Locale) + " " + Case.Name);
            const QString File = Folder.filePath(QLatin1String(Case.Name));
            QFile Out(File);
            ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
            Out.write(Case.Bytes);
            Out.close();
            Host.Messages.clear();
            EXPECT_TRUE(OpenAnalysisImage(File));
            const QString Reason = QString::fromUtf8(QLatin1String(Locale) == QLatin1String("EN") ? Case.English : Case.Japanese);
            EXPECT_EQ(Host.Messages, std::vector<QString>{QDir::toNativeSeparators(File) + Reason});
            EXPECT_EQ(AnalysisImage, nullptr);
        }
    }
}

TEST_F(AnalysisImageTest, AClipboardWithoutAPictureFailsAsALoadFailure) {
    EXPECT_TRUE(OpenAnalysisImage(ClipboardFileName));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
    EXPECT_EQ(AnalysisImage, nullptr);
    EXPECT_FALSE(SettingsOverridden);
}

TEST_F(AnalysisImageTest, AreaHistogramCountsTheClippedAreaAndRefusesAnEmptyOne) {
    const QString File = WriteImage(QStringLiteral("ramp.bmp"), 300, 3, [](int X, int) {
        return TRgb{uint8_t(X % 256), 7, 9};
    });
    ASSERT_FALSE(CalcAreaHistogram(File, {0, 0, 5000, 2}));
    double Total = 0;
    for (int I = 0; I < 256; ++I) Total += RGBHistogram[I];
    EXPECT_EQ(Total, 900.0);
    EXPECT_EQ(RGBHistogram[256 + 7], 900.0);
    EXPECT_EQ(RGBHistogram[512 + 9], 900.0);
    EXPECT_EQ(RGBHistogram[10], 6.0);  // columns 10 and 266
    EXPECT_EQ(AnalysisImage, nullptr);
    EXPECT_TRUE(CalcAreaHistogram(File, {400, 0, 500, 2}));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR15"));
}

TEST_F(AnalysisImageTest, AReusedDecodingIsTheFileAsDecodedAndFollowsChanges) {
    const QString Path = WriteImage(QStringLiteral("kept.bmp"), 3, 2, [](int X, int Y) { return TRgb{uint8_t(X), uint8_t(Y), 9}; });
    // Decodings are kept for the runs of a series.
    const TRunSeries Series;
    ASSERT_FALSE(OpenAnalysisImage(Path));
    AnalysisImage->GetScanLine(1)[2] = 200;  // the analysis alters its own image
    RestoreThresholdSettings();
    FreeAnalysisImage();
    ASSERT_FALSE(OpenAnalysisImage(Path));
    EXPECT_EQ(GetPixelChannel(0, 0, 1), 0);
    RestoreThresholdSettings();
    FreeAnalysisImage();
    // Rewritten at once with the same size, within one tick of the file
    // system's clock: decoded afresh.
    WriteImage(QStringLiteral("kept.bmp"), 3, 2, [](int, int) { return TRgb{77, 0, 0}; });
    ASSERT_FALSE(OpenAnalysisImage(Path));
    EXPECT_EQ(GetPixelChannel(0, 0, 1), 77);
}

TEST_F(AnalysisImageTest, WindowPixelsAreWrittenInTheWindowsPicture) {
    TBitmap Picture;
    Picture.SetPixelFormat(TPixelFormat::pf24bit);
    Picture.SetSize(4, 2);
    PutWindowPixelRGB(Picture, 30, 20, 10, 3, 1);
    EXPECT_EQ(Picture.Image().pixel(3, 1), qRgb(30, 20, 10));
    PlotPixel(Picture, 0x0000FF, 0, 0);  // $00BBGGRR: red
    EXPECT_EQ(Picture.Image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_THROW(PutWindowPixelRGB(Picture, 0, 0, 0, 4, 0), ERangeError);
    EXPECT_THROW(PlotPixel(Picture, -1, 0, 0), ERangeError);
}

}  // namespace
}  // namespace tam32::test
