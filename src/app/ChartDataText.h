#pragma once
// The chart viewer's data as text for the clipboard: a header of the bottom
// axis title and the series titles, then one line per point of the first
// series with its X (a date in the axis's format for date-time series) and
// the Y of each series at the same position. Lines end in CR LF.
#include <QString>

#include "analysis/core/ChartData.h"

namespace tam32 {

// Series that were removed or never filled are left out, so that every
// column belongs to a line on the chart.
QString ChartDataText(const TChartData& Chart);

}  // namespace tam32
