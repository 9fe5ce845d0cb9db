#include <QLocale>
#include <cstdio>

#include "ProbePrinting.h"

namespace tam32::probe {

void PrintLine(const QString& Line) {
    std::printf("%s\n", Line.toUtf8().constData());
    std::fflush(stdout);
}

QString GridLine(TResultGrid Grid, int Col, int Row, const QString& Text) {
    const char* name = Grid == TResultGrid::Classification ? "Classification" : "GapEstimate";
    return QStringLiteral("GRID %1 %2 %3: %4").arg(QLatin1String(name)).arg(Row).arg(Col).arg(Text);
}

QStringList ChartLines(const TChartData& Chart) {
    const auto number = [](double Value) { return QLocale::c().toString(Value, 'f', QLocale::FloatingPointShortest); };
    QStringList lines{QStringLiteral("CHART: ") + Chart.Caption, QStringLiteral("AXIS bottom: ") + Chart.BottomAxisTitle,
                      QStringLiteral("AXIS left: ") + Chart.LeftAxisTitle};
    for (const TChartSeries& series : Chart.Series) {
        if (!series.Active || series.Points.empty()) continue;
        QStringList points;
        for (const TChartPoint& point : series.Points) points << number(point.X) + QLatin1Char(',') + number(point.Y);
        lines << QStringLiteral("SERIES %1: %2").arg(series.Title, points.join(QLatin1Char(' ')));
    }
    return lines;
}

}  // namespace tam32::probe
