// Whole PAR runs on synthetic photographs: the site factors, the totals of
// the periods, the chart, the settings it leaves, and the defined results
// for days and pixels that do not exist.
#include "analysis/PARFixture.h"

#include <numeric>

#include "analysis/canopy/GapFraction.h"
#include "analysis/core/CalendarDays.h"

namespace tam32::test {
namespace {

using PAREstimateTest = PARFixture;

double SumOf(const TChartSeries& Series) {
    return std::accumulate(Series.Points.begin(), Series.Points.end(), 0.0,
                           [](double Sum, const TChartPoint& P) { return Sum + P.Y; });
}

TEST_F(PAREstimateTest, GapDiscAboveFortyFiveDegreesGivesTheSkyModelsIndirectFactors) {
    const QString File = Sky(49.999);
    DifModel = 1;
    QStringList Lines = Run(File);
    ASSERT_EQ(Lines.size(), 8);
    EXPECT_EQ(Lines[6], QStringLiteral("ISF    0.500"));
    DifModel = 0;
    Lines = Run(File);
    EXPECT_EQ(Lines[6], QStringLiteral("ISF    0.584"));
}

TEST_F(PAREstimateTest, TheGapImageShowsTheSunsPathThroughTheGapsInBlue) {
    const QString File = Sky(60.0);
    DrawResults = true;
    ASSERT_FALSE(GapFractionAnalysis(File, Picture, TRect{0, 0, kSize - 1, kSize - 1}));
    const QImage Gaps = Picture.Image();
    Run(File);
    const QImage Drawn = Picture.Image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(Drawn.size(), Gaps.size());
    int Blue = 0;
    for (int Y = 0; Y < kSize; ++Y)
        for (int X = 0; X < kSize; ++X) {
            if (Drawn.pixel(X, Y) == qRgb(0, 0, 255))
                ++Blue;
            else
                EXPECT_EQ(Drawn.pixel(X, Y), Gaps.pixel(X, Y)) << X << "," << Y;
        }
    EXPECT_GT(Blue, 20);
    // The pen is left where the path ended.
    const TPoint End = Picture.Canvas().PenPos();
    EXPECT_EQ(Drawn.pixel(End.X, End.Y), qRgb(255, 255, 255));
}

TEST_F(PAREstimateTest, OpenSkyLetsEverythingThroughAndClosedCanopyNoDirectLight) {
    QStringList Lines = Run(Sky(200.0));
    ASSERT_EQ(Lines.size(), 8);
    EXPECT_EQ(Lines[0], QStringLiteral("ERROR"));  // headings: not in this message file
    const auto [DirOpen, DirUnder] = Pair(Lines[2]);
    EXPECT_GT(DirOpen, 1.0);
    EXPECT_EQ(DirUnder, DirOpen);
    const auto [DifOpen, DifUnder] = Pair(Lines[3]);
    EXPECT_EQ(DifUnder, DifOpen);
    EXPECT_NEAR(Pair(Lines[4]).first, DirOpen + DifOpen, 2e-3);
    EXPECT_EQ(Lines[5], QStringLiteral("DFS    1.000"));
    EXPECT_EQ(Lines[7], QStringLiteral("TSF    1.000"));
    ASSERT_EQ(Host.Charts.size(), 1u);
    const TChartData& Chart = Host.Charts[0];
    EXPECT_EQ(Chart.Caption, QStringLiteral("Day"));
    EXPECT_EQ(Chart.BottomAxisDateTimeFormat, QStringLiteral("hh:nn"));
    EXPECT_FALSE(Chart.Series[2].Active);
    EXPECT_FALSE(Chart.Series[3].Active);
    ASSERT_EQ(Chart.Series[0].Points.size(), 288u);  // every five minutes
    for (size_t I = 0; I < 288; ++I) EXPECT_DOUBLE_EQ(Chart.Series[1].Points[I].Y, Chart.Series[0].Points[I].Y);
    EXPECT_EQ(SeriesLineColor(Chart.Series[0]), TColor(0x0000FF));
    EXPECT_EQ(SeriesLineColor(Chart.Series[1]), TColor(0xFF0000));

    Lines = Run(WriteImage(QStringLiteral("canopy.bmp"), kSize, kSize, [](int, int) { return TRgb{}; }));
    EXPECT_EQ(Pair(Lines[2]).second, 0.0);
    EXPECT_EQ(Pair(Lines[3]).second, 0.0);
    EXPECT_EQ(Lines[5], QStringLiteral("DFS    0.000"));
    EXPECT_EQ(Lines[6], QStringLiteral("ISF    0.000"));
}

TEST_F(PAREstimateTest, PeriodsAddUp) {
    const QString File = Sky(60.0);
    TargetYear = 2023;
    PARPeriod = 3;
    const QStringList Year = Run(File);
    const TChartData YearChart = Host.Charts.at(0);
    ASSERT_EQ(YearChart.Series[0].Points.size(), 365u);
    EXPECT_EQ(YearChart.Caption, QStringLiteral("Year"));
    EXPECT_NEAR(SumOf(YearChart.Series[0]), Pair(Year[4]).first, 1e-3);
    EXPECT_NEAR(SumOf(YearChart.Series[1]), Pair(Year[4]).second, 1e-3);
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("MSG10"));

