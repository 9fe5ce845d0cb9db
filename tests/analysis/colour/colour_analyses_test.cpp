// The colour analyses: a line's colour profile, the colour search from a
// picked pixel, and the colour statistics of target and background.
#include <QFile>
#include <cmath>

#include "analysis/AnalysisFixture.h"
#include "analysis/colour/ColourAnalyses.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/LensProjection.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

const QString kRosette = QStringLiteral(TAM32_SHARED_DATA_DIR "/rosette-red-square.jpg");

class ColourAnalysesTest : public AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        // The report lines with their values: DMS41..46 print their own number.
        QByteArray Lines = "[DIALOG_CODE_EN]\r\nDMS34=Line profile\r\nDMS35=found %d\r\nDMS36=classes\r\nDMS37=areas\r\n"
                           "DMS38=target %.2f\r\nDMS39=background %.2f\r\nDMS40=colours\r\n";
        for (int Code = 41; Code <= 46; ++Code)
            Lines += "DMS" + QByteArray::number(Code) + "=" + QByteArray::number(Code) + " %.2f %.2f\r\n";
        AppendMessages(Lines);
    }
    // Pixel (x, y) holds red x, green y and blue x + y.
    QString Positions(int W, int H) {
        return WriteImage(QStringLiteral("positions.bmp"), W, H, [](int X, int Y) {
            return TRgb{uint8_t(X), uint8_t(Y), uint8_t(X + Y)};
        });
    }
    TBitmap Picture;
};

// --- line profile ------------------------------------------------------------

