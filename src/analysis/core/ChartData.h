#pragma once
// What an analysis puts into the modal chart viewer: its caption, axis
// titles and up to four line series. A fresh value carries the viewer's own
// design-time texts; each analysis replaces what it needs.
#include <QString>
#include <array>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

struct TChartPoint {
    double X = 0;  // a date-time (days since 1899-12-30, time as the fraction) when the series says so
    double Y = 0;
    // A line is drawn in the colour of its points; the first point's counts
    // for the whole line.
    TColor Color = clBlack;
};

struct TChartSeries {
    bool Active = true;  // false: the analysis removed the series from the chart
    QString Title;
    bool DateTimeX = false;
    std::vector<TChartPoint> Points;  // in ascending X
    TColor Color = clBlack;           // the line's colour until points give their own
};

struct TChartData {
    QString Caption = QStringLiteral("ラインプロファイル");
    QString BottomAxisTitle = QStringLiteral("時間");
    // Date-time labels of the bottom axis, in the original's notation ("mm"
    // is the month unless it follows an hour).
    QString BottomAxisDateTimeFormat = QStringLiteral("dd/mm/yy");
    QString LeftAxisTitle = QStringLiteral("PPFD(mol/m^2)");
    // Red, green, blue and black lines, in this order.
    std::array<TChartSeries, 4> Series = {TChartSeries{true, QStringLiteral("林冠上"), true, {}, 0x0000FF},
                                          TChartSeries{true, QStringLiteral("測定点"), true, {}, 0x008000},
                                          TChartSeries{true, {}, false, {}, 0xFF0000},
                                          TChartSeries{true, {}, false, {}, clBlack}};
};

// The colour a series is drawn in.
inline TColor SeriesLineColor(const TChartSeries& Series) {
    return Series.Points.empty() ? Series.Color : Series.Points.front().Color;
}

}  // namespace tam32