    // A year is the sum of its months, day by day.
    double Months = 0.0;
    for (int Month = 1; Month <= 12; ++Month) {
        PARPeriod = 1;
        TargetMonth = uint16_t(Month);
        const QStringList Lines = Run(File);
        const std::vector<TChartPoint>& Days = Host.Charts.at(0).Series[1].Points;
        ASSERT_EQ(int(Days.size()), DaysInMonth(2023, Month));
        EXPECT_DOUBLE_EQ(Days.front().X, DateValue(2023, Month, 1));
        Months += SumOf(Host.Charts.at(0).Series[1]);
    }
    EXPECT_NEAR(Months, SumOf(YearChart.Series[1]), 1e-9 * Months);

    PARPeriod = 4;
    EXPECT_NEAR(Pair(Run(File)[4]).second, Pair(Year[4]).second / 365.0, 1e-3);
    PARPeriod = 2;
    TargetMonth = 2;
    const double FebruaryMean = Pair(Run(File)[4]).second;
    PARPeriod = 1;
    EXPECT_NEAR(Pair(Run(File)[4]).second / 28.0, FebruaryMean, 1e-3);
}

TEST_F(PAREstimateTest, SetDatesSkipDaysThatDoNotExist) {
    const QString File = Sky(60.0);
    TargetYear = 2024;
    PARPeriod = 6;
    PARStartMonth = 4;
    PARStartDay = 1;
    PAREndMonth = 4;
    PAREndDay = 31;
    const QStringList Dates = Run(File);
    ASSERT_EQ(Host.Charts.at(0).Series[0].Points.size(), 30u);
    EXPECT_EQ(Host.Charts.at(0).Caption, QStringLiteral("Dates"));
    PARPeriod = 1;
    TargetMonth = 4;
    EXPECT_EQ(Run(File)[4], Dates[4]);

    // The end of February is its last day in the target year.
    PARPeriod = 6;
    PARStartMonth = PAREndMonth = 2;
    PARStartDay = 20;
    PAREndDay = 31;
    Run(File);
    EXPECT_EQ(PAREndDay, 29);
    EXPECT_EQ(Host.Charts.at(0).Series[0].Points.size(), 10u);
    TargetYear = 2023;
    Run(File);
    EXPECT_EQ(PAREndDay, 28);
}

TEST_F(PAREstimateTest, TargetDayAndSetTimes) {
    const QString File = Sky(60.0);
    TargetYear = 2023;
    TargetMonth = 2;
    TargetDay = 29;
    const QString Feb28 = Run(File)[4];
    EXPECT_EQ(TargetDay, 28);
    EXPECT_GT(Pair(Feb28).first, 0.0);
    EXPECT_EQ(PAREndHour, 23);
    EXPECT_EQ(PAREndMinute, 59);

    PARPeriod = 5;
    PARStartHour = PAREndHour = 6;
    PARStartMinute = 30;
    PAREndMinute = 45;
    Run(File);
    const TChartData& Chart = Host.Charts.at(0);
    EXPECT_EQ(Chart.Caption, QStringLiteral("Times"));
    ASSERT_EQ(Chart.Series[0].Points.size(), 16u);
    EXPECT_DOUBLE_EQ(Chart.Series[0].Points.front().X, TimeValue(6, 30));
    EXPECT_DOUBLE_EQ(Chart.Series[0].Points.back().X, TimeValue(6, 45));
    EXPECT_EQ(PARStartMinute, 30);

    // A day that does not exist sums nothing.
    PARPeriod = 0;
    TargetMonth = 4;
    TargetDay = 31;
    const QStringList Lines = Run(File);
    EXPECT_EQ(Pair(Lines[4]).first, 0.0);
    EXPECT_TRUE(Host.Charts.at(0).Series[0].Points.empty());
}

TEST_F(PAREstimateTest, PolarNightHasNoSiteFactors) {
    LatitudeH = 80;
    LatitudeM = LatitudeS = 0;
    TargetMonth = 12;
    TargetDay = 21;
    const QStringList Lines = Run(Sky(200.0));
    EXPECT_EQ(Pair(Lines[4]), std::make_pair(0.0, 0.0));
    EXPECT_EQ(Lines[5], QStringLiteral("DFS      ---"));
    EXPECT_EQ(Lines[6], QStringLiteral("ISF      ---"));
    EXPECT_EQ(Lines[7], QStringLiteral("TSF      ---"));
    for (const TChartPoint& P : Host.Charts.at(0).Series[0].Points) EXPECT_EQ(P.Y, 0.0);
}

TEST_F(PAREstimateTest, SunBeyondTheCutCircleIsNotAGap) {
    // The picture keeps only the circle's upper part; the sky is open, so
    // only the sun's positions below the frame are lost.
    NorthForAnalysis = 90.0;  // north up: the equinox sun of Tokyo rises on the frame and sets below it
    TargetMonth = 3;
    TargetDay = 20;
    const QStringList Lines = Run(Sky(200.0, 120));
    const auto [Open, Under] = Pair(Lines[2]);
    EXPECT_GT(Under, 0.0);
    EXPECT_LT(Under, Open);
}

TEST_F(PAREstimateTest, AnAreaWithoutPixelsReportsNothing) {
    BinarizeTarget = 5;  // fixed RGB thresholds need no histogram
    EXPECT_TRUE(PAREstimate(Sky(60.0), Picture, TRect{0, 0, 20, 20}));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR31"));
    EXPECT_TRUE(Host.ResultLines.empty());
    EXPECT_TRUE(Host.Charts.empty());
    EXPECT_EQ(AnalysisImage, nullptr);
}

TEST_F(PAREstimateTest, SettingsComeBackAndTheImageIsFreed) {
    AzimuthMaskUse = true;
    SlopeCorrection = true;
    const QString File = Sky(60.0);
    Run(File);
    EXPECT_TRUE(AzimuthMaskUse);
    EXPECT_TRUE(SlopeCorrection);
    EXPECT_FALSE(KeepAnalysisImage);
    EXPECT_EQ(AnalysisImage, nullptr);
    EXPECT_EQ(ThresholdMethod, 2);

    CircleSet = false;
    Host.ResultLines.clear();
    EXPECT_TRUE(PAREstimate(File, Picture, TRect{0, 0, kSize - 1, kSize - 1}));
    EXPECT_TRUE(Host.ResultLines.empty());
    EXPECT_TRUE(AzimuthMaskUse);
    EXPECT_FALSE(KeepAnalysisImage);
    EXPECT_EQ(AnalysisImage, nullptr);
}

}  // namespace
}  // namespace tam32::test