TEST_F(ColourAnalysesTest, TheProfileSamplesEachPixelWidthFromTheStartOneBeyondTheEnd) {
    const QString File = Positions(40, 40);
    struct TCase {
        const char* Name;
        TPoint Start, End;
        std::vector<TPoint> Samples;  // the pixel of sample 0, 1, ...
    };
    const TCase Cases[] = {
        // Length 3: Round(3.5) = 4, samples 0..4.
        {"along +x", {10, 5}, {13, 5}, {{10, 5}, {11, 5}, {12, 5}, {13, 5}, {14, 5}}},
        // Length 4: Round(4.5) = 4 as well, halves going to the even number.
        {"up the screen", {5, 30}, {5, 26}, {{5, 30}, {5, 29}, {5, 28}, {5, 27}, {5, 26}}},
        // Length 2: Round(2.5) = 2; the positions are truncated toward the start.
        {"to the left", {20, 20}, {18, 20}, {{20, 20}, {19, 20}, {18, 20}}},
        // Length √8 = 2.83: Round(3.33) = 3; i·cos 45° truncates to 0, 1, 2, 2.
        {"down the screen and right", {10, 10}, {12, 12}, {{10, 10}, {10, 10}, {11, 11}, {12, 12}}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Host.Charts.clear();
        ASSERT_FALSE(ColorLineProfile(File, Case.Start, Case.End));
        ASSERT_EQ(Host.Charts.size(), 1u);
        const TChartData& Chart = Host.Charts[0];
        ASSERT_EQ(Chart.Series[0].Points.size(), Case.Samples.size());
        for (std::size_t I = 0; I < Case.Samples.size(); ++I) {
            const TPoint P = Case.Samples[I];
            const int Expected[] = {P.X, P.Y, P.X + P.Y};
            for (std::size_t C = 0; C < 3; ++C) {
                EXPECT_EQ(Chart.Series[C].Points[I].X, double(I));
                EXPECT_EQ(Chart.Series[C].Points[I].Y, Expected[C]) << "sample " << I << " channel " << C;
            }
        }
    }
    EXPECT_EQ(AnalysisImage, nullptr);
}

TEST_F(ColourAnalysesTest, AProfileRunningOffTheImageKeepsTheDistancesOfItsSamplesInside) {
    const QString File = Positions(8, 8);
    // From x = -2: length 5, Round(5.5) = 6, samples at x = -2..4, inside from i = 2.
    ASSERT_FALSE(ColorLineProfile(File, {-2, 3}, {3, 3}));
    std::vector<double> Distances, Reds;
    for (const TChartPoint& P : Host.Charts.at(0).Series[0].Points) {
        Distances.push_back(P.X);
        Reds.push_back(P.Y);
    }
    EXPECT_EQ(Distances, (std::vector<double>{2, 3, 4, 5, 6}));
    EXPECT_EQ(Reds, (std::vector<double>{0, 1, 2, 3, 4}));
}

TEST_F(ColourAnalysesTest, ALineWithoutLengthOrAnUnreadableFileChartsNothing) {
    EXPECT_TRUE(ColorLineProfile(Positions(8, 8), {3, 3}, {3, 3}));
    EXPECT_TRUE(Host.StatusTexts.empty());
    EXPECT_TRUE(ColorLineProfile(Folder.filePath(QStringLiteral("missing.bmp")), {0, 0}, {3, 3}));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
    EXPECT_TRUE(Host.Charts.empty());
    EXPECT_EQ(AnalysisImage, nullptr);
}

// --- colour search -------------------------------------------------------------

TEST_F(ColourAnalysesTest, TheSearchMarksTheMatchesRedAndShowsTheMarkedImageWhateverDrawResultsSays) {
    // Red x, green 100, blue 50 in every row.
    const QString File = WriteImage(QStringLiteral("ramp.bmp"), 256, 4, [](int X, int) { return TRgb{uint8_t(X), 100, 50}; });
    ColorSearchPercent = false;
    ColorSearchToleranceR = ColorSearchToleranceG = ColorSearchToleranceB = 10;
    ColorSearchX = 100;
    ColorSearchY = 2;
    DrawResults = false;
    ASSERT_FALSE(SearchColors(File, Picture, {0, 0, 255, 3}));
    EXPECT_EQ(ColorSearchValue1, 100);
    EXPECT_EQ(ColorSearchValue2, 100);
    EXPECT_EQ(ColorSearchValue3, 50);
    EXPECT_EQ(ColorSearchCount, 21 * 4);  // red 90..110 in four rows
    EXPECT_EQ(Host.ResultLines, std::vector<QString>{QStringLiteral("found 84")});
    ASSERT_EQ(Picture.Width(), 256);
    for (int X = 0; X <= 255; ++X) {
        const QColor Shown = Picture.Image().pixelColor(X, 1);
        EXPECT_EQ(Shown, X >= 90 && X <= 110 ? QColor(255, 0, 0) : QColor(X, 100, 50)) << X;
    }
    EXPECT_EQ(AnalysisImage, nullptr);
}

TEST_F(ColourAnalysesTest, PercentTolerancesArePercentsOfTheReferenceAndAReferenceOfZeroMatchesZeroAlone) {
    // Red x; the green and blue of the reference pixel at x = 0 are 0 and 200.
    const QString File = WriteImage(QStringLiteral("ramp.bmp"), 256, 1, [](int X, int) {
        return TRgb{uint8_t(X), uint8_t(X == 0 ? 0 : X % 2), 200};
    });
    ColorSearchPercent = true;
    ColorSearchY = 0;
    struct TCase {
        const char* Name;
        int PickX, Tolerance, Count;
    };
    const TCase Cases[] = {
        // Reference 200 at 40 %: 120..280, so 120..255; the green reference 0
        // takes the even columns alone.
        {"reference 200", 200, 40, 136 / 2},
        // Red 0: x = 0 alone, however wide the tolerance.
        {"reference 0", 0, 1000, 1},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        ColorSearchX = Case.PickX;
        ColorSearchToleranceR = ColorSearchToleranceB = Case.Tolerance;
        ColorSearchToleranceG = 100;
        ASSERT_FALSE(SearchColors(File, Picture, {0, 0, 255, 0}));
        EXPECT_EQ(ColorSearchCount, Case.Count);
    }
}

TEST_F(ColourAnalysesTest, SearchAndStatisticsCountTheAnalysisAreaAsAPixelByPixelRecount) {
    const auto Noise = [](int X, int Y) {
        const uint32_t H = uint32_t(X) * 2654435761u ^ uint32_t(Y) * 40503u;
        return TRgb{uint8_t(H >> 8), uint8_t((H >> 16) | 0x80), uint8_t(H >> 24)};
    };
    const QString File = WriteImage(QStringLiteral("noise.bmp"), 201, 201, Noise);
    struct TCase {
        const char* Name;
        bool Circle, Slope, Mask;
        double Offset;
    };
    const TCase Cases[] = {
        {"no circle", false, false, false, 0.0},
        {"circle", true, false, false, 0.0},
        {"circle centred on a corner, masked", true, false, true, 0.5},
        {"sloped and masked", true, true, true, 0.0},
    };
    const TRect Box{7, 3, 196, 180};
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        CircleSet = Case.Circle;
        CircleX = CircleY = 100;
        CircleR = 90;
        CircleCenterOffset = Case.Offset;
        LensType = 0;  // zenith 90 on the circle's edge
        SlopeCorrection = Case.Slope;
        SlopeInclination = 20.0;
        SlopeAzimuth = 30.0;
        AzimuthMaskUse = Case.Mask;
        AzimuthMaskFrom = 100.0;
        AzimuthMaskTo = 170.0;
        ColorSearchPercent = false;
        ColorSearchToleranceR = ColorSearchToleranceG = ColorSearchToleranceB = 60;
        ColorSearchX = ColorSearchY = 100;
        ASSERT_FALSE(SearchColors(File, Picture, Box));
        const int Found = ColorSearchCount;
        BinarizeTarget = 0;
        ThresholdCondition = 0;
        ThresholdMethod = 2;
        FixedThreshold = 128;
        ASSERT_FALSE(SepColorAnalysis(File, Picture, Box));

        // Both take the circle as drawn: (CircleR + CircleCenterOffset)².
        HorizonRadius2 = std::pow(CircleR + CircleCenterOffset, 2);
        const TRgb Ref = Noise(100, 100);
        int Matches = 0, Targets = 0, Others = 0;
        for (int Y = Box.Top; Y <= Box.Bottom; ++Y)
            for (int X = Box.Left; X <= Box.Right; ++X) {
                if (!InAnalysisArea(X, Y)) continue;
                const TRgb C = Noise(X, Y);
                Matches += std::abs(C.R - Ref.R) <= 60 && std::abs(C.G - Ref.G) <= 60 && std::abs(C.B - Ref.B) <= 60;
                ++(C.R >= 128 ? Targets : Others);
            }
        EXPECT_EQ(Found, Matches);
        EXPECT_EQ(TargetPixelCount, Targets);
        EXPECT_EQ(NonTargetPixelCount, Others);
        EXPECT_GT(Others, 1000);
    }
}

