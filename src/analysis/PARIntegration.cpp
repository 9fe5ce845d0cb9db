#include "analysis/PARIntegration.h"

#include <QDate>
#include <optional>

#include "analysis/AnalysisImage.h"
#include "analysis/CalendarDays.h"
#include "analysis/GlobalSettings.h"
#include "analysis/PARRadiationModel.h"
#include "analysis/PictureRows.h"
#include "analysis/RowBlocks.h"
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
    if (AnalysisImage) FPicture = std::make_unique<const TPictureRows>();
}

TPARIntegration::~TPARIntegration() = default;

TPARIntegration::TSunDay TPARIntegration::LocateDay(int32_t Year, int32_t Month, int32_t Day, int32_t FromHour,
                                                    int32_t ToHour, bool SetTimes) const {
    TSunMinutes Sun{TSolarDay(Year, Month, Day)};
    const TClearSkyBeam Beam(Year, Month, Day);
    TSunDay Minutes;
    Minutes.reserve(kMinutesPerDay);
    for (int32_t Hour = FromHour; Hour <= ToHour; ++Hour)
        for (int32_t Minute = 0; Minute < 60; ++Minute) {
            if (SetTimes &&
                ((Hour == PARStartHour && Minute < PARStartMinute) || (Hour == PAREndHour && Minute > PAREndMinute)))
                continue;
            double Azimuth, Altitude = 0.0;
            if (!Sun.Up(Hour, Minute, Azimuth, Altitude)) continue;
            TSunMinute M{int16_t(Hour), int16_t(Minute), false, false, FixedThreshold, 0, 0, 0.0};
            // A sun pixel beyond the picture shows nothing of the sky: not a gap.
            M.Tested = SunToImageXY(M.X, M.Y, Altitude, SunDirectionOnImage(Azimuth)) && FPicture &&
                       FPicture->Contains(M.X, M.Y);
            M.Gap = M.Tested && IsTargetPixelAt(*FPicture, true, M.X, M.Y, M.Threshold);
            M.Direct = Beam.ClearSkyDirectRadiation(Altitude);
            Minutes.push_back(M);
        }
    return Minutes;
}

void TPARIntegration::AddMinute(const TSunMinute& Sun, TPARTotals& Totals, TSunTrackLine* Line) const {
    // The threshold line leaves the threshold of the last pixel tested in force.
    if (Sun.Tested) FixedThreshold = Sun.Threshold;
    const double Diffuse = Sun.Direct * DiffuseRatio;
    Totals.DirOpen += Sun.Direct * kMolesPerMinute;
    if (Sun.Gap) {
        Totals.DirUnder += Sun.Direct * kMolesPerMinute;
        if (Line) Line->Add(Sun.X, Sun.Y);
    }
    Totals.DifUnder += FIndirectSiteFactor * Diffuse * kMolesPerMinute;
    Totals.DifOpen += Diffuse * kMolesPerMinute;
}

void TPARIntegration::AddChartPoints(double X, double Above, double Below) {
    FChart.Series[0].Points.push_back({X, Above, kAboveColor});
    FChart.Series[1].Points.push_back({X, Below, kBelowColor});
}

void TPARIntegration::MonthDays(int32_t Month, int32_t& First, int32_t& Last) const {
    First = 1;
    Last = DaysInMonth(TargetYear, Month);
    if (PARPeriod == 6) {
        if (Month == PARStartMonth) First = PARStartDay;
        if (Month == PAREndMonth) Last = PAREndDay;
    }
}

void TPARIntegration::LocateMonths(int32_t First, int32_t Last) {
    std::vector<std::pair<int32_t, int32_t>> Dates;
    for (int32_t Month = std::max(First, 1); Month <= std::min(Last, 12); ++Month) {
        int32_t FirstDay, LastDay;
        MonthDays(Month, FirstDay, LastDay);
        for (int32_t Day = std::max(FirstDay, 1); Day <= std::min(LastDay, 31); ++Day)
            if (TargetYear >= 1 && TargetYear <= 9999 && QDate::isValid(TargetYear, Month, Day))
                Dates.emplace_back(Month, Day);
    }
    FLocated.resize(13 * 32);
    ForEachBlockOf(1, 0, int(Dates.size()) - 1, [&](const TRowBlock& Block) {
        for (int I = Block.First; I <= Block.Last; ++I) {
            const auto [Month, Day] = Dates[std::size_t(I)];
            FLocated[std::size_t(Month * 32 + Day)] = LocateDay(TargetYear, Month, Day, 0, 23, false);
        }
    });
}

