#pragma once
// The minute-by-minute sums of the PAR estimate over a kept, classified
// analysis image: for each minute of a day with the sun above the horizon,
// the clear-sky direct beam, counted below the canopy when the sun's pixel
// is a gap, and its diffuse share, counted below the canopy by the indirect
// site factor. Days, months and years add up their days; the chart receives
// the course over the period.
#include <cstdint>
#include <vector>

#include "analysis/ChartData.h"

namespace tam32 {

class TCanvas;
class TClearSkyBeam;
class TSunMinutes;
class TSunTrackLine;

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
    // Track: the canvas into which the sun's path through the gaps is drawn,
    // a line per day; nullptr draws nothing.
    TPARIntegration(double IndirectSiteFactor, TChartData& Chart, TCanvas* Track);

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
    // The sun of one minute of the stored date, located before the minutes
    // are summed.
    struct TSunMinute {
        int32_t Hour, Minute;
        bool Up;         // at or above the horizon
        bool OnPicture;  // X and Y hold its pixel, which may still lie outside the image
        double Altitude;
        int X, Y;
    };
    struct TMinuteBeam {
        double Direct;  // the direct flux; 0 with the sun below the horizon
        bool Gap;       // the sun's pixel is a gap
    };
    // The sun at Hour:Minute, added to FSun.
    void LocateSun(TSunMinutes& Sun, int32_t Hour, int32_t Minute);
    // Adds one located minute to Totals; Line, when given, is drawn on to the
    // sun's pixel when it is a gap.
    TMinuteBeam MinuteStep(const TSunMinute& Sun, const TClearSkyBeam& Beam, TSunTrackLine* Line,
                           TPARTotals& Totals) const;
    void AddChartPoints(double X, double Above, double Below);

    double FIndirectSiteFactor;
    TChartData& FChart;
    TCanvas* FTrack;
    int FImageWidth = 0, FImageHeight = 0;  // of the analysis image; 0 without one
    std::vector<TSunMinute> FSun;           // the minutes of the day being summed
};

}  // namespace tam32