TEST_F(ColourAnalysesTest, TheSearchFindsTheRedSquareOfThePhotograph) {
    if (!QFile::exists(kRosette)) GTEST_SKIP() << "shared photographs not present: " << kRosette.toStdString();
    const TPlugins Plugins;
    ColorSearchPercent = false;
    ColorSearchToleranceR = ColorSearchToleranceG = ColorSearchToleranceB = 40;
    ColorSearchX = 700;
    ColorSearchY = 1000;
    ASSERT_FALSE(SearchColors(kRosette, Picture, {0, 0, 2591, 1935}));
    // OpenCV's decoding gives 100,443 matches.
    EXPECT_NEAR(ColorSearchCount, 100443, 1004);
    const int Whole = ColorSearchCount;
    // The square's box holds every one of them.
    ASSERT_FALSE(SearchColors(kRosette, Picture, {579, 854, 940, 1211}));
    EXPECT_EQ(ColorSearchCount, Whole);
}

// --- colour statistics by class ---------------------------------------------

TEST_F(ColourAnalysesTest, ClassesArePaintedWhiteAndBlackInsideTheAreaAndReportedInSquareMillimetres) {
    // Red 200 in columns 0..3, the rest red 10; blue and green vary by row.
    const QString File = WriteImage(QStringLiteral("split.bmp"), 10, 6, [](int X, int Y) {
        return TRgb{uint8_t(X < 4 ? 200 : 10), uint8_t(Y * 10), uint8_t(Y)};
    });
    Picture.SetImage(QImage(File).convertToFormat(QImage::Format_BGR888));
    BinarizeTarget = 0;
    ThresholdCondition = 0;
    ThresholdMethod = 2;
    FixedThreshold = 100;
    ImageDPI = 25.4;  // 1 mm per pixel
    ASSERT_FALSE(SepColorAnalysis(File, Picture, {1, 1, 7, 4}));
    EXPECT_EQ(TargetPixelCount, 12);
    EXPECT_EQ(NonTargetPixelCount, 16);
    EXPECT_EQ(Host.ResultLines, (std::vector<QString>{
                                    "classes", "areas", "target 12.00", "background 16.00", "colours",
                                    "41 200.00 0.00", "42 25.00 11.18", "43 2.50 1.12",  //
                                    "44 10.00 0.00", "45 25.00 11.18", "46 2.50 1.12"}));
    for (int Y = 0; Y < 6; ++Y)
        for (int X = 0; X < 10; ++X) {
            const bool Inside = X >= 1 && X <= 7 && Y >= 1 && Y <= 4;
            const QColor Expected = !Inside ? QColor(X < 4 ? 200 : 10, Y * 10, Y) : X < 4 ? QColor(Qt::white) : QColor(Qt::black);
            EXPECT_EQ(Picture.Image().pixelColor(X, Y), Expected) << X << "," << Y;
        }
    EXPECT_EQ(Host.StatusTexts.front(), QStringLiteral("1 Line Finished!"));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("MSG10"));
    EXPECT_EQ(FixedThreshold, 100);
}