TPARIntegration::TSunDay TPARIntegration::TakeDay(int32_t Year, int32_t Month, int32_t Day) {
    const std::size_t Key = std::size_t(Month * 32 + Day);
    if (Year == TargetYear && Month >= 1 && Month <= 12 && Day >= 1 && Day <= 31 && Key < FLocated.size() &&
        !FLocated[Key].empty())
        return std::move(FLocated[Key]);
    return LocateDay(Year, Month, Day, 0, 23, false);
}

TPARTotals TPARIntegration::IntegrateDayPAR() {
    const TSunDay Minutes = TakeDay(SolarYear, SolarMonth, SolarDay);
    // Each day's track starts afresh, so no line joins a sunset to the next sunrise.
    std::optional<TSunTrackLine> Line;
    if (FTrack) Line.emplace(*FTrack);
    TPARTotals Day;
    for (const TSunMinute& M : Minutes) AddMinute(M, Day, Line ? &*Line : nullptr);
    return Day;
}

void TPARIntegration::IntegrateTimesPAR(TPARTotals& Totals) {
    const bool SetTimes = PARPeriod == 5;
    const TSunDay Minutes = LocateDay(SolarYear, SolarMonth, SolarDay, PARStartHour, PAREndHour, SetTimes);
    std::optional<TSunTrackLine> Line;
    if (FTrack) Line.emplace(*FTrack);
    // A chart point every minute of the set times, else every five minutes;
    // with the sun down the flux is nil.
    auto Up = Minutes.begin();
    for (int32_t Hour = PARStartHour; Hour <= PAREndHour; ++Hour)
        for (int32_t Minute = 0; Minute < 60; ++Minute) {
            if (SetTimes &&
                ((Hour == PARStartHour && Minute < PARStartMinute) || (Hour == PAREndHour && Minute > PAREndMinute)))
                continue;
            const bool SunUp = Up != Minutes.end() && Up->Hour == Hour && Up->Minute == Minute;
            if (SunUp) AddMinute(*Up, Totals, Line ? &*Line : nullptr);
            const double Direct = SunUp ? Up->Direct : 0.0;
            const bool Gap = SunUp && Up->Gap;
            if (SunUp) ++Up;
            if (!SetTimes && Minute % 5 != 0) continue;
            const double Diffuse = Direct * DiffuseRatio;
            const double Above = (Direct + Diffuse) * PARRatio;
            const double Below = ((Gap ? Direct : 0.0) + FIndirectSiteFactor * Diffuse) * PARRatio;
            AddChartPoints(TimeValue(Hour, Minute), Above, Below);
        }
}

TPARTotals TPARIntegration::IntegrateMonthPAR(int32_t Month) {
    int32_t First, Last;
    MonthDays(Month, First, Last);
    if (FLocated.empty()) LocateMonths(Month, Month);
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
    // The whole period's suns at once: the threads then share out every day.
    if (PARPeriod == 6)
        LocateMonths(PARStartMonth, PAREndMonth);
    else
        LocateMonths(1, 12);
    TPARTotals Totals;
    for (int32_t Month = 1; Month <= 12; ++Month)
        if (PARPeriod != 6 || (PARStartMonth <= Month && Month <= PAREndMonth)) Totals += IntegrateMonthPAR(Month);
    FLocated.clear();
    return Totals;
}

TPARTotals TPARIntegration::YearMeanPAR() {
    TPARTotals Totals = IntegrateYearPAR();
    Totals /= DaysInYear(TargetYear);
    return Totals;
}

}  // namespace tam32
