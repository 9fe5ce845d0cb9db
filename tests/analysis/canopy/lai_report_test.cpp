// The full leaf area index report: its exact lines, its chart and its texts
// for closed, open and partly sampled canopies.
#include <gtest/gtest.h>

#include "LAIReportFixture.h"
#include "SyntheticCanopy.h"
#include "analysis/canopy/LAIReports.h"

using namespace tam32;
using test::LAIReportTest;

namespace {

// Bands 0..29 let through (25 + b) of (100 + b) pixels, the others nothing.
void HalfOpenProfile() {
    for (int Band = 0; Band < 90; ++Band) test::SetBandCounts(Band, 100 + Band, Band < 30 ? 25 + Band : 0);
    SkyFactor = 12.5;
}

bool HasBadNumber(const std::vector<QString>& Lines) {
    for (const QString& L : Lines)
        if (L.contains(QStringLiteral("nan"), Qt::CaseInsensitive) || L.contains(QStringLiteral("inf")) ||
            L.contains(QStringLiteral("-0.000")))
            return true;
    return false;
}

}  // namespace

TEST_F(LAIReportTest, GoldenLinesForFixedCounts) {
    HalfOpenProfile();
    ShowLAIResults("/photos/a01.bmp");
    const std::vector<QString> Expected = {
        "Estimated by Openness using Intermeans",
        "Cover in all area(%)      :   95.049",
        "Cover within N&C area(%)  :   93.320",
        "Sky Factor in all area(%) :   12.500",
        "Rings",
        "  7( 0 - 14)           1605          480         0.299",
        " 22(15 - 29)           1830          705         0.385",
        " 38(30 - 44)           2055            0         0.000(not use)",
        " 52(45 - 59)           2280            0         0.000(not use)",
        " 68(60 - 74)           2505            0         0.000(not use)",
        "LAI(PCA):   0.264",
        "Calcurated based on rings:",
        "LAI(N&C):   1.091",
        "     V/H:  19.995",
        "     MLA:   9.004",
        "Calcurated based on degrees:",
        "LAI(N&C):   1.097",
        "     V/H:  19.995",
        "     MLA:   9.004",
        "対象天頂角,総ﾋﾟｸｾﾙ数,葉間隙ﾋﾟｸｾﾙ数,開空度,R%,G%,B%",
        " 0～ 1:      100,      25,   0.250,  25.000,  25.000,  25.000",
        " 1～ 2:      101,      26,   0.257,  25.743,  25.743,  25.743",
    };
    ASSERT_GE(Host.ResultLines.size(), Expected.size());
    for (size_t I = 0; I < Expected.size(); ++I) EXPECT_EQ(Host.ResultLines[I], Expected[I]) << "line " << I;
    ASSERT_EQ(Host.ResultLines.size(), Expected.size() - 2 + 90);
    EXPECT_EQ(Host.ResultLines[Expected.size() - 2 + 29], "29～30:      129,      54,   0.419,  41.860,  41.860,  41.860");
    EXPECT_EQ(Host.ResultLines.back(), "89～90:      189,       0,   0.000（除外）,   0.000,   0.000,   0.000");
}

TEST_F(LAIReportTest, TheTableByZenithAngleIsInTheLanguageOfTheCaptionFile) {
    QFile Menu(FDir.filePath("menu.msg"));
    ASSERT_TRUE(Menu.open(QIODevice::WriteOnly));
    Menu.write("[LOCALE]\r\nLOCALE=EN\r\n[INFODLG_EN]\r\n11=Zenith,Pixels\r\n12=(out %d)\r\n13=-\r\n");
    Menu.close();
    HalfOpenProfile();
    ShowLAIResults("a01.bmp");
    EXPECT_EQ(LinesFrom("Zenith,Pixels", 1).size(), 1u);
    // The mark is a text, not a format.
    EXPECT_EQ(Host.ResultLines.back(), "89-90:      189,       0,   0.000(out %d),   0.000,   0.000,   0.000");
}

TEST_F(LAIReportTest, ChartShowsChannelsAndGapFractionPerBand) {
    HalfOpenProfile();
    ShowLAIResults("a01.bmp");
    ASSERT_EQ(Host.Charts.size(), 1u);
    const TChartData& Chart = Host.Charts[0];
    EXPECT_EQ(Chart.Caption, "Gap chart");
    EXPECT_EQ(Chart.BottomAxisTitle, "Zenith");
    EXPECT_EQ(Chart.LeftAxisTitle, "Gap fraction");
    const char* Titles[] = {"Red", "Green", "Blue", "Gap fraction"};
    const TColor Colors[] = {0x0000FF, 0x008000, 0xFF0000, clBlack};
    for (int S = 0; S < 4; ++S) {
        const TChartSeries& Series = Chart.Series[S];
        EXPECT_EQ(Series.Title, Titles[S]);
        EXPECT_FALSE(Series.DateTimeX);
        ASSERT_EQ(Series.Points.size(), 90u);
        EXPECT_EQ(Series.Points[10].X, 10.0);
        EXPECT_DOUBLE_EQ(Series.Points[10].Y, 35.0 / 110.0);
        EXPECT_EQ(SeriesLineColor(Series), Colors[S]);
    }
}