TEST_F(ColourAnalysesTest, AOnePixelClassHasNoDeviationAndAnEmptyClassNoColourLines) {
    const QString File = WriteImage(QStringLiteral("dot.bmp"), 5, 5, [](int X, int Y) {
        return X == 2 && Y == 2 ? TRgb{250, 40, 7} : TRgb{20, 30, 40};
    });
    BinarizeTarget = 0;
    ThresholdCondition = 0;
    ThresholdMethod = 2;
    FixedThreshold = 200;
    DrawResults = false;
    ASSERT_FALSE(SepColorAnalysis(File, Picture, {0, 0, 4, 4}));
    EXPECT_EQ(Host.ResultLines.at(5), QStringLiteral("41 250.00 0.00"));
    for (int C = 0; C < 3; ++C) EXPECT_EQ(SepColorSums[1][std::size_t(C)], 0.0);
    EXPECT_EQ(SepColorSums[0][0], 250.0);

    Host.ResultLines.clear();
    ASSERT_FALSE(SepColorAnalysis(File, Picture, {0, 0, 1, 4}));
    EXPECT_EQ(Host.ResultLines.size(), 5u + 3u);
    EXPECT_EQ(Host.ResultLines[2], QStringLiteral("target 0.00"));
    EXPECT_EQ(Host.ResultLines[5], QStringLiteral("44 20.00 0.00"));
    for (int Row = 0; Row < 2; ++Row)
        for (int C = 0; C < 3; ++C) EXPECT_EQ(SepColorSums[std::size_t(Row)][std::size_t(C)], 0.0);
}

