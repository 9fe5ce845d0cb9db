#include "app/ChartDataText.h"

#include "platform/DelphiDateTime.h"
#include "platform/DelphiFormat.h"

namespace tam32 {

namespace {

bool Shown(const TChartSeries& Series) { return Series.Active && !Series.Points.empty(); }

}  // namespace

QString ChartDataText(const TChartData& Chart) {
    const QString CrLf = QStringLiteral("\r\n");
    QString Text = Chart.BottomAxisTitle;
    for (const TChartSeries& Series : Chart.Series)
        if (Shown(Series)) Text += QLatin1Char(' ') + Series.Title;
    Text += CrLf;

    const TChartSeries& First = Chart.Series[0];
    if (!Shown(First)) return Text;
    for (size_t I = 0; I < First.Points.size(); ++I) {
        const TChartPoint& P = First.Points[I];
        if (First.DateTimeX)
            Text += FormatDateTime(Chart.BottomAxisDateTimeFormat, P.X) + Format(" %f", {P.Y});
        else
            Text += Format("%f %f", {P.X, P.Y});
        for (size_t S = 1; S < Chart.Series.size(); ++S) {
            const TChartSeries& Series = Chart.Series[S];
            if (Shown(Series) && I < Series.Points.size()) Text += Format(" %f", {Series.Points[I].Y});
        }
        Text += CrLf;
    }
    return Text;
}

}  // namespace tam32
