#include "analysis/sun/PARIntegration.h"

#include <optional>
#include <utility>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/CalendarDays.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/geometry/TargetPixels.h"
#include "analysis/sun/PARRadiationModel.h"
#include "analysis/sun/SolarPosition.h"
#include "analysis/sun/SunProjection.h"
#include "analysis/sun/SunTrack.h"

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

TPARIntegration::TPARIntegration(double IndirectSiteFactor, TChartData& Chart, TSunTrackPixels* Track)
    : FIndirectSiteFactor(IndirectSiteFactor), FChart(Chart), FTrack(Track) {
    if (AnalysisImage) FPicture = std::make_unique<const TPictureRows>();
}

TPARIntegration::~TPARIntegration() = default;

std::vector<TPARIntegration::TSunMinute> TPARIntegration::LocateDay(int32_t Year, int32_t Month, int32_t Day,
                                                                    int32_t FromHour, int32_t ToHour,
                                                                    bool SetTimes) const {
    TSunMinutes Sun{TSolarDay(Year, Month, Day)};
    std::vector<TSunMinute> Minutes;
    Minutes.reserve(kMinutesPerDay);
    for (int32_t Hour = FromHour; Hour <= ToHour; ++Hour)
        for (int32_t Minute = 0; Minute < 60; ++Minute) {
            if (SetTimes &&
                ((Hour == PARStartHour && Minute < PARStartMinute) || (Hour == PAREndHour && Minute > PAREndMinute)))
                continue;
            TSunMinute M{int16_t(Hour), int16_t(Minute), {}, false, false, FixedThreshold, 0, 0, 0.0};
            if (Sun.Up(Hour, Minute, M.Sun)) Minutes.push_back(M);
        }
    // Each step goes over all the minutes before the next, so that the work
    // of several minutes overlaps in the processor instead of each minute
    // waiting on its own chain of results.
    const TClearSkyBeam Beam(Year, Month, Day);
    for (TSunMinute& M : Minutes) M.Direct = Beam.ClearSkyDirectRadiation(M.Sun.Altitude);
    for (TSunMinute& M : Minutes) {
        // A sun pixel beyond the picture shows nothing of the sky: not a gap.
        M.Tested = FOnImage.Pixel(M.Sun, M.X, M.Y) && FPicture && FPicture->Contains(M.X, M.Y);
        // The minutes' pixels lie far apart in memory: fetching each while
        // the next positions are worked out saves waiting on every one.
        if (M.Tested) FPicture->Prefetch(M.X, M.Y);
    }
    for (TSunMinute& M : Minutes) M.Gap = M.Tested && IsTargetPixelAt(*FPicture, true, M.X, M.Y, M.Threshold);
    return Minutes;
}

TPARIntegration::TDaySum TPARIntegration::SumDay(int32_t Year, int32_t Month, int32_t Day) const {
    TDaySum Sum;
    std::vector<TPoint> Gaps;
    for (const TSunMinute& M : LocateDay(Year, Month, Day, 0, 23, false)) {
        if (M.Tested) Sum.Threshold = M.Threshold;
        AddMinute(M, Sum.Totals, Gaps);
    }
    // Each day's track starts afresh, so no line joins a sunset to the next sunrise.
    if (FTrack) Sum.Track = FTrack->DayLine(Gaps);
    return Sum;
}

