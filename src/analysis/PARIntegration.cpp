#include "analysis/PARIntegration.h"

#include <optional>

#include "analysis/AnalysisImage.h"
#include "analysis/CalendarDays.h"
#include "analysis/GlobalSettings.h"
#include "analysis/PARRadiationModel.h"
#include "analysis/SolarPosition.h"
#include "analysis/SunProjection.h"
#include "analysis/SunTrack.h"
#include "analysis/TargetPixels.h"

namespace tam32 {
namespace {

// A minute's flux (micromoles per square metre and second) in moles per square metre.
constexpr double kMolesPerMinute = 60.0 * 1e-6;

constexpr std::size_t kMinutesPerDay = 24 * 60;

constexpr TColor kAboveColor = 0x0000FF;  // red
constexpr TColor kBelowColor = 0xFF0000;  // blue

}  // namespace

TPARTotals& TPARTotals::operator+=(const TPARTotals& Other) {
    DirOpen += Other.DirOpen;
    DirUnder += Other.DirUnder;
    DifOpen += Other.DifOpen;
    DifUnder += Other.DifUnder;
    return *this;
}

TPARTotals& TPARTotals::operator*=(double Factor) {
    DirOpen *= Factor;
    DirUnder *= Factor;
    DifOpen *= Factor;
    DifUnder *= Factor;
    return *this;
}

TPARTotals& TPARTotals::operator/=(double Divisor) {
    DirOpen /= Divisor;
    DirUnder /= Divisor;
    DifOpen /= Divisor;
    DifUnder /= Divisor;
    return *this;
}

TPARIntegration::TPARIntegration(double IndirectSiteFactor, TChartData& Chart, TCanvas* Track)
    : FIndirectSiteFactor(IndirectSiteFactor), FChart(Chart), FTrack(Track) {
    if (AnalysisImage) {
        FImageWidth = AnalysisImage->Width();
        FImageHeight = AnalysisImage->Height();
    }
    FSun.reserve(kMinutesPerDay);
}

void TPARIntegration::LocateSun(TSunMinutes& Sun, int32_t Hour, int32_t Minute) {
    TSunMinute& M = FSun.emplace_back(TSunMinute{Hour, Minute, false, false, 0.0, 0, 0});
    double Azimuth;
    M.Up = Sun.Up(Hour, Minute, Azimuth, M.Altitude);
    if (!M.Up) return;
    M.OnPicture = SunToImageXY(M.X, M.Y, M.Altitude, SunDirectionOnImage(Azimuth));
    // The sun's pixels of a day lie on rows far apart in a large picture;
    // asking for each pixel's memory while the day's later minutes are still
    // being located saves waiting for it when the minutes are summed.
    if (M.OnPicture && M.X >= 0 && M.Y >= 0 && M.X < FImageWidth && M.Y < FImageHeight)
        __builtin_prefetch(AnalysisImage->GetScanLine(M.Y) + std::size_t(M.X) * 3);
}

TPARIntegration::TMinuteBeam TPARIntegration::MinuteStep(const TSunMinute& Sun, const TClearSkyBeam& Beam,
                                                         TSunTrackLine* Line, TPARTotals& Totals) const {
    if (!Sun.Up) return {0.0, false};
    // A sun pixel beyond the picture shows nothing of the sky: not a gap.
    const bool Gap = Sun.OnPicture && IsTargetPixel(true, Sun.X, Sun.Y);
    const double Direct = Beam.ClearSkyDirectRadiation(Sun.Altitude);
    const double Diffuse = Direct * DiffuseRatio;
    Totals.DirOpen += Direct * kMolesPerMinute;
    if (Gap) {
        Totals.DirUnder += Direct * kMolesPerMinute;
        if (Line) Line->Add(Sun.X, Sun.Y);
    }
    Totals.DifUnder += FIndirectSiteFactor * Diffuse * kMolesPerMinute;
    Totals.DifOpen += Diffuse * kMolesPerMinute;
    return {Direct, Gap};
}

void TPARIntegration::AddChartPoints(double X, double Above, double Below) {
    FChart.Series[0].Points.push_back({X, Above, kAboveColor});
    FChart.Series[1].Points.push_back({X, Below, kBelowColor});
}

TPARTotals TPARIntegration::IntegrateDayPAR() {
    TSunMinutes Sun;
    FSun.clear();
    for (int32_t Hour = 0; Hour < 24; ++Hour)
        for (int32_t Minute = 0; Minute < 60; ++Minute) LocateSun(Sun, Hour, Minute);
    const TClearSkyBeam Beam;
    // Each day's track starts afresh, so no line joins a sunset to the next sunrise.
    std::optional<TSunTrackLine> Line;
    if (FTrack) Line.emplace(*FTrack);
    TPARTotals Day;
    for (const TSunMinute& M : FSun) MinuteStep(M, Beam, Line ? &*Line : nullptr, Day);
    return Day;
}

void TPARIntegration::IntegrateTimesPAR(TPARTotals& Totals) {
    const bool SetTimes = PARPeriod == 5;
    TSunMinutes Sun;
    FSun.clear();
    for (int32_t Hour = PARStartHour; Hour <= PAREndHour; ++Hour)
        for (int32_t Minute = 0; Minute < 60; ++Minute)
            if (!SetTimes ||
                !((Hour == PARStartHour && Minute < PARStartMinute) || (Hour == PAREndHour && Minute > PAREndMinute)))
                LocateSun(Sun, Hour, Minute);
    const TClearSkyBeam Beam;
    std::optional<TSunTrackLine> Line;
    if (FTrack) Line.emplace(*FTrack);
    for (const TSunMinute& M : FSun) {
        const TMinuteBeam Step = MinuteStep(M, Beam, Line ? &*Line : nullptr, Totals);
        if (!SetTimes && M.Minute % 5 != 0) continue;
        const double Diffuse = Step.Direct * DiffuseRatio;
        const double Above = (Step.Direct + Diffuse) * PARRatio;
        const double Below = ((Step.Gap ? Step.Direct : 0.0) + FIndirectSiteFactor * Diffuse) * PARRatio;
        AddChartPoints(TimeValue(M.Hour, M.Minute), Above, Below);
    }
}

TPARTotals TPARIntegration::IntegrateMonthPAR(int32_t Month) {
    int32_t First = 1, Last = DaysInMonth(TargetYear, Month);
    if (PARPeriod == 6) {
        if (Month == PARStartMonth) First = PARStartDay;
        if (Month == PAREndMonth) Last = PAREndDay;
    }
    TPARTotals Totals;
    for (int32_t Day = First; Day <= Last; ++Day) {
        if (!SetSolarDate(TargetYear, Month, Day)) continue;
        const TPARTotals OfDay = IntegrateDayPAR();
        AddChartPoints(DateValue(TargetYear, Month, Day), (OfDay.DirOpen + OfDay.DifOpen) * PARRatio,
                       (OfDay.DirUnder + OfDay.DifUnder) * PARRatio);
        Totals += OfDay;
        ShowSolarDayProgress(Month, Day);
    }
    return Totals;
}

TPARTotals TPARIntegration::MonthMeanPAR(int32_t Month) {
    TPARTotals Totals = IntegrateMonthPAR(Month);
    if (const int Days = DaysInMonth(TargetYear, Month); Days > 0) Totals /= Days;
    return Totals;
}

TPARTotals TPARIntegration::IntegrateYearPAR() {
    TPARTotals Totals;
    for (int32_t Month = 1; Month <= 12; ++Month)
        if (PARPeriod != 6 || (PARStartMonth <= Month && Month <= PAREndMonth)) Totals += IntegrateMonthPAR(Month);
    return Totals;
}

TPARTotals TPARIntegration::YearMeanPAR() {
    TPARTotals Totals = IntegrateYearPAR();
    Totals /= DaysInYear(TargetYear);
    return Totals;
}

}  // namespace tam32
