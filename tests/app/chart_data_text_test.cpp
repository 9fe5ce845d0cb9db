// The chart viewer's data as text.
#include <gtest/gtest.h>

#include "app/ChartDataText.h"
#include "platform/qstring_printer.h"

using namespace tam32;

namespace {

TChartData LineProfile() {
    TChartData Chart;
    Chart.BottomAxisTitle = "Distance";
    const char* Titles[] = {"Red", "Green", "Blue"};
    for (int S = 0; S < 3; ++S) {
        Chart.Series[S].Title = Titles[S];
        Chart.Series[S].DateTimeX = false;
        for (int I = 0; I < 2; ++I) Chart.Series[S].Points.push_back({double(I), 10.0 * S + I + 0.125});
    }
    Chart.Series[3].Active = false;  // the profile frees the fourth line
    return Chart;
}

}  // namespace

TEST(ChartDataText, LineProfileRowsCarryXAndEachYWithTwoDecimals) {
    EXPECT_EQ(ChartDataText(LineProfile()),
              "Distance Red Green Blue\r\n"
              "0.00 0.13 10.13 20.13\r\n"
              "1.00 1.13 11.13 21.13\r\n");
}

TEST(ChartDataText, DateTimeSeriesWriteTheAxisFormat) {
    TChartData Chart;
    Chart.BottomAxisDateTimeFormat = "mm/dd";
    Chart.Series[0].Points = {{44000.5, 1.5}, {44001.5, 2.0}};  // 2020-06-18 and -19
    Chart.Series[1].Points = {{44000.5, 0.25}};
    Chart.Series[2].Active = Chart.Series[3].Active = false;
    EXPECT_EQ(ChartDataText(Chart),
              "時間 林冠上 測定点\r\n"
              "06/18 1.50 0.25\r\n"
              "06/19 2.00\r\n");
}

TEST(ChartDataText, OnlyTheFirstSeriesFilledGivesPairs) {
    TChartData Chart = LineProfile();
    Chart.Series[1].Points.clear();
    Chart.Series[2].Points.clear();
    EXPECT_EQ(ChartDataText(Chart), "Distance Red\r\n0.00 0.13\r\n1.00 1.13\r\n");
}

TEST(ChartDataText, RemovedSeriesLeaveNoColumn) {
    // A removed series still holding points of an earlier run adds nothing.
    TChartData Chart = LineProfile();
    Chart.Series[1].Active = false;
    EXPECT_EQ(ChartDataText(Chart), "Distance Red Blue\r\n0.00 0.13 20.13\r\n1.00 1.13 21.13\r\n");
}