void TPARIntegration::AddMinute(const TSunMinute& Sun, TPARTotals& Totals, std::vector<TPoint>& Gaps) const {
    const double Diffuse = Sun.Direct * DiffuseRatio;
    Totals.DirOpen += Sun.Direct * kMolesPerMinute;
    if (Sun.Gap) {
        Totals.DirUnder += Sun.Direct * kMolesPerMinute;
        Gaps.push_back({Sun.X, Sun.Y});
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
    const std::vector<TMonthDay> Dates = DatesOfMonths(TargetYear, First, Last, [this](int Month) {
        int32_t FirstDay, LastDay;
        MonthDays(Month, FirstDay, LastDay);
        return std::pair{FirstDay, LastDay};
    });
    FSummed.assign(13 * 32, std::nullopt);
    TBlockSlots<TDaySum> Sums;
    ForEachBlockOf(
        1, 0, int(Dates.size()) - 1,
        [&](const TRowBlock& Block) {
            const auto [Month, Day] = Dates[std::size_t(Block.First)];
            Sums[Block.Slot] = SumDay(TargetYear, Month, Day);
        },
        [&](const TRowBlock& Block) {
            const auto [Month, Day] = Dates[std::size_t(Block.First)];
            TDaySum& Sum = Sums[Block.Slot];
            // The lines are marked in the order of the days, which is the order of their sums.
            if (FTrack) FTrack->Add(Sum.Track);
            Sum.Track = {};
            FSummed[std::size_t(Month * 32 + Day)] = std::move(Sum);
        });
}

TPARIntegration::TDaySum TPARIntegration::TakeDay(int32_t Year, int32_t Month, int32_t Day) {
    const std::size_t Key = std::size_t(Month * 32 + Day);
    if (Year == TargetYear && Month >= 1 && Month <= 12 && Day >= 1 && Day <= 31 && Key < FSummed.size() &&
        FSummed[Key])
        return std::move(*FSummed[Key]);
    TDaySum Sum = SumDay(Year, Month, Day);
    if (FTrack) FTrack->Add(Sum.Track);
    return Sum;
}

TPARTotals TPARIntegration::IntegrateDayPAR() {
    const TDaySum Day = TakeDay(SolarYear, SolarMonth, SolarDay);
    // The threshold line leaves the threshold of the last pixel tested in force.
    if (Day.Threshold) FixedThreshold = *Day.Threshold;
    return Day.Totals;
}

void TPARIntegration::IntegrateTimesPAR(TPARTotals& Totals) {
    const bool SetTimes = PARPeriod == 5;
    const std::vector<TSunMinute> Minutes =
        LocateDay(SolarYear, SolarMonth, SolarDay, PARStartHour, PAREndHour, SetTimes);
    std::vector<TPoint> Gaps;
    // A chart point every minute of the set times, else every five minutes;
    // with the sun down the flux is nil.
    auto Up = Minutes.begin();
    for (int32_t Hour = PARStartHour; Hour <= PAREndHour; ++Hour)
        for (int32_t Minute = 0; Minute < 60; ++Minute) {
            if (SetTimes &&
                ((Hour == PARStartHour && Minute < PARStartMinute) || (Hour == PAREndHour && Minute > PAREndMinute)))
                continue;
            const bool SunUp = Up != Minutes.end() && Up->Hour == Hour && Up->Minute == Minute;
            if (SunUp) {
                if (Up->Tested) FixedThreshold = Up->Threshold;
                AddMinute(*Up, Totals, Gaps);
            }
            const double Direct = SunUp ? Up->Direct : 0.0;
            const bool Gap = SunUp && Up->Gap;
            if (SunUp) ++Up;
            if (!SetTimes && Minute % 5 != 0) continue;
            const double Diffuse = Direct * DiffuseRatio;
            const double Above = (Direct + Diffuse) * PARRatio;
            const double Below = ((Gap ? Direct : 0.0) + FIndirectSiteFactor * Diffuse) * PARRatio;
            AddChartPoints(TimeValue(Hour, Minute), Above, Below);
        }
    if (FTrack) FTrack->Add(FTrack->DayLine(Gaps));
}

TPARTotals TPARIntegration::IntegrateMonthPAR(int32_t Month) {
    int32_t First, Last;
    MonthDays(Month, First, Last);
    if (FSummed.empty()) LocateMonths(Month, Month);
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
    FSummed.clear();
    return Totals;
}

TPARTotals TPARIntegration::YearMeanPAR() {
    TPARTotals Totals = IntegrateYearPAR();
    Totals /= DaysInYear(TargetYear);
    return Totals;
}

}  // namespace tam32
