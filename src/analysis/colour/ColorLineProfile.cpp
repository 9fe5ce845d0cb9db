#include <cmath>
#include <numbers>

#include "analysis/colour/ColourAnalyses.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "platform/Rounding.h"

namespace tam32 {

bool ColorLineProfile(const QString& FileName, TPoint Start, TPoint End) {
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    TChartData Chart;
    {
        TAnalysisRun Run;
        if (Start.X == End.X && Start.Y == End.Y) return true;
        const double Dx = End.X - Start.X, Dy = End.Y - Start.Y;
        // One sample beyond the drawn end: a line of length 3 gives samples 0..4.
        const int64_t Length = Round(std::sqrt(Dx * Dx + Dy * Dy) + 0.5);
        const double Theta = DirectionAngle(Start.X, Start.Y, End.X, End.Y) * std::numbers::pi / 180.0;
        const double Cos = std::cos(Theta), Sin = std::sin(Theta);

        const char* const Titles[] = {"Red", "Green", "Blue"};
        const TColor Colours[] = {0x0000FF, 0x008000, 0xFF0000};
        for (int C = 0; C < 3; ++C) {
            TChartSeries& Series = Chart.Series[std::size_t(C)];
            Series.Title = QLatin1String(Titles[C]);
            Series.DateTimeX = false;
            Series.Color = Colours[C];
        }
        Chart.Series[3].Active = false;
        Chart.BottomAxisTitle = QStringLiteral("Distance(×Pixel width)");
        Chart.LeftAxisTitle = QStringLiteral("Digital No");

        const int W = AnalysisImage->Width(), H = AnalysisImage->Height();
        for (int64_t I = 0; I <= Length; ++I) {
            // The screen's y grows downwards.
            const int64_t X = Start.X + Trunc(I * Cos), Y = Start.Y - Trunc(I * Sin);
            if (X < 0 || X >= W || Y < 0 || Y >= H) continue;
            const uint8_t* P = AnalysisImage->ReadScanLine(int(Y)) + X * 3;
            for (int C = 0; C < 3; ++C)
                Chart.Series[std::size_t(C)].Points.push_back({double(I), double(P[2 - C]), Colours[C]});
        }
    }
    Chart.Caption = GetDialogMessage(QStringLiteral("DMS34"));
    EngineHost().ShowChart(Chart);
    return false;
}

}  // namespace tam32
