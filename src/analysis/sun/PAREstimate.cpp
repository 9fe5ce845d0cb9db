#include "analysis/sun/PAREstimate.h"

#include <optional>

#include "analysis/canopy/GapFraction.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/CalendarDays.h"
#include "analysis/core/ChartData.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/MaskPicture.h"
#include "analysis/sun/PARIntegration.h"
#include "analysis/sun/PARRadiationModel.h"
#include "analysis/sun/SolarPosition.h"
#include "analysis/sun/SunSettingsCheck.h"
#include "analysis/sun/SunTrack.h"
#include "platform/Bitmap.h"
#include "platform/DelphiFormat.h"
#include "platform/PixelBits.h"
#include "platform/VectorState.h"

namespace tam32 {
namespace {

// The settings that the run changes, put back however it ends: the sun's
// pixel is tested on the plain, unmasked classification.
class TPARRunSettings {
public:
    TPARRunSettings() : FAzimuthMaskUse(AzimuthMaskUse), FSlopeCorrection(SlopeCorrection) {
        AzimuthMaskUse = false;
        SlopeCorrection = false;
        KeepAnalysisImage = true;
    }
    ~TPARRunSettings() {
        KeepAnalysisImage = false;
        AzimuthMaskUse = FAzimuthMaskUse;
        SlopeCorrection = FSlopeCorrection;
    }
    TPARRunSettings(const TPARRunSettings&) = delete;
    TPARRunSettings& operator=(const TPARRunSettings&) = delete;

private:
    bool FAzimuthMaskUse, FSlopeCorrection;
};

TChartData PARChart() {
    TChartData Chart;
    Chart.Series[0].DateTimeX = Chart.Series[1].DateTimeX = true;
    Chart.Series[0].Title = GetDialogMessage(QStringLiteral("DMS50"));
    Chart.Series[1].Title = GetDialogMessage(QStringLiteral("DMS51"));
    Chart.Series[2].Active = false;
    Chart.Series[3].Active = false;
    Chart.BottomAxisTitle = GetDialogMessage(QStringLiteral("DMS52"));
    Chart.BottomAxisDateTimeFormat = QStringLiteral("mm/dd");
    Chart.LeftAxisTitle = QStringLiteral("PPFD(mol/m^2day)");
    return Chart;
}

// Periods 0 and 5 chart the flux over the hours of one day.
void UseDayAxes(TChartData& Chart) {
    Chart.BottomAxisTitle = GetDialogMessage(QStringLiteral("DMS58"));
    Chart.LeftAxisTitle = GetDialogMessage(QStringLiteral("DMS59"));
    Chart.BottomAxisDateTimeFormat = QStringLiteral("hh:nn");
}

// The last day of February that the target year has, for a set date beyond 28.
int32_t FebruaryDay(int32_t Month, int32_t Day) {
    return Month == 2 && Day > 28 ? (IsLeapYear(TargetYear) ? 29 : 28) : Day;
}

// The sums of the period on the kept analysis image, the sun's path through
// the gaps marked on Track when given.
TPARTotals IntegratePeriod(TChartData& Chart, TSunTrackPixels* Track) {
    TPARIntegration Integration(IndirectSiteFactorSums().IndirectSiteFactor(), Chart, Track);
    SetSiteLatitude(LatitudeH, LatitudeM, LatitudeS);
    SetSiteLongitude(LongitudeH, LongitudeM, LongitudeS);
    if (PARPeriod < 5) {
        PARStartHour = 0;
        PARStartMinute = 0;
        PAREndHour = 23;
        PAREndMinute = 59;
    }
    TPARTotals Totals;
    ClearUpperVectorState();  // the sun is computed for every minute of the period
    switch (PARPeriod) {
        case 0:
        case 5:
            TargetDay = uint16_t(TargetDayInYear(TargetYear, TargetMonth, TargetDay));
            Chart.Caption = GetDialogMessage(PARPeriod == 0 ? QStringLiteral("DMS53") : QStringLiteral("DMS56"));
            UseDayAxes(Chart);
            // A target date that does not exist has no sun to sum.
            if (SetSolarDate(TargetYear, TargetMonth, TargetDay)) Integration.IntegrateTimesPAR(Totals);
            break;
        case 1:
            Chart.Caption = GetDialogMessage(QStringLiteral("DMS54"));
            Totals = Integration.IntegrateMonthPAR(TargetMonth);
            break;
        case 2:
            Chart.Caption = GetDialogMessage(QStringLiteral("DMS54"));
            Totals = Integration.MonthMeanPAR(TargetMonth);
            break;
        case 3:
            Chart.Caption = GetDialogMessage(QStringLiteral("DMS55"));
            Totals = Integration.IntegrateYearPAR();
            break;
        case 4:
            Chart.Caption = GetDialogMessage(QStringLiteral("DMS55"));
            Totals = Integration.YearMeanPAR();
            break;
        case 6:
            PARStartDay = FebruaryDay(PARStartMonth, PARStartDay);
            PAREndDay = FebruaryDay(PAREndMonth, PAREndDay);
            Chart.Caption = GetDialogMessage(QStringLiteral("DMS57"));
            Totals = Integration.IntegrateYearPAR();
            break;
        default: break;
    }
    return Totals;
}

// The gap image with the sun's path over it in the sun-track pen, painted
// in one pass; the picture's canvas keeps the pen, where the path ended.
void PaintGapsAndTrack(TBitmap& Image, const TPixelBits& Gaps, const TSunTrackPixels& Track) {
    Image.SetImage(MaskPicture(Gaps, &Track.Marked(), kSunTrackColor));
    TCanvas& Canvas = Image.Canvas();
    UseSunTrackPen(Canvas);
    if (Track.End()) Canvas.MoveTo(Track.End()->X, Track.End()->Y);
}

// A site factor is the share of a total that comes through the canopy; with
// no light above the canopy (the sun never up) there is no share to print.
QString SiteFactorLine(const char* Label, double Under, double Open) {
    if (Open > 0.0) return Format("%s %8.3f", {Label, Under / Open});
    return Format("%s %8s", {Label, "---"});
}

void AppendPARReport(const TPARTotals& T) {
    TEngineHost& Host = EngineHost();
    Host.AppendResultLine(GetDialogMessage(QStringLiteral("DMS60")));
    Host.AppendResultLine(GetDialogMessage(QStringLiteral("DMS61")));
    Host.AppendResultLine(FormatDialogMessage(QStringLiteral("DMS62"), {T.DirOpen, T.DirUnder}));
    Host.AppendResultLine(FormatDialogMessage(QStringLiteral("DMS63"), {T.DifOpen, T.DifUnder}));
    Host.AppendResultLine(
        FormatDialogMessage(QStringLiteral("DMS64"), {T.DirOpen + T.DifOpen, T.DirUnder + T.DifUnder}));
    Host.AppendResultLine(SiteFactorLine("DFS", T.DirUnder, T.DirOpen));
    Host.AppendResultLine(SiteFactorLine("ISF", T.DifUnder, T.DifOpen));
    Host.AppendResultLine(SiteFactorLine("TSF", T.DirUnder + T.DifUnder, T.DirOpen + T.DifOpen));
}

}  // namespace

bool PAREstimate(const QString& FileName, TBitmap& Image, const TRect& Area) {
    if (CheckPARSettings()) return true;
    const TPARRunSettings Settings;
    TChartData Chart;
    TPARTotals Totals;
    // The gap image is painted with the sun's path once the analysis image is freed.
    TPixelBits Gaps;
    std::optional<TSunTrackPixels> Track;
    {
        // Puts back the classification settings and frees the kept image
        // before the chart is shown, and also when the gap fraction fails.
        TAnalysisRun Run;
        if (GapFractionAnalysisUnpainted(FileName, Image, Area, Gaps)) return true;
        KeepAnalysisImage = false;
        Chart = PARChart();
        if (DrawResults) Track.emplace(Gaps.Width(), Gaps.Height());
        Totals = IntegratePeriod(Chart, Track ? &*Track : nullptr);
    }
    if (Track) PaintGapsAndTrack(Image, Gaps, *Track);
    EngineHost().ShowChart(Chart);
    Totals *= PARRatio;
    ShowInstructionMessage(QStringLiteral("MSG10"));
    AppendPARReport(Totals);
    return false;
}

}  // namespace tam32
