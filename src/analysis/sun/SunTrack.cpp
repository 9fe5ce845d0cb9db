#include "analysis/sun/SunTrack.h"

#include <algorithm>

#include "analysis/core/CalendarDays.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/sun/SolarPosition.h"
#include "analysis/sun/SunProjection.h"
#include "analysis/sun/SunSettingsCheck.h"
#include "platform/Bitmap.h"
#include "platform/DelphiFormat.h"
#include "platform/LineRaster.h"

namespace tam32 {
namespace {

// The sun's pixels of a date every Step minutes with the sun above the horizon.
std::vector<TPoint> DaySunPositions(const TSolarDay& Day, int32_t Step) {
    std::vector<TPoint> Points;
    TSunMinutes Minutes(Day);
    const TSunOnImage OnImage;
    for (int32_t Hour = 0; Hour < 24; ++Hour)
        for (int32_t Minute = 0; Minute < 60; Minute += Step) {
            TSunPlace Sun;
            int X, Y;
            if (Minutes.Up(Hour, Minute, Sun) && OnImage.Pixel(Sun, X, Y)) Points.push_back({X, Y});
        }
    return Points;
}

// A track for the picture of Canvas.
TSunTrackPixels TrackOf(const TCanvas& Canvas) {
    const QImage* Picture = Canvas.Target();
    return Picture ? TSunTrackPixels(Picture->width(), Picture->height()) : TSunTrackPixels(0, 0);
}

// The paths of the days of months First..Last of TargetYear, found side by side.
void DrawMonthsSunPaths(TCanvas& Canvas, int32_t First, int32_t Last) {
    const std::vector<TMonthDay> Dates = DatesOfMonths(TargetYear, First, Last);
    TSunTrackPixels Track = TrackOf(Canvas);
    TBlockSlots<TSunTrackPixels::TDayLine> Lines;
    ForEachBlockOf(
        1, 0, int(Dates.size()) - 1,
        [&](const TRowBlock& Block) {
            const auto [Month, Day] = Dates[std::size_t(Block.First)];
            Lines[Block.Slot] = Track.DayLine(DaySunPositions(TSolarDay(TargetYear, Month, Day), 1));
        },
        [&](const TRowBlock& Block) {
            const auto [Month, Day] = Dates[std::size_t(Block.First)];
            (void)SetSolarDate(TargetYear, Month, Day);
            Track.Add(Lines[Block.Slot]);
            ShowSolarDayProgress(Month, Day);
        });
    Track.Draw(Canvas);
}

}  // namespace

void UseSunTrackPen(TCanvas& Canvas) {
    Canvas.Pen.Mode = TPenMode::pmCopy;
    Canvas.Pen.Color = kSunTrackColor;
    Canvas.Pen.Width = 1;
    Canvas.Pen.Style = TPenStyle::psSolid;
}

TSunTrackPixels::TSunTrackPixels(int Width, int Height) : FMarked(Width, Height) {}

TSunTrackPixels::TDayLine TSunTrackPixels::DayLine(const std::vector<TPoint>& Points) const {
    const TRect Clip{0, 0, FMarked.Width(), FMarked.Height()};
    TDayLine Line;
    Line.Stretches = Points.size() >= 2;
    if (!Points.empty()) Line.End = Points.back();
    // Each stretch has a pixel a step, and no more within the picture than
    // its longer side: room for every pixel, taken before they are stored.
    const int64_t Longest = std::max(Clip.Right, Clip.Bottom);
    std::size_t Room = 0;
    for (std::size_t I = 1; I < Points.size(); ++I) {
        const int64_t Dx = std::abs(int64_t(Points[I].X) - Points[I - 1].X);
        const int64_t Dy = std::abs(int64_t(Points[I].Y) - Points[I - 1].Y);
        Room += std::size_t(std::min(std::max(Dx, Dy), Longest));
    }
    Line.Pixels.resize(Room);
    TPoint* Next = Line.Pixels.data();
    int Top = INT_MAX, Bottom = -1;
    for (std::size_t I = 1; I < Points.size(); ++I)
        ForEachLinePixel(Points[I - 1], Points[I], Clip, [&](int X, int Y, int64_t) {
            *Next++ = {X, Y};
            Top = std::min(Top, Y);
            Bottom = std::max(Bottom, Y);
        });
    Line.Pixels.resize(std::size_t(Next - Line.Pixels.data()));
    Line.Top = Top;
    Line.Bottom = Bottom;
    return Line;
}

void TSunTrackPixels::Add(const TDayLine& Line) {
    for (const TPoint& P : Line.Pixels) FMarked.Set(P.X, P.Y);
    FTop = std::min(FTop, Line.Top);
    FBottom = std::max(FBottom, Line.Bottom);
    FStretches = FStretches || Line.Stretches;
    if (Line.End) FEnd = Line.End;
}

void TSunTrackPixels::Draw(TCanvas& Canvas) const {
    if (FStretches)
        // Only the rows the lines pass through have pixels to draw.
        Canvas.MixPen(FMarked, [this](int First, int Last, const std::function<void(int, int)>& Work) {
            ForEachRowBlock(std::max(First, FTop), std::min(Last, FBottom),
                            [&Work](const TRowBlock& Block) { Work(Block.First, Block.Last); });
        });
    if (FEnd) Canvas.MoveTo(FEnd->X, FEnd->Y);
}

void ShowSolarDayProgress(int32_t Month, int32_t Day) {
    EngineHost().SetStatusText(Format("%4d/%2d/%2d", {int32_t(TargetYear), Month, Day}));
}

void DrawDaySunPath(TCanvas& Canvas, int32_t StepMin) {
    // A step below one minute would never leave the hour.
    TSunTrackPixels Track = TrackOf(Canvas);
    Track.Add(Track.DayLine(DaySunPositions(TSolarDay(), std::max(StepMin, 1))));
    Track.Draw(Canvas);
}

void DrawMonthSunPaths(TCanvas& Canvas, int32_t Month) { DrawMonthsSunPaths(Canvas, Month, Month); }

void DrawYearSunPaths(TCanvas& Canvas) { DrawMonthsSunPaths(Canvas, 1, 12); }

bool DrawSunTrackOnImage(TBitmap& Image) {
    if (CheckSunTrackSettings()) return true;
    SetSiteLatitude(LatitudeH, LatitudeM, LatitudeS);
    SetSiteLongitude(LongitudeH, LongitudeM, LongitudeS);
    TCanvas& Canvas = Image.Canvas();
    UseSunTrackPen(Canvas);
    switch (PARPeriod) {
        case 0:
            TargetDay = uint16_t(TargetDayInYear(TargetYear, TargetMonth, TargetDay));
            if (SetSolarDate(TargetYear, TargetMonth, TargetDay)) DrawDaySunPath(Canvas, 1);
            break;
        case 1: DrawMonthSunPaths(Canvas, TargetMonth); break;
        case 3: DrawYearSunPaths(Canvas); break;
        default: break;
    }
    return false;
}

}  // namespace tam32
