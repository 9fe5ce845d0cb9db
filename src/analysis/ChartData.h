#pragma once
// What an analysis puts into the modal chart viewer: its caption, axis
// titles and up to four series of points. A fresh value carries the viewer's
// own design-time texts; each analysis replaces what it needs.
#include <QString>
#include <array>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

struct TChartPoint {
    double X = 0;  // a date-time (days since 1899-12-30, time as the fraction) when the series says so
    double Y = 0;
    TColor Color = clBlack;
};

struct TChartSeries {
    bool Active = true;  // false: the analysis removed the series from the chart
    QString Title;
    bool DateTimeX = false;
    std::vector<TChartPoint> Points;  // in ascending X
};

struct TChartData {
    QString Caption = QStringLiteral("ラインプロファイル");
    QString BottomAxisTitle = QStringLiteral("時間");
    QString BottomAxisDateTimeFormat = QStringLiteral("dd/mm/yy");
    QString LeftAxisTitle = QStringLiteral("PPFD(mol/m^2)");
    // Red, green, blue and black lines, in this order.
    std::array<TChartSeries, 4> Series = {TChartSeries{true, QStringLiteral("林冠上"), true, {}},
                                          TChartSeries{true, QStringLiteral("測定点"), true, {}},
                                          TChartSeries{}, TChartSeries{}};
};

}  // namespace tam32
