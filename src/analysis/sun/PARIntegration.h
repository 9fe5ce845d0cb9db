#pragma once
// The minute-by-minute sums of the PAR estimate over a kept, classified
// analysis image: for each minute of a day with the sun above the horizon,
// the clear-sky direct beam, counted below the canopy when the sun's pixel
// is a gap, and its diffuse share, counted below the canopy by the indirect
// site factor. Days, months and years add up their days; the chart receives
// the course over the period.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/core/ChartData.h"
#include "analysis/sun/SolarPosition.h"
#include "analysis/sun/SunProjection.h"
#include "analysis/sun/SunTrack.h"

namespace tam32 {

class TPictureRows;

// Totals in moles of photons per square metre.
struct TPARTotals {
    double DirOpen = 0.0, DirUnder = 0.0, DifOpen = 0.0, DifUnder = 0.0;

    TPARTotals& operator+=(const TPARTotals& Other);
    TPARTotals& operator*=(double Factor);
    TPARTotals& operator/=(double Divisor);
};

// Works on the stored site and the settings of the period (TargetYear,
// PARPeriod and the PAR start and end bounds). Days that do not exist are
// skipped. Series[0] of Chart gets the course above the canopy (red),
// Series[1] below it (blue), in the PAR fraction's units.
class TPARIntegration {
public:
    // Track: where the sun's path through the gaps of the days summed is
    // marked, a line per day; nullptr marks nothing.
    TPARIntegration(double IndirectSiteFactor, TChartData& Chart, TSunTrackPixels* Track);
    ~TPARIntegration();

    // The stored date, all day, without chart points.
    TPARTotals IntegrateDayPAR();
    // The stored date from PARStartHour:PARStartMinute to PAREndHour:PAREndMinute
    // (PARPeriod 5; whole hours otherwise), added to Totals; a chart point of
    // the flux every minute with PARPeriod 5, every five minutes otherwise.
    void IntegrateTimesPAR(TPARTotals& Totals);
    // The days of Month in TargetYear (from PARStartDay of PARStartMonth to
    // PAREndDay of PAREndMonth with PARPeriod 6), a chart point per day.
    TPARTotals IntegrateMonthPAR(int32_t Month);
    TPARTotals MonthMeanPAR(int32_t Month);
    // The months of TargetYear (PARStartMonth to PAREndMonth with PARPeriod 6).
    TPARTotals IntegrateYearPAR();
    TPARTotals YearMeanPAR();

private:
    // The sun of one minute with the sun up, located, tested and its beam
    // worked out before the minutes are summed.
    struct TSunMinute {
        int16_t Hour, Minute;
        TSunPlace Sun;
        bool Gap;           // the sun's pixel is a gap
        bool Tested;        // the pixel lies on the image and was tested
        int32_t Threshold;  // of the threshold line at the pixel, when tested
        int X, Y;
        double Direct;  // the direct flux
    };
    // What a whole date adds: its totals, the threshold of its last minute
    // tested, and its line through the gaps (when there is a track).
    struct TDaySum {
        TPARTotals Totals;
        std::optional<int32_t> Threshold;
        TSunTrackPixels::TDayLine Track;
    };
    // The minutes with the sun up on a date from FromHour:00 to ToHour:59
    // (within the PAR start and end minutes when SetTimes). Reaches neither
    // the engine host nor a result variable, so days are located on the
    // analysis threads.
    std::vector<TSunMinute> LocateDay(int32_t Year, int32_t Month, int32_t Day, int32_t FromHour, int32_t ToHour,
                                      bool SetTimes) const;
    // The whole date summed; safe on the analysis threads as LocateDay is.
    TDaySum SumDay(int32_t Year, int32_t Month, int32_t Day) const;
    // Adds one minute to Totals and, when the sun's pixel is a gap, the pixel to Gaps.
    void AddMinute(const TSunMinute& Sun, TPARTotals& Totals, std::vector<TPoint>& Gaps) const;
    // The days of Month that the period sums.
    void MonthDays(int32_t Month, int32_t& First, int32_t& Last) const;
    // Sums the days of the months First..Last of TargetYear that the period
    // sums, side by side on the analysis threads, and marks their lines.
    void LocateMonths(int32_t First, int32_t Last);
    // The whole day of a date: summed beforehand by LocateMonths, else now.
    TDaySum TakeDay(int32_t Year, int32_t Month, int32_t Day);
    void AddChartPoints(double X, double Above, double Below);

    double FIndirectSiteFactor;
    TChartData& FChart;
    TSunTrackPixels* const FTrack;                 // none without a track
    std::unique_ptr<const TPictureRows> FPicture;  // of the analysis image; none without one
    const TSunOnImage FOnImage;
    // Days summed ahead, by Month * 32 + Day of TargetYear.
    std::vector<std::optional<TDaySum>> FSummed;
};

}  // namespace tam32
