#include "analysis/SunTrack.h"

#include <algorithm>

#include "analysis/CalendarDays.h"
#include "analysis/EngineHost.h"
#include "analysis/GlobalSettings.h"
#include "analysis/SettingsCheck.h"
#include "analysis/SolarPosition.h"
#include "analysis/SunProjection.h"
#include "platform/Bitmap.h"
#include "platform/DelphiFormat.h"

namespace tam32 {

void UseSunTrackPen(TCanvas& Canvas) {
    Canvas.Pen.Mode = TPenMode::pmCopy;
    Canvas.Pen.Color = 0xFF0000;
}

void TSunTrackLine::Add(int X, int Y) {
    if (FStarted) {
        FCanvas.LineTo(X, Y);
        return;
    }
    FCanvas.MoveTo(X, Y);
    FStarted = true;
}

void ShowSolarDayProgress(int32_t Month, int32_t Day) {
    EngineHost().SetStatusText(Format("%4d/%2d/%2d", {int32_t(TargetYear), Month, Day}));
}

void DrawDaySunPath(TCanvas& Canvas, int32_t StepMin) {
    // A step below one minute would never leave the hour.
    const int32_t Step = std::max(StepMin, 1);
    TSunTrackLine Line(Canvas);
    TSunMinutes Sun;
    for (int32_t Hour = 0; Hour < 24; ++Hour)
        for (int32_t Minute = 0; Minute < 60; Minute += Step) {
            double Azimuth, Altitude;
            if (!Sun.Up(Hour, Minute, Azimuth, Altitude)) continue;
            int X, Y;
            if (SunToImageXY(X, Y, Altitude, SunDirectionOnImage(Azimuth))) Line.Add(X, Y);
        }
}

void DrawMonthSunPaths(TCanvas& Canvas, int32_t Month) {
    const int32_t Days = DaysInMonth(TargetYear, Month);
    for (int32_t Day = 1; Day <= Days; ++Day) {
        if (!SetSolarDate(TargetYear, Month, Day)) continue;
        DrawDaySunPath(Canvas, 1);
        ShowSolarDayProgress(Month, Day);
    }
}

void DrawYearSunPaths(TCanvas& Canvas) {
    for (int32_t Month = 1; Month <= 12; ++Month) DrawMonthSunPaths(Canvas, Month);
}

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
