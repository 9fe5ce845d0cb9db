#pragma once
// The sun's path across the sky drawn onto a hemispherical photograph, so the
// user sees which parts of the canopy the sun passes behind: the path of one
// day, of every day of a month or of every day of a year, in the lasting
// blue of the sun tracks. The PAR estimate draws the same kind of line
// through the gaps.
#include <cstdint>

namespace tam32 {

class TBitmap;
class TCanvas;

// The canvas's pen for sun tracks: copy mode, blue ($FF0000).
void UseSunTrackPen(TCanvas& Canvas);

// The line of one day's sun positions: the first position is only
// remembered, each later one is joined to the last by a straight line.
class TSunTrackLine {
public:
    explicit TSunTrackLine(TCanvas& Canvas) : FCanvas(Canvas) {}
    void Add(int X, int Y);

private:
    TCanvas& FCanvas;
    bool FStarted = false;
};

// "YYYY/MM/DD" of a day of TargetYear in the status panel, for loops over days.
void ShowSolarDayProgress(int32_t Month, int32_t Day);

// By PARPeriod: 0 the path of the target day, 1 every day of TargetMonth,
// 3 every day of TargetYear; other periods draw nothing. The site comes from
// the latitude and longitude settings. 29 February of a common year is drawn
// as 28 February and TargetDay changed so. Days that do not exist draw nothing.
// True, after "ERR22" and without drawing, when the lens or site settings
// make no sense.
bool DrawSunTrackOnImage(TBitmap& Image);
// The path of the stored solar date from its sun positions every StepMin
// minutes (at least 1) above the horizon.
void DrawDaySunPath(TCanvas& Canvas, int32_t StepMin);
// The paths of the days of Month in TargetYear.
void DrawMonthSunPaths(TCanvas& Canvas, int32_t Month);
void DrawYearSunPaths(TCanvas& Canvas);

}  // namespace tam32