TEST_F(LAIReportTest, ClosedCanopyReadsFullCoverAndNoIndex) {
    for (int Band = 0; Band < 90; ++Band) test::SetBandCounts(Band, 50, 0);
    ShowLAIResults("closed.bmp");
    EXPECT_EQ(Host.ResultLines[1], "Cover in all area(%)      :  100.000");
    EXPECT_EQ(Host.ResultLines[2], "Cover within N&C area(%)  :  100.000");
    EXPECT_EQ(LinesFrom("LAI(PCA):   0.000", 3),
              (std::vector<QString>{"LAI(PCA):   0.000", "Calcurated based on rings:", "Calcurated based on degrees:"}));
    EXPECT_EQ(std::count_if(Host.ResultLines.begin(), Host.ResultLines.end(),
                            [](const QString& L) { return L.endsWith("(not use)"); }),
              5);
}

TEST_F(LAIReportTest, OpenSkyReadsZeroWithoutSign) {
    for (int Band = 0; Band < 90; ++Band) test::SetBandCounts(Band, 50, 50);
    ShowLAIResults("open.bmp");
    EXPECT_EQ(Host.ResultLines[1], "Cover in all area(%)      :    0.000");
    EXPECT_FALSE(LinesFrom("LAI(PCA):   0.000", 1).empty());
    EXPECT_EQ(LinesFrom("Calcurated based on rings:", 2)[1], "LAI(N&C):   0.000");
    EXPECT_EQ(LinesFrom("Calcurated based on degrees:", 2)[1], "LAI(N&C):   0.000");
    EXPECT_FALSE(HasBadNumber(Host.ResultLines));
}

TEST_F(LAIReportTest, BandsAndRingsWithoutPixelsAreSkipped) {
    // A small circle: the bands near the zenith hold no pixel at all.
    test::MakeSyntheticCanopy(2.0, 1.0);
    for (int Band = 0; Band < 20; ++Band) {
        RingCounts[0][Band / 15] -= ZenithCounts[0][Band];
        RingCounts[1][Band / 15] -= ZenithCounts[1][Band];
        for (int C = 0; C < 3; ++C) RingColorSums[C][Band / 15] -= ZenithColorSums[C][Band];
        test::SetBandCounts(Band, 0, 0);
    }
    RingCounts[0][0] = RingCounts[1][0] = 0;
    for (int C = 0; C < 3; ++C) RingColorSums[C][0] = 0;
    ShowLAIResults("small.bmp");
    EXPECT_FALSE(HasBadNumber(Host.ResultLines));
    EXPECT_EQ(Host.ResultLines[5], "  7( 0 - 14)              0            0         0.000(not use)");
    EXPECT_EQ(LinesFrom("対象天頂角,総ﾋﾟｸｾﾙ数,葉間隙ﾋﾟｸｾﾙ数,開空度,R%,G%,B%", 2).at(1),
              " 0～ 1:        0,       0,   0.000（除外）,   0.000,   0.000,   0.000");
    EXPECT_EQ(Host.Charts.at(0).Series[3].Points.size(), 70u);
    EXPECT_EQ(Host.Charts.at(0).Series[3].Points.front().X, 20.0);
    // The fits stand on the sampled bands only and still find the canopy.
    const auto Degrees = LinesFrom("Calcurated based on degrees:", 3);
    ASSERT_EQ(Degrees.size(), 3u);
    EXPECT_EQ(Degrees[1].left(9), "LAI(N&C):");
    EXPECT_NEAR(Degrees[1].mid(9).toDouble(), 2.0, 0.02);
    EXPECT_NEAR(Degrees[2].mid(9).toDouble(), 1.0, 0.02);
}

TEST_F(LAIReportTest, RingUseLeavesRingsOutOfTheRingFit) {
    test::MakeSyntheticCanopy(3.0, 1.0);
    ShowLAINC();
    const QString AllRings = LinesFrom("Calcurated based on rings:", 2).at(1);
    Host.ResultLines.clear();
    RingUse[4] = false;
    ShowLAINC();
    const QString FourRings = LinesFrom("Calcurated based on rings:", 2).at(1);
    EXPECT_NE(AllRings, FourRings);
    // The last ring is where the ring mean hides the most foliage.
    EXPECT_GT(FourRings.mid(9).toDouble(), AllRings.mid(9).toDouble());
}

TEST_F(LAIReportTest, ChannelTypesNameTheirRatio) {
    test::MakeSyntheticCanopy(1.0, 1.0);
    NCType = 1;
    ShowLAIResults("a.bmp");
    EXPECT_EQ(Host.ResultLines[0], "Estimated by Transmitance using Green DN Ratio");
    // The synthetic channel means equal the gap share, so the index matches binarisation.
    const QString ByGreen = LinesFrom("Calcurated based on degrees:", 2).at(1);
    EXPECT_NEAR(ByGreen.mid(9).toDouble(), 1.0, 0.02);
}
