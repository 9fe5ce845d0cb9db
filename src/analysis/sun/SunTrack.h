#pragma once
// The sun's path across the sky drawn onto a hemispherical photograph, so the
// user sees which parts of the canopy the sun passes behind: the path of one
// day, of every day of a month or of every day of a year, in the lasting
// blue of the sun tracks. The PAR estimate draws the same kind of line
// through the gaps.
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/PixelBits.h"
#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;
class TCanvas;

// The colour of the sun tracks: blue.
constexpr TColor kSunTrackColor = 0xFF0000;

// The canvas's pen for sun tracks: a one-pixel solid line in copy mode, kSunTrackColor.
void UseSunTrackPen(TCanvas& Canvas);

// Sun tracks drawn a day at a time in the sun-track pen (UseSunTrackPen):
// each day's line, joining its sun positions in turn, is found on its own
// (on any thread), and the days' lines are drawn together at the end, each
// pixel once, which with a copying pen is how lines drawn one after the
// other look.
class TSunTrackPixels {
public:
    // A day's line: its pixels within the picture and the rows they span,
    // whether it has a stretch at all (two positions or more), which draws on
    // the canvas even where no pixel shows, and its last position, where it
    // leaves the pen.
    struct TDayLine {
        std::vector<TPoint> Pixels;
        int Top = INT_MAX, Bottom = -1;
        bool Stretches = false;
        std::optional<TPoint> End;
    };

    // For a picture of Width x Height pixels.
    TSunTrackPixels(int Width, int Height);
    // The line through Points in turn, each stretch leaving out its last
    // pixel (LineTo's); safe on any thread.
    TDayLine DayLine(const std::vector<TPoint>& Points) const;
    // Marks a day line to be drawn.
    void Add(const TDayLine& Line);
    // Draws the marked pixels on Canvas, whose picture has the track's size,
    // in its pen when a line has been added, and leaves the pen where the
    // last line ended.
    void Draw(TCanvas& Canvas) const;
    // The marked pixels and where the last line ended, for a caller that
    // paints them with a picture of its own.
    const TPixelBits& Marked() const { return FMarked; }
    const std::optional<TPoint>& End() const { return FEnd; }

private:
    TPixelBits FMarked;
    int FTop = INT_MAX, FBottom = -1;  // the rows holding marked pixels
    bool FStretches = false;
    std::optional<TPoint> FEnd;
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
// The paths of the days of Month in TargetYear, the days found on the analysis threads.
void DrawMonthSunPaths(TCanvas& Canvas, int32_t Month);
void DrawYearSunPaths(TCanvas& Canvas);

}  // namespace tam32
