#pragma once
// The lines by which the probe commands report what the engine shows.
#include <QString>
#include <QStringList>

#include "analysis/ChartData.h"
#include "analysis/EngineHost.h"

namespace tam32::probe {

// Writes Line and a line feed to standard output at once.
void PrintLine(const QString& Line);
// "GRID Classification row col: text" (or GapEstimate).
QString GridLine(TResultGrid Grid, int Col, int Row, const QString& Text);
// "CHART: caption", "AXIS bottom: title", "AXIS left: title", then for each
// series in use "SERIES title: x,y x,y ..." (points in order, C-locale numbers).
QStringList ChartLines(const TChartData& Chart);

}  // namespace tam32::probe