TEST_F(ColourAnalysesTest, RepeatedRunsCountTheTargetHistogramAfresh) {
    const QString File = WriteImage(QStringLiteral("dot.bmp"), 5, 5, [](int X, int) {
        return X < 2 ? TRgb{100, 150, 200} : TRgb{0, 0, 0};
    });
    BinarizeTarget = 4;
    ColorSearchPercent = false;
    ColorSearchValue1 = 100;
    ColorSearchValue2 = 150;
    ColorSearchValue3 = 200;
    DrawResults = false;
    for (int Run = 1; Run <= 2; ++Run) {
        SCOPED_TRACE(Run);
        ASSERT_FALSE(SepColorAnalysis(File, Picture, {0, 0, 4, 4}));
        EXPECT_EQ(TargetRGBHistogram[100], 10.0);
        EXPECT_EQ(TargetRGBHistogram[256 + 150], 10.0);
        EXPECT_EQ(TargetRGBHistogram[512 + 200], 10.0);
        EXPECT_EQ(TargetRGBHistogram[0], 0.0);
    }
}

TEST_F(ColourAnalysesTest, StatisticsRefuseAResolutionWithoutSenseAndAnUnusableClassification) {
    const QString File = WriteImage(QStringLiteral("grey.bmp"), 5, 5, [](int, int) { return TRgb{9, 9, 9}; });
    DrawResults = false;
    ImageDPI = 0.0;
    EXPECT_TRUE(SepColorAnalysis(File, Picture, {0, 0, 4, 4}));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR22"));
    ImageDPI = 100.0;
    // An area outside the image holds no pixel to find a threshold in.
    BinarizeTarget = 1;
    ThresholdMethod = 0;
    EXPECT_TRUE(SepColorAnalysis(File, Picture, {10, 10, 20, 20}));
    EXPECT_TRUE(SepColorAnalysis(Folder.filePath(QStringLiteral("missing.bmp")), Picture, {0, 0, 4, 4}));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
    EXPECT_TRUE(Host.ResultLines.empty());
    EXPECT_EQ(BinarizeTarget, 1);
    EXPECT_EQ(AnalysisImage, nullptr);
}

// A 12 MP image whose target class, a white disc of 4,219,945 pixels, has
// (Σv)² far beyond 2^53: the deviation from double sums is the root of a
// negative number there. The reference values are numpy's mean and
// std(ddof=0) of each class and channel of the same image (float64).
TEST_F(ColourAnalysesTest, ClassStatisticsOfAMegapixelImageEqualNumpys) {
    uint32_t State = 2024;
    const QString File = WriteImage(QStringLiteral("disc.bmp"), 4000, 3000, [&State](int X, int Y) {
        uint8_t V[3];
        for (uint8_t& Channel : V) {
            State = State * 1103515245u + 12345u;
            Channel = uint8_t((State >> 16) % 255);
        }
        const int64_t Dx = X - 2000, Dy = Y - 1500;
        return Dx * Dx + Dy * Dy <= 1159 * 1159 ? TRgb{255, 255, 255} : TRgb{V[0], V[1], V[2]};
    });
    BinarizeTarget = 5;
    ThresholdCondition = 0;
    ThresholdMethod = 2;
    SetRGBThresholds(255, 255, 255);
    DrawResults = false;
    ASSERT_FALSE(SepColorAnalysis(File, Picture, {0, 0, 3999, 2999}));
    EXPECT_EQ(TargetPixelCount, 4219945);
    EXPECT_EQ(NonTargetPixelCount, 7780055);
    const double Expected[4][3] = {{255.0, 255.0, 255.0},
                                   {0.0, 0.0, 0.0},
                                   {127.01004478760112, 126.96736359832931, 126.99542445394023},
                                   {73.62318757894545, 73.61525161195841, 73.6144832163821}};
    for (std::size_t Row = 0; Row < 4; ++Row)
        for (std::size_t C = 0; C < 3; ++C) EXPECT_NEAR(SepColorSums[Row][C], Expected[Row][C], 1e-9) << Row << "," << C;
    EXPECT_EQ(Host.ResultLines.at(5), QStringLiteral("41 255.00 0.00"));
}

}  // namespace
}  // namespace tam32::test
