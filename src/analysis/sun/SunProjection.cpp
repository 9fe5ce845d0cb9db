#include "analysis/sun/SunProjection.h"

#include <climits>
#include <cmath>
#include <numbers>

#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/sun/SolarPosition.h"

namespace tam32 {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// A whole-numbered value that an int holds; False for NaN.
bool FitsInt(double Value) { return Value >= double(INT_MIN) && Value <= double(INT_MAX); }

// The altitude climbs by less than this many degrees a minute (0.2508 at most).
constexpr double kMaxClimbPerMinute = 0.26;

}  // namespace

TSunOnImage::TSunOnImage()
    : FCosNorth(std::cos(NorthForAnalysis * kDeg)), FSinNorth(std::sin(NorthForAnalysis * kDeg)) {}

bool TSunOnImage::Pixel(const TSunPlace& Sun, int& X, int& Y) const {
    const double Radius = ZenithToRadius(90.0 - Sun.Altitude);
    // The azimuth's cosine and sine, turned by the north angle: no angle is
    // worked out for the many minutes of a period.
    const double Length = std::sqrt(Sun.North * Sun.North + Sun.East * Sun.East);
    const double CosAzimuth = Length > 0.0 ? Sun.North / Length : 1.0;
    const double SinAzimuth = Length > 0.0 ? Sun.East / Length : 0.0;
    const double Cos = CosAzimuth * FCosNorth - SinAzimuth * FSinNorth;
    const double Sin = SinAzimuth * FCosNorth + CosAzimuth * FSinNorth;
    const double Column = std::trunc(CircleX + Radius * Cos + 0.5);
    const double Row = std::trunc(CircleY - Radius * Sin + 0.5);
    if (!FitsInt(Column) || !FitsInt(Row)) return false;
    X = int(Column);
    Y = int(Row);
    return true;
}

bool TSunMinutes::Up(int Hour, int Minute, TSunPlace& Sun) {
    const int Now = Hour * 60 + Minute;
    if (Now < FNightUntil) return false;
    Sun = FDay.Place(Hour, Minute, 0);
    if (Sun.Altitude >= 0.0) return true;
    // Minutes Now + K with K < -Altitude / kMaxClimbPerMinute are still night.
    if (Sun.Altitude >= -90.0) FNightUntil = Now + int(std::ceil(-Sun.Altitude / kMaxClimbPerMinute));
    return false;
}

}  // namespace tam32
