#include "analysis/SunProjection.h"

#include <climits>
#include <cmath>
#include <numbers>

#include "analysis/GlobalSettings.h"
#include "analysis/LensProjection.h"
#include "analysis/SolarPosition.h"

namespace tam32 {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// A whole-numbered value that an int holds; False for NaN.
bool FitsInt(double Value) { return Value >= double(INT_MIN) && Value <= double(INT_MAX); }

// The altitude climbs by less than this many degrees a minute (0.2508 at most).
constexpr double kMaxClimbPerMinute = 0.26;

}  // namespace

double SunDirectionOnImage(double Azimuth) {
    const double Direction = Azimuth + NorthForAnalysis;
    return Direction > 360.0 ? Direction - 360.0 : Direction;
}

bool SunToImageXY(int& X, int& Y, double Altitude, double Direction) {
    const double Radius = ZenithToRadius(90.0 - Altitude);
    const double Angle = Direction * kDeg;
    const double Column = std::trunc(CircleX + Radius * std::cos(Angle) + 0.5);
    const double Row = std::trunc(CircleY - Radius * std::sin(Angle) + 0.5);
    if (!FitsInt(Column) || !FitsInt(Row)) return false;
    X = int(Column);
    Y = int(Row);
    return true;
}

bool TSunMinutes::Up(int Hour, int Minute, double& Azimuth, double& Altitude) {
    const int Now = Hour * 60 + Minute;
    if (Now < FNightUntil) return false;
    FDay.SunPosition(Hour, Minute, 0, Azimuth, Altitude);
    if (Altitude >= 0.0) return true;
    // Minutes Now + K with K < -Altitude / kMaxClimbPerMinute are still night.
    if (Altitude >= -90.0) FNightUntil = Now + int(std::ceil(-Altitude / kMaxClimbPerMinute));
    return false;
}

}  // namespace tam32
